#include "xml/number_text.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <type_traits>

namespace kxt::xml {
namespace {

// The C runtime reads narrow text: every character a number can hold is
// ASCII, so the text is cut at its first non-ASCII or zero code unit (UTF-16)
// or byte (UTF-8).
template <class Char>
std::string NarrowNumberText(std::basic_string_view<Char> text) {
    std::string narrow;
    narrow.reserve(text.size() < 64 ? text.size() : 64);
    for (const Char c : text) {
        const auto unit = static_cast<std::make_unsigned_t<Char>>(c);
        if (unit == 0 || unit >= 0x80) break;
        narrow.push_back(static_cast<char>(unit));
    }
    return narrow;
}

double Scanned(const std::string& narrow, double fallback) {
    // When strtod reads the whole text, sscanf reads the same characters to
    // the same value; only the rest (a partial exponent such as "1e", a
    // suffix) needs sscanf's own rules.
    const char* const text = narrow.c_str();
    char* end = nullptr;
    const double whole = std::strtod(text, &end);
    if (end != text && *end == '\0') return whole;
    double value = fallback;
    if (std::sscanf(text, "%lf", &value) != 1) return fallback;
    return value;
}

}  // namespace

double LeadingNumberOrZero(std::u16string_view text) {
    return std::strtod(NarrowNumberText(text).c_str(), nullptr);
}

double LeadingNumberOrZero(const Attribute& attribute) {
    const std::string_view raw = attribute.RawText();
    if (raw.find('&') != std::string_view::npos) return LeadingNumberOrZero(attribute.Text());
    return std::strtod(NarrowNumberText(raw).c_str(), nullptr);
}

double ScannedNumberOr(std::u16string_view text, double fallback) {
    return Scanned(NarrowNumberText(text), fallback);
}

double ScannedNumberOr(const Attribute& attribute, double fallback) {
    const std::string_view raw = attribute.RawText();
    if (raw.find('&') != std::string_view::npos) return ScannedNumberOr(attribute.Text(), fallback);
    return Scanned(NarrowNumberText(raw), fallback);
}

}  // namespace kxt::xml
