#include "platform/number_text.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstddef>
#include <cstdint>
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

bool IsDigit(char c) noexcept { return c >= '0' && c <= '9'; }

// The digits from p on, read onto digits; p ends at the first other character.
void ReadDigits(const char*& p, const char* end, std::uint64_t& digits) noexcept {
    for (; p != end && IsDigit(*p); ++p) digits = digits * 10 + static_cast<std::uint64_t>(*p - '0');
}

// The powers of ten that a double holds exactly.
constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                        1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kMaxExactPower = 22;
constexpr std::uint64_t kMaxExactInteger = std::uint64_t{1} << 53;
constexpr std::ptrdiff_t kMaxDigits = 19;          // 10^19 - 1 fits in 64 bits
constexpr std::ptrdiff_t kMaxExponentDigits = 4;  // beyond, the power is far outside the exact range

// The value of a whole text [-]digits[.digits][(e|E)[+|-]digits] whose digits
// (at most 19, leading zeros included) make an integer that a double holds
// exactly and whose power of ten lies within 10^+-22: both factors are exact,
// so one multiplication or division rounds to the value that from_chars gives
// (under the default rounding mode). False (value untouched) for any other
// text, which from_chars then reads.
bool ReadExactDecimal(std::string_view text, double& value, bool& has_point) noexcept {
    const char* p = text.data();
    const char* const end = p + text.size();
    const bool negative = p != end && *p == '-';
    if (negative) ++p;
    std::uint64_t digits = 0;
    const char* const whole = p;
    ReadDigits(p, end, digits);
    std::ptrdiff_t count = p - whole;
    int scale = 0;  // digits after the point
    has_point = p != end && *p == '.';
    if (has_point) {
        const char* const fraction = ++p;
        ReadDigits(p, end, digits);
        scale = static_cast<int>(p - fraction);
        count += p - fraction;
    }
    if (count == 0 || count > kMaxDigits) return false;
    int exponent = 0;
    if (p != end && (*p == 'e' || *p == 'E')) {
        ++p;
        const bool negative_exponent = p != end && *p == '-';
        if (p != end && (*p == '-' || *p == '+')) ++p;
        // More digits than kMaxExponentDigits stay unread: the text is then not whole.
        const char* const first = p;
        std::uint64_t magnitude = 0;
        ReadDigits(p, first + std::min(end - first, kMaxExponentDigits), magnitude);
        if (p == first) return false;
        exponent = negative_exponent ? -static_cast<int>(magnitude) : static_cast<int>(magnitude);
    }
    if (p != end) return false;
    const int power = exponent - scale;
    double magnitude = 0.0;
    if (digits != 0) {
        if (digits > kMaxExactInteger || power < -kMaxExactPower || power > kMaxExactPower) return false;
        const auto exact = static_cast<double>(digits);
        magnitude = power >= 0 ? exact * kExactPowersOfTen[power] : exact / kExactPowersOfTen[-power];
    }
    value = negative ? -magnitude : magnitude;
    return true;
}

// A plain decimal number and nothing else, read to the value strtod gives
// when the locale's decimal separator is the period or the text has none.
// False (value untouched) for white space, '+', hexadecimal and values out of range.
bool ReadWholeDecimal(std::string_view narrow, double& value) {
    if (narrow.empty()) return false;
    const char first = narrow.front();
    if (!IsDigit(first) && first != '-' && first != '.') return false;
    double read = 0.0;
    bool has_point = false;
    if (!ReadExactDecimal(narrow, read, has_point)) {
        const char* const end = narrow.data() + narrow.size();
        const auto [stop, error] = std::from_chars(narrow.data(), end, read);
        if (error != std::errc() || stop != end) return false;
        has_point = narrow.find('.') != std::string_view::npos;
    }
    if (has_point && !DecimalSeparatorIsPeriod()) return false;
    value = read;
    return true;
}

// The leading number into value by strtod; false (value untouched) when
// none reads. The C library's readers need a terminated copy: ReadText reads
// whole decimals, the common case, without one before it asks them.
bool ReadLeading(std::string_view narrow, double& value) {
    const std::string terminated(narrow);
    const char* const text = terminated.c_str();
    char* end = nullptr;
    const double read = std::strtod(text, &end);
    if (end == text) return false;
    value = read;
    return true;
}

// The scanned number into value; false (value untouched) when nothing scans.
bool ReadScanned(std::string_view narrow, double& value) {
    // When strtod reads the whole text, sscanf reads the same characters to
    // the same value; only the rest (a partial exponent such as "1e", a
    // suffix) needs sscanf's own rules.
    const std::string terminated(narrow);
    const char* const text = terminated.c_str();
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

using Reader = bool (*)(std::string_view, double&);

// The number's text read as a whole plain decimal, else by read (ReadLeading
// or ReadScanned), which gives a whole decimal the same value. A UTF-8 whole
// decimal, all ASCII, is its own number's text: it is read without the
// narrowing walk.
bool ReadText(Reader read, std::u16string_view text, double& value) {
    const std::string narrow = NarrowNumberText(text);
    return ReadWholeDecimal(narrow, value) || read(narrow, value);
}
bool ReadText(Reader read, std::string_view utf8, double& value) {
    return ReadWholeDecimal(utf8, value) || read(NarrowNumberText(utf8), value);
}

template <class Text>
std::optional<double> Optional(Reader read, Text text) {
    double value = 0.0;
    if (!ReadText(read, text, value)) return std::nullopt;
    return value;
}

}  // namespace

std::optional<double> LeadingNumber(std::u16string_view text) { return Optional(ReadLeading, text); }
std::optional<double> LeadingNumber(std::string_view utf8) { return Optional(ReadLeading, utf8); }
double LeadingNumberOrZero(std::u16string_view text) {
    double value = 0.0;
    ReadText(ReadLeading, text, value);
    return value;
}
double LeadingNumberOrZero(std::string_view utf8) {
    double value = 0.0;
    ReadText(ReadLeading, utf8, value);
    return value;
}

std::optional<double> ScannedNumber(std::u16string_view text) { return Optional(ReadScanned, text); }
std::optional<double> ScannedNumber(std::string_view utf8) { return Optional(ReadScanned, utf8); }
double ScannedNumberOr(std::u16string_view text, double fallback) {
    ReadText(ReadScanned, text, fallback);
    return fallback;
}
double ScannedNumberOr(std::string_view utf8, double fallback) {
    ReadText(ReadScanned, utf8, fallback);
    return fallback;
}

}  // namespace kxt::platform
