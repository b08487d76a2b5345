#include "xml/dom_text.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/text.h"

namespace kxt::xml::detail {

namespace {

// Whether the n bytes at p are all ASCII characters that XML allows (tab,
// line feed, carriage return, 0x20..0x7F), the common case; with kColon, and
// none is ':'. As a signed byte, every non-ASCII byte is negative: one
// comparison finds it and the control characters. With SSE2, sixteen bytes
// per comparison; otherwise a loop of fixed length without branches, which
// compilers vectorise as they can.
template <std::size_t n, bool kColon>
bool IsPlainAscii(const char* p) noexcept {
#if defined(__SSE2__)
    static_assert(n % 16 == 0);
    const __m128i space = _mm_set1_epi8(0x20);
    const __m128i tab = _mm_set1_epi8('\t');
    const __m128i line_feed = _mm_set1_epi8('\n');
    const __m128i carriage_return = _mm_set1_epi8('\r');
    const __m128i colon = _mm_set1_epi8(':');
    __m128i outside = _mm_setzero_si128();
    for (std::size_t i = 0; i < n; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        const __m128i allowed_control = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, tab), _mm_cmpeq_epi8(v, line_feed)),
                                                     _mm_cmpeq_epi8(v, carriage_return));
        outside = _mm_or_si128(outside, _mm_andnot_si128(allowed_control, _mm_cmplt_epi8(v, space)));
        if constexpr (kColon) outside = _mm_or_si128(outside, _mm_cmpeq_epi8(v, colon));
    }
    return _mm_movemask_epi8(outside) == 0;
#else
    unsigned char outside = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const auto c = static_cast<unsigned char>(p[i]);
        outside |= (static_cast<signed char>(c) < 0x20) & (c != '\n') & (c != '\r') & (c != '\t');
        if constexpr (kColon) outside |= c == ':';
    }
    return outside == 0;
#endif
}

// The flag bit (0x80) of each byte of w that is not a plain character: not
// ASCII, or an ASCII control character other than tab, line feed and carriage
// return. Exact for every byte: no carry crosses a byte. With kColon, ':'
// bytes are flagged too (the lowest flag still marks the first such byte).
template <bool kColon>
constexpr std::uint64_t NotPlainBytes(std::uint64_t w) noexcept {
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    constexpr std::uint64_t kHigh = kOnes << 7;
    constexpr std::uint64_t kLow = ~kHigh;
    const std::uint64_t high = w & kHigh;
    const std::uint64_t ascii = w & kLow;
    // An ASCII byte plus 0x60 reaches 0x80 exactly when it is 0x20 or more.
    std::uint64_t control = ~(ascii + kOnes * 0x60) & kHigh & ~high;
    if (control != 0) {
        const auto differs = [ascii](unsigned char c) { return ((ascii ^ (kOnes * c)) + kLow) & kHigh; };
        control &= differs('\t') & differs('\n') & differs('\r');
    }
    if constexpr (kColon) return high | control | BytesEqual(w, ':');
    return high | control;
}

// The first byte from p on that FirstNonXmlChar must decode: not a plain
// character or, with kColon, a ':'. Blocks of 64 bytes, then words of 8; the
// last few bytes (fewer than eight) are left to the caller.
template <bool kColon>
const char* NextToDecode(const char* p, const char* end) noexcept {
    while (end - p >= 64 && IsPlainAscii<64, kColon>(p)) p += 64;
    while (end - p >= 8) {
        std::uint64_t w;
        std::memcpy(&w, p, sizeof w);
        const std::uint64_t flags = NotPlainBytes<kColon>(w);
        if (flags == 0) {
            p += 8;
            continue;
        }
        const int first_bit = std::endian::native == std::endian::little ? std::countr_zero(flags)
                                                                         : std::countl_zero(flags);
        return p + first_bit / 8;
    }
    return p;
}

// Each byte of an invalid sequence becomes one U+FFFD.
char32_t DecodeUtf8(const char*& p, const char* end) noexcept {
    return platform::DecodeUtf8(p, end, platform::InvalidUtf8::kPerByte);
}

// Whether every byte of utf8 is ASCII and, when references are resolved, none
// is '&': then each byte is the one code unit it converts to.
bool IsPlainUnits(std::string_view utf8, bool resolve_references) noexcept {
    const char* p = utf8.data();
    const char* const end = p + utf8.size();
    const char ampersand = resolve_references ? '&' : '\x80';  // '\x80' fails the ASCII test anyway
    const auto plain_word = [ampersand](const char* at) {
        std::uint64_t w;
        std::memcpy(&w, at, sizeof w);
        return (w & 0x8080808080808080ull) == 0 && BytesEqual(w, ampersand) == 0;
    };
    if (end - p < 8) {
        for (; p < end; ++p) {
            if (static_cast<unsigned char>(*p) >= 0x80 || *p == ampersand) return false;
        }
        return true;
    }
    // Whole words, then the last eight bytes, which may overlap the words before.
    for (; end - p > 8; p += 8) {
        if (!plain_word(p)) return false;
    }
    return plain_word(end - 8);
}

}  // namespace

std::size_t FirstNonXmlChar(std::string_view text, bool& has_colon) noexcept {
    has_colon = false;
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p < end) {
        // Once a ':' is found, the tests no longer stop at one.
        p = has_colon ? NextToDecode<false>(p, end) : NextToDecode<true>(p, end);
        if (p == end) break;
        const char* const at = p;
        const char32_t c = DecodeUtf8(p, end);
        if (c == U':') {
            has_colon = true;
        } else if (c == platform::kNotUtf8 || !IsXmlChar(c)) {
            return static_cast<std::size_t>(at - text.data());
        }
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
    // Most texts are plain: one allocation of the exact size, no fill first.
    if (IsPlainUnits(utf8, resolve_references)) return std::u16string(utf8.begin(), utf8.end());
    std::u16string out;
    AssignUtf16(utf8, resolve_references, out);
    return out;
}

void AssignUtf16(std::string_view utf8, bool resolve_references, std::u16string& out) {
    if (IsPlainUnits(utf8, resolve_references)) {
        out.resize(utf8.size());
        std::copy(utf8.begin(), utf8.end(), out.begin());
        return;
    }
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
