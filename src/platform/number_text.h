// Leading numbers of texts, read by the rule of each kind of text. Only ASCII
// can belong to a number: a text is read up to its first non-ASCII or zero
// unit (UTF-16) or byte (UTF-8).
#pragma once

#include <optional>
#include <string_view>

namespace kxt::platform {

// The longest leading part that reads as a floating-point number (leading
// white space skipped), as strtod reads it in the current locale; 0.0 when
// there is none.
double LeadingNumberOrZero(std::u16string_view text);
double LeadingNumberOrZero(std::string_view utf8);

// The same; nothing when no number reads.
std::optional<double> LeadingNumber(std::u16string_view text);
std::optional<double> LeadingNumber(std::string_view utf8);

// The number that sscanf("%lf") scans, in the current locale; `fallback`
// when nothing scans.
double ScannedNumberOr(std::u16string_view text, double fallback);
double ScannedNumberOr(std::string_view utf8, double fallback);

// The same; nothing when nothing scans.
std::optional<double> ScannedNumber(std::u16string_view text);
std::optional<double> ScannedNumber(std::string_view utf8);

}  // namespace kxt::platform
