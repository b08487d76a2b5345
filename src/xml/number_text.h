// Numbers in attribute texts, read as the C runtime reads them (the current
// locale's decimal separator).
#pragma once

#include <string_view>

#include "xml/dom.h"

namespace kxt::xml {

// The longest leading part of `text` that reads as a floating-point number
// (leading white space skipped), as strtod reads it; 0.0 when there is none.
double LeadingNumberOrZero(std::u16string_view text);

// The number that sscanf("%lf") scans from `text`; `fallback` when nothing scans.
double ScannedNumberOr(std::u16string_view text, double fallback);

// The same of an attribute's text. Only a value with a character or entity
// reference is converted to UTF-16 first: otherwise the stored UTF-8 has the
// same ASCII characters up to its first other one, where a number's text
// ends anyway.
double LeadingNumberOrZero(const Attribute& attribute);
double ScannedNumberOr(const Attribute& attribute, double fallback);

}  // namespace kxt::xml
