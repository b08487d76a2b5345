#include "platform/number_text.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <system_error>
#include <type_traits>

#include "platform/text.h"

namespace kxt::platform {
namespace {

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

// A plain decimal number and nothing else, read to the value strtod gives
// when the locale's decimal separator is the period or the text has none.
// False for white space, '+', hexadecimal and values out of range.
bool ReadWholeDecimal(const std::string& narrow, double& value) {
    if (narrow.empty()) return false;
    const char first = narrow.front();
    if (!(first >= '0' && first <= '9') && first != '-' && first != '.') return false;
    const char* const end = narrow.data() + narrow.size();
    const auto [stop, error] = std::from_chars(narrow.data(), end, value);
    if (error != std::errc() || stop != end) return false;
    return narrow.find('.') == std::string::npos || DecimalSeparatorIsPeriod();
}

std::optional<double> Leading(const std::string& narrow) {
    double value;
    if (ReadWholeDecimal(narrow, value)) return value;
    const char* const text = narrow.c_str();
    char* end = nullptr;
    value = std::strtod(text, &end);
    if (end == text) return std::nullopt;
    return value;
}

std::optional<double> Scanned(const std::string& narrow) {
    // When strtod reads the whole text, sscanf reads the same characters to
    // the same value; only the rest (a partial exponent such as "1e", a
    // suffix) needs sscanf's own rules.
    double value;
    if (ReadWholeDecimal(narrow, value)) return value;
    const char* const text = narrow.c_str();
    char* end = nullptr;
    const double whole = std::strtod(text, &end);
    if (end != text && *end == '\0') return whole;
    if (std::sscanf(text, "%lf", &value) != 1) return std::nullopt;
    return value;
}

}  // namespace

std::optional<double> LeadingNumber(std::u16string_view text) { return Leading(NarrowNumberText(text)); }
std::optional<double> LeadingNumber(std::string_view utf8) { return Leading(NarrowNumberText(utf8)); }
double LeadingNumberOrZero(std::u16string_view text) { return LeadingNumber(text).value_or(0.0); }
double LeadingNumberOrZero(std::string_view utf8) { return LeadingNumber(utf8).value_or(0.0); }

std::optional<double> ScannedNumber(std::u16string_view text) { return Scanned(NarrowNumberText(text)); }
std::optional<double> ScannedNumber(std::string_view utf8) { return Scanned(NarrowNumberText(utf8)); }
double ScannedNumberOr(std::u16string_view text, double fallback) { return ScannedNumber(text).value_or(fallback); }
double ScannedNumberOr(std::string_view utf8, double fallback) { return ScannedNumber(utf8).value_or(fallback); }

}  // namespace kxt::platform
