// Text helpers: the one case-insensitive comparison of the module, lower-casing
// and the conversions between UTF-8, UTF-16 and the ANSI code page.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kxt::platform {

namespace detail {
// FoldCase of a code unit above ASCII: the table lookup.
char16_t FoldCaseAboveAscii(char16_t c) noexcept;
}  // namespace detail

// Unicode simple lower-case mapping of one UTF-16 code unit (BMP); code units
// outside any mapping (surrogates included) map to themselves. ASCII is an
// inline branch, so that hashing and comparing loops make no call for it;
// the rest is a table lookup.
inline char16_t FoldCase(char16_t c) noexcept {
    if (c < 0x80) return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c | 0x20) : c;
    return detail::FoldCaseAboveAscii(c);
}

namespace detail {
// EqualsNoCase of two strings of the same length.
bool EqualsNoCaseSameLength(std::u16string_view a, std::u16string_view b) noexcept;
}  // namespace detail

// Equal without regard to case: code unit by code unit after FoldCase. As
// FoldCase maps one code unit to one, strings of different lengths never
// match; that test is inline, so a walk over many names rarely makes a call.
inline bool EqualsNoCase(std::u16string_view a, std::u16string_view b) noexcept {
    return a.size() == b.size() && detail::EqualsNoCaseSameLength(a, b);
}

// Three-way comparison of the folded code units (<0, 0, >0), shorter first on a tie.
int CompareNoCase(std::u16string_view a, std::u16string_view b) noexcept;

// The string with FoldCase applied to every code unit ("ÖL" -> "öl").
std::u16string ToLower(std::u16string_view s);
void ToLowerInPlace(std::u16string& s) noexcept;

// UTF-8 -> UTF-16; each invalid or truncated sequence becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);
// UTF-16 -> UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view utf16);

// The platform's ANSI code page -> UTF-16. POSIX: the multibyte charset of the
// current C locale (LC_CTYPE); Windows: CP_ACP. Invalid bytes become U+FFFD.
std::u16string AnsiToUtf16(std::string_view bytes);

// Converts bytes in the named character encoding ("windows-1252",
// "iso-8859-15", "shift_jis", "UTF-16LE", ...) to UTF-8. nullopt when the
// encoding is unknown here or the bytes are invalid or truncated in it.
// POSIX: iconv; Windows: the code page of that name. Throws std::bad_alloc
// when memory is exhausted.
std::optional<std::string> TranscodeToUtf8(std::string_view bytes, const std::string& encoding);

// Whether the current C locale writes the decimal separator as a period, so
// that locale-free number parsing reads what strtod would.
bool DecimalSeparatorIsPeriod() noexcept;

}  // namespace kxt::platform
