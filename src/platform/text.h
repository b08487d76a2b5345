// Text helpers: the one case-insensitive comparison of the module, lower-casing
// and the conversions between UTF-8, UTF-16 and the ANSI code page.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
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

// Four UTF-16 code units in a word, one per 16-bit lane: loaded as they lie
// in memory, or packed (fewer than four: the rest zero) with the first in the
// low bits. Lanes are only compared or folded one by one, so their order
// does not matter.
inline std::uint64_t LoadFourUnits(const char16_t* units) noexcept {
    std::uint64_t word;
    std::memcpy(&word, units, sizeof word);
    return word;
}
inline std::uint64_t PackUnits(const char16_t* units, std::size_t count) noexcept {
    std::uint64_t word = 0;
    for (std::size_t i = 0; i < count; ++i) word |= std::uint64_t{units[i]} << (16 * i);
    return word;
}

// FoldCase of each lane of a word of four code units. When all four are
// ASCII, the upper-case letters of every lane are found at once: a lane's
// bit 7 after adding 0x3F says c >= 'A', after adding 0x25 that c > 'Z'
// (neither sum leaves its lane), and such a letter gains 0x20.
inline std::uint64_t FoldFourUnits(std::uint64_t word) noexcept {
    constexpr std::uint64_t kLanes = 0x0001000100010001ull;
    if ((word & (kLanes * 0xFF80)) == 0) {
        const std::uint64_t atLeastA = word + kLanes * 0x3F;
        const std::uint64_t beyondZ = word + kLanes * 0x25;
        return word | ((atLeastA & ~beyondZ & (kLanes * 0x80)) >> 2);
    }
    std::uint64_t folded = 0;
    for (int i = 0; i < 4; ++i) {
        folded |= std::uint64_t{FoldCase(static_cast<char16_t>(word >> (16 * i)))} << (16 * i);
    }
    return folded;
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

// Whether s begins, or ends, with affix without regard to case.
inline bool StartsWithNoCase(std::u16string_view s, std::u16string_view affix) noexcept {
    return s.size() >= affix.size() && EqualsNoCase(s.substr(0, affix.size()), affix);
}
inline bool EndsWithNoCase(std::u16string_view s, std::u16string_view affix) noexcept {
    return s.size() >= affix.size() && EqualsNoCase(s.substr(s.size() - affix.size()), affix);
}

// Three-way comparison of the folded code units (<0, 0, >0), shorter first on a tie.
int CompareNoCase(std::u16string_view a, std::u16string_view b) noexcept;

// The string with FoldCase applied to every code unit ("ÖL" -> "öl").
std::u16string ToLower(std::u16string_view s);
void ToLowerInPlace(std::u16string& s) noexcept;

// What a UTF-8 decoder skips of an invalid or truncated sequence before it
// decodes on: its maximal subpart (the longest prefix of a valid sequence,
// or the one byte that starts none), or its first byte only.
enum class InvalidUtf8 { kPerMaximalSubpart, kPerByte };

// Returned by DecodeUtf8 for an invalid sequence; no code point has this value.
inline constexpr char32_t kNotUtf8 = 0xFFFFFFFFu;

// Decodes the character at p (REQUIRES: p < end) and moves p past it. An
// invalid, overlong, surrogate, out-of-range or truncated sequence gives
// kNotUtf8 and moves p past the bytes that `policy` replaces.
char32_t DecodeUtf8(const char*& p, const char* end, InvalidUtf8 policy) noexcept;

// The two halves of a UTF-16 surrogate pair.
constexpr bool IsHighSurrogate(char16_t c) noexcept { return c >= 0xD800 && c <= 0xDBFF; }
constexpr bool IsLowSurrogate(char16_t c) noexcept { return c >= 0xDC00 && c <= 0xDFFF; }

// Writes cp (a code point up to U+10FFFF) as UTF-16 at out: one unit, or a
// surrogate pair above U+FFFF. Returns the number of units written.
inline std::size_t EncodeUtf16(char32_t cp, char16_t* out) noexcept {
    if (cp < 0x10000) {
        out[0] = static_cast<char16_t>(cp);
        return 1;
    }
    cp -= 0x10000;
    out[0] = static_cast<char16_t>(0xD800 + (cp >> 10));
    out[1] = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    return 2;
}

// UTF-8 -> UTF-16; invalid sequences become U+FFFD as `policy` says.
std::u16string Utf8ToUtf16(std::string_view utf8, InvalidUtf8 policy = InvalidUtf8::kPerMaximalSubpart);
// UTF-16 -> UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view utf16);
// UTF-16LE bytes -> UTF-16 code units as they stand; an odd last byte is dropped.
std::u16string Utf16LeToUtf16(std::string_view bytes);

// White space of the C locale's isspace: space, \t, \n, \v, \f and \r.
constexpr bool IsCSpace(char32_t c) noexcept { return c == U' ' || (c >= U'\t' && c <= U'\r'); }
// XML white space (production S): space, \t, \r and \n.
constexpr bool IsXmlSpace(char32_t c) noexcept { return c == U' ' || c == U'\t' || c == U'\r' || c == U'\n'; }
// C white space, the no-break space U+00A0 and the ideographic space U+3000.
constexpr bool IsCOrWideSpace(char32_t c) noexcept { return IsCSpace(c) || c == 0xA0 || c == 0x3000; }

// The text without the white space (by isSpace) at both ends.
std::u16string_view Trim(std::u16string_view text, bool (*isSpace)(char32_t) = IsCSpace) noexcept;
// The text without the white space (by isSpace) at its end.
std::u16string_view TrimEnd(std::u16string_view text, bool (*isSpace)(char32_t) = IsCSpace) noexcept;

// The value of a hexadecimal digit (0-9, a-f, A-F); -1 for any other character.
constexpr int HexDigitValue(char32_t c) noexcept {
    if (c >= U'0' && c <= U'9') return static_cast<int>(c - U'0');
    if (c >= U'a' && c <= U'f') return static_cast<int>(c - U'a' + 10);
    if (c >= U'A' && c <= U'F') return static_cast<int>(c - U'A' + 10);
    return -1;
}

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
