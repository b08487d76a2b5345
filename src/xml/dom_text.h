// Character-level helpers of the DOM: the characters XML 1.0
// allows, references, and the conversion of stored text to UTF-16.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kxt::xml::detail {

// The flag bit (0x80) of every byte of the word w that equals c; no flag
// below the first such byte (a borrow only carries upwards), so the lowest
// flag marks the first match and none marks none.
constexpr std::uint64_t BytesEqual(std::uint64_t w, char c) noexcept {
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    const std::uint64_t v = w ^ (kOnes * static_cast<unsigned char>(c));
    return (v - kOnes) & ~v & (kOnes << 7);
}

// True for the characters XML 1.0 allows in a document.
constexpr bool IsXmlChar(char32_t c) noexcept {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

// The offset of the first byte of text that does not begin a valid UTF-8
// sequence of a character XML 1.0 allows; text.size() when there is none.
// has_colon: whether the text before that offset holds a ':'.
std::size_t FirstNonXmlChar(std::string_view text, bool& has_colon) noexcept;

// A reference at the start of text ("&lt;", "&#65;", "&#x41;"): its length in
// bytes and the character it stands for. Length 0 when text does not start
// with one of the five predefined entities or a character reference to a
// character XML allows.
struct Reference {
    std::size_t length = 0;
    char32_t character = 0;
};
Reference ParseReference(std::string_view text) noexcept;

// UTF-8 -> UTF-16 in one pass; with resolve_references, references become
// the characters they stand for. Invalid sequences become U+FFFD.
std::u16string ToUtf16(std::string_view utf8, bool resolve_references);
// The same, replacing the content of out and keeping its capacity.
void AssignUtf16(std::string_view utf8, bool resolve_references, std::u16string& out);

}  // namespace kxt::xml::detail
