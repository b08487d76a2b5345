// Numbers in attribute texts, read as the C runtime reads them (the current
// locale's decimal separator).
#pragma once

#include <string_view>

namespace kxt::xml {

// The longest leading part of `text` that reads as a floating-point number
// (leading white space skipped), as strtod reads it; 0.0 when there is none.
double LeadingNumberOrZero(std::u16string_view text);

// The number that sscanf("%lf") scans from `text`; `fallback` when nothing scans.
double ScannedNumberOr(std::u16string_view text, double fallback);

}  // namespace kxt::xml
