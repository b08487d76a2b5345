// Leading numbers of texts, read by the rule of each kind of text. Only ASCII
// can belong to a number: a text is read up to its first non-ASCII or zero
// unit (UTF-16) or byte (UTF-8).
#pragma once

#include <string_view>

namespace kxt::platform {

// The longest leading part that reads as a floating-point number (leading
// white space skipped), as strtod reads it in the current locale; 0.0 when
// there is none.
double LeadingNumberOrZero(std::u16string_view text);
double LeadingNumberOrZero(std::string_view utf8);

// The number that sscanf("%lf") scans, in the current locale; `fallback`
// when nothing scans.
double ScannedNumberOr(std::u16string_view text, double fallback);
double ScannedNumberOr(std::string_view utf8, double fallback);

// The leading decimal number of an amount, the period its decimal separator
// whatever the locale: reading stops at the first unit that cannot continue
// it (a comma included); 0.0 when nothing reads. A number too large or too
// small for a double saturates or underflows as strtod's does.
// REQUIRES: every unit of amount is a digit, '.' or ','.
double LeadingDecimalOrZero(std::u16string_view amount);

}  // namespace kxt::platform
