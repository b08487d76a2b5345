#include "xml/number_text.h"

#include <string_view>

namespace kxt::xml {

namespace {

// The attribute's text as the number readers take it: the stored UTF-8 unless
// a reference must be resolved first.
template <class Read>
auto ReadAttribute(const Attribute& attribute, Read read) {
    const std::string_view raw = attribute.RawText();
    if (raw.find('&') != std::string_view::npos) return read(attribute.Text());
    return read(raw);
}

}  // namespace

double LeadingNumberOrZero(const Attribute& attribute) {
    return ReadAttribute(attribute, [](const auto& text) { return LeadingNumberOrZero(text); });
}

double ScannedNumberOr(const Attribute& attribute, double fallback) {
    return ReadAttribute(attribute, [fallback](const auto& text) { return ScannedNumberOr(text, fallback); });
}

std::optional<double> LeadingNumber(const Attribute& attribute) {
    return ReadAttribute(attribute, [](const auto& text) { return LeadingNumber(text); });
}

std::optional<double> ScannedNumber(const Attribute& attribute) {
    return ReadAttribute(attribute, [](const auto& text) { return ScannedNumber(text); });
}

}  // namespace kxt::xml
