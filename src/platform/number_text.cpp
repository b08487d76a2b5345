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

// How many leading units are ASCII and not zero: a number's text ends there.
template <class Char>
std::size_t NumberTextLength(std::basic_string_view<Char> text) {
    std::size_t length = 0;
    for (const Char c : text) {
        const auto unit = static_cast<std::make_unsigned_t<Char>>(c);
        if (unit == 0 || unit >= 0x80) break;
        ++length;
    }
    return length;
}

// The number's text as bytes: copied out of UTF-16, a view into UTF-8.
std::string NarrowNumberText(std::u16string_view text) {
    std::string narrow(NumberTextLength(text), '\0');
    for (std::size_t i = 0; i < narrow.size(); ++i) narrow[i] = static_cast<char>(text[i]);
    return narrow;
}
std::string_view NarrowNumberText(std::string_view utf8) { return utf8.substr(0, NumberTextLength(utf8)); }

// A plain decimal number and nothing else, read to the value strtod gives
// when the locale's decimal separator is the period or the text has none.
// False for white space, '+', hexadecimal and values out of range.
bool ReadWholeDecimal(std::string_view narrow, double& value) {
    if (narrow.empty()) return false;
    const char first = narrow.front();
    if (!(first >= '0' && first <= '9') && first != '-' && first != '.') return false;
    const char* const end = narrow.data() + narrow.size();
    const auto [stop, error] = std::from_chars(narrow.data(), end, value);
    if (error != std::errc() || stop != end) return false;
    return narrow.find('.') == std::string_view::npos || DecimalSeparatorIsPeriod();
}

// The C library's readers need a terminated copy; whole decimals, the common
// case, are read without one.
double Leading(std::string_view narrow) {
    double value;
    if (ReadWholeDecimal(narrow, value)) return value;
    return std::strtod(std::string(narrow).c_str(), nullptr);
}

double Scanned(std::string_view narrow, double fallback) {
    // When strtod reads the whole text, sscanf reads the same characters to
    // the same value; only the rest (a partial exponent such as "1e", a
    // suffix) needs sscanf's own rules.
    double value;
    if (ReadWholeDecimal(narrow, value)) return value;
    const std::string terminated(narrow);
    const char* const text = terminated.c_str();
    char* end = nullptr;
    const double whole = std::strtod(text, &end);
    if (end != text && *end == '\0') return whole;
    value = fallback;
    if (std::sscanf(text, "%lf", &value) != 1) return fallback;
    return value;
}

}  // namespace

double LeadingNumberOrZero(std::u16string_view text) { return Leading(NarrowNumberText(text)); }
double LeadingNumberOrZero(std::string_view utf8) { return Leading(NarrowNumberText(utf8)); }

double ScannedNumberOr(std::u16string_view text, double fallback) { return Scanned(NarrowNumberText(text), fallback); }
double ScannedNumberOr(std::string_view utf8, double fallback) { return Scanned(NarrowNumberText(utf8), fallback); }

double LeadingDecimalOrZero(std::u16string_view amount) {
    const std::string narrow = NarrowNumberText(amount);
    double value = 0.0;
    const auto [end, error] = std::from_chars(narrow.data(), narrow.data() + narrow.size(), value);
    if (error == std::errc::result_out_of_range) return std::strtod(narrow.c_str(), nullptr);
    return error == std::errc() ? value : 0.0;
}

}  // namespace kxt::platform
