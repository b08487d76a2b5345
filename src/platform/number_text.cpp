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
// False (value untouched) for white space, '+', hexadecimal and values out of range.
bool ReadWholeDecimal(const std::string& narrow, double& value) {
    if (narrow.empty()) return false;
    const char first = narrow.front();
    if (!(first >= '0' && first <= '9') && first != '-' && first != '.') return false;
    const char* const end = narrow.data() + narrow.size();
    double read = 0.0;
    const auto [stop, error] = std::from_chars(narrow.data(), end, read);
    if (error != std::errc() || stop != end) return false;
    if (narrow.find('.') != std::string::npos && !DecimalSeparatorIsPeriod()) return false;
    value = read;
    return true;
}

// The leading number into value; false (value untouched) when none reads.
bool ReadLeading(const std::string& narrow, double& value) {
    if (ReadWholeDecimal(narrow, value)) return true;
    const char* const text = narrow.c_str();
    char* end = nullptr;
    const double read = std::strtod(text, &end);
    if (end == text) return false;
    value = read;
    return true;
}

// The scanned number into value; false (value untouched) when nothing scans.
bool ReadScanned(const std::string& narrow, double& value) {
    // When strtod reads the whole text, sscanf reads the same characters to
    // the same value; only the rest (a partial exponent such as "1e", a
    // suffix) needs sscanf's own rules.
    if (ReadWholeDecimal(narrow, value)) return true;
    const char* const text = narrow.c_str();
    char* end = nullptr;
    const double whole = std::strtod(text, &end);
    if (end != text && *end == '\0') {
        value = whole;
        return true;
    }
    double scanned = 0.0;
    if (std::sscanf(text, "%lf", &scanned) != 1) return false;
    value = scanned;
    return true;
}

template <class Text>
std::optional<double> Optional(bool (*read)(const std::string&, double&), Text text) {
    double value = 0.0;
    if (!read(NarrowNumberText(text), value)) return std::nullopt;
    return value;
}

}  // namespace

std::optional<double> LeadingNumber(std::u16string_view text) { return Optional(ReadLeading, text); }
std::optional<double> LeadingNumber(std::string_view utf8) { return Optional(ReadLeading, utf8); }
double LeadingNumberOrZero(std::u16string_view text) {
    double value = 0.0;
    ReadLeading(NarrowNumberText(text), value);
    return value;
}
double LeadingNumberOrZero(std::string_view utf8) {
    double value = 0.0;
    ReadLeading(NarrowNumberText(utf8), value);
    return value;
}

std::optional<double> ScannedNumber(std::u16string_view text) { return Optional(ReadScanned, text); }
std::optional<double> ScannedNumber(std::string_view utf8) { return Optional(ReadScanned, utf8); }
double ScannedNumberOr(std::u16string_view text, double fallback) {
    ReadScanned(NarrowNumberText(text), fallback);
    return fallback;
}
double ScannedNumberOr(std::string_view utf8, double fallback) {
    ReadScanned(NarrowNumberText(utf8), fallback);
    return fallback;
}

}  // namespace kxt::platform
