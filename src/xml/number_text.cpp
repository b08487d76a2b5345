#include "xml/number_text.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <system_error>
#include <type_traits>

#include "platform/text.h"

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

// The common case, a plain decimal number and nothing else, read without the
// C runtime's locale lookups: from_chars reads such a text to the same,
// correctly rounded value as strtod, when the locale's decimal separator is
// the period or the text has none. It reads neither white space, nor '+',
// nor hexadecimal, nor a value out of range: those take the runtime's path.
bool ReadWholeDecimal(const std::string& narrow, double& value) {
    if (narrow.empty()) return false;
    const char first = narrow.front();
    if (!(first >= '0' && first <= '9') && first != '-' && first != '.') return false;
    const char* const end = narrow.data() + narrow.size();
    const auto [stop, error] = std::from_chars(narrow.data(), end, value);
    if (error != std::errc() || stop != end) return false;
    return narrow.find('.') == std::string::npos || platform::DecimalSeparatorIsPeriod();
}

double Leading(const std::string& narrow) {
    double value;
    if (ReadWholeDecimal(narrow, value)) return value;
    return std::strtod(narrow.c_str(), nullptr);
}

double Scanned(const std::string& narrow, double fallback) {
    // When strtod reads the whole text, sscanf reads the same characters to
    // the same value; only the rest (a partial exponent such as "1e", a
    // suffix) needs sscanf's own rules.
    double value;
    if (ReadWholeDecimal(narrow, value)) return value;
    const char* const text = narrow.c_str();
    char* end = nullptr;
    const double whole = std::strtod(text, &end);
    if (end != text && *end == '\0') return whole;
    value = fallback;
    if (std::sscanf(text, "%lf", &value) != 1) return fallback;
    return value;
}

}  // namespace

double LeadingNumberOrZero(std::u16string_view text) {
    return Leading(NarrowNumberText(text));
}

double LeadingNumberOrZero(const Attribute& attribute) {
    const std::string_view raw = attribute.RawText();
    if (raw.find('&') != std::string_view::npos) return LeadingNumberOrZero(attribute.Text());
    return Leading(NarrowNumberText(raw));
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
