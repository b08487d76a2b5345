#include "xml/dom_text.h"

#include <cstdint>
#include <cstring>

#include "platform/text.h"

namespace kxt::xml::detail {

namespace {

// Whether the n bytes at p are all ASCII characters that XML allows (tab,
// line feed, carriage return, 0x20..0x7F), the common case. A loop of fixed
// length without branches, which compilers turn into vector compares.
template <std::size_t n>
bool IsPlainAscii(const char* p) noexcept {
    unsigned char outside = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const auto c = static_cast<unsigned char>(p[i]);
        outside |= (static_cast<unsigned char>(c - 0x20) >= 0x60) & (c != '\n') & (c != '\r') & (c != '\t');
    }
    return outside == 0;
}

// Each byte of an invalid sequence becomes one U+FFFD.
char32_t DecodeUtf8(const char*& p, const char* end) noexcept {
    return platform::DecodeUtf8(p, end, platform::InvalidUtf8::kPerByte);
}

}  // namespace

std::size_t FirstNonXmlChar(std::string_view text) noexcept {
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p < end) {
        // Blocks of 64 bytes, then of 8: decoding is for the rest.
        if (end - p >= 64 && IsPlainAscii<64>(p)) {
            p += 64;
            continue;
        }
        if (end - p >= 8 && IsPlainAscii<8>(p)) {
            p += 8;
            continue;
        }
        const char* const at = p;
        const char32_t c = DecodeUtf8(p, end);
        if (c == platform::kNotUtf8 || !IsXmlChar(c)) return static_cast<std::size_t>(at - text.data());
    }
    return text.size();
}

Reference ParseReference(std::string_view text) noexcept {
    if (text.size() < 3 || text[0] != '&') return {};
    if (text[1] != '#') {
        static constexpr struct { std::string_view name; char32_t character; } kEntities[] = {
            {"lt;", U'<'}, {"gt;", U'>'}, {"amp;", U'&'}, {"quot;", U'"'}, {"apos;", U'\''}};
        const std::string_view rest = text.substr(1);
        for (const auto& entity : kEntities) {
            if (rest.starts_with(entity.name)) return {entity.name.size() + 1, entity.character};
        }
        return {};
    }
    const bool hex = text[2] == 'x';
    std::size_t i = hex ? 3 : 2;
    const std::size_t digits_start = i;
    char32_t value = 0;
    for (; i < text.size() && text[i] != ';'; ++i) {
        const char ch = text[i];
        const int digit = platform::HexDigitValue(static_cast<unsigned char>(ch));
        if (digit < 0 || (!hex && digit > 9)) return {};
        value = value * (hex ? 16 : 10) + static_cast<char32_t>(digit);
        if (value > 0x10FFFF) return {};
    }
    if (i == digits_start || i == text.size() || !IsXmlChar(value)) return {};
    return {i + 1, value};
}

std::u16string ToUtf16(std::string_view utf8, bool resolve_references) {
    std::u16string out;
    AssignUtf16(utf8, resolve_references, out);
    return out;
}

void AssignUtf16(std::string_view utf8, bool resolve_references, std::u16string& out) {
    // Every character takes at most as many UTF-16 units as it took bytes.
    out.resize(utf8.size());
    char16_t* o = out.data();
    const char* p = utf8.data();
    const char* const end = p + utf8.size();
    while (p < end) {
        // Eight ASCII bytes without a reference are widened as they stand.
        if (end - p >= 8) {
            std::uint64_t w;
            std::memcpy(&w, p, sizeof w);
            if ((w & 0x8080808080808080ull) == 0 && BytesEqual(w, '&') == 0) {
                for (int i = 0; i < 8; ++i) o[i] = static_cast<unsigned char>(p[i]);
                o += 8;
                p += 8;
                continue;
            }
        }
        const auto b = static_cast<unsigned char>(*p);
        if (b < 0x80 && b != '&') {
            *o++ = b;
            ++p;
            continue;
        }
        char32_t c;
        if (b == '&') {
            const Reference ref = resolve_references ? ParseReference({p, static_cast<std::size_t>(end - p)})
                                                     : Reference{};
            c = ref.length ? ref.character : U'&';
            p += ref.length ? ref.length : 1;
        } else {
            c = DecodeUtf8(p, end);
            if (c == platform::kNotUtf8) c = 0xFFFD;
        }
        o += platform::EncodeUtf16(c, o);
    }
    out.resize(static_cast<std::size_t>(o - out.data()));
}

}  // namespace kxt::xml::detail
