#include "xml/number_text.h"

#include <string_view>

namespace kxt::xml {

std::optional<double> LeadingNumber(const Attribute& attribute) {
    const std::string_view raw = attribute.RawText();
    if (raw.find('&') != std::string_view::npos) return LeadingNumber(attribute.Text());
    return LeadingNumber(raw);
}

std::optional<double> ScannedNumber(const Attribute& attribute) {
    const std::string_view raw = attribute.RawText();
    if (raw.find('&') != std::string_view::npos) return ScannedNumber(attribute.Text());
    return ScannedNumber(raw);
}

}  // namespace kxt::xml
