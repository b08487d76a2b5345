#include "xml/number_text.h"

#include <string_view>

namespace kxt::xml {

double LeadingNumberOrZero(const Attribute& attribute) {
    const std::string_view raw = attribute.RawText();
    if (raw.find('&') != std::string_view::npos) return LeadingNumberOrZero(attribute.Text());
    return LeadingNumberOrZero(raw);
}

double ScannedNumberOr(const Attribute& attribute, double fallback) {
    const std::string_view raw = attribute.RawText();
    if (raw.find('&') != std::string_view::npos) return ScannedNumberOr(attribute.Text(), fallback);
    return ScannedNumberOr(raw, fallback);
}

}  // namespace kxt::xml
