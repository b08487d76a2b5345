// Numbers in attribute texts, read by the rules of platform/number_text.
#pragma once

#include "platform/number_text.h"
#include "xml/dom.h"

namespace kxt::xml {

using platform::LeadingNumber;
using platform::LeadingNumberOrZero;
using platform::ScannedNumber;
using platform::ScannedNumberOr;

// The same of an attribute's text. Only a value with a character or entity
// reference is converted to UTF-16 first: otherwise the stored UTF-8 has the
// same ASCII characters up to its first other one, where a number's text
// ends anyway.
double LeadingNumberOrZero(const Attribute& attribute);
double ScannedNumberOr(const Attribute& attribute, double fallback);
// The same; nothing when no number reads.
std::optional<double> LeadingNumber(const Attribute& attribute);
std::optional<double> ScannedNumber(const Attribute& attribute);

}  // namespace kxt::xml
