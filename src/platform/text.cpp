// Platform-independent text helpers: case folding, comparisons and UTF-8/UTF-16.
#include "platform/text.h"

#include <algorithm>
#include <cstdint>

namespace kxt::platform {
namespace {

#include "platform/case_table.inc"

constexpr char16_t kReplacement = u'\uFFFD';

constexpr char16_t FoldAscii(char16_t c) noexcept {
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c | 0x20) : c;
}

// The folded difference of two code units that are not equal as they stand.
inline int FoldedDifference(char16_t a, char16_t b) noexcept {
    if ((a | b) < 0x80) return static_cast<int>(FoldAscii(a)) - static_cast<int>(FoldAscii(b));
    return static_cast<int>(FoldCase(a)) - static_cast<int>(FoldCase(b));
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

}  // namespace

char16_t detail::FoldCaseAboveAscii(char16_t c) noexcept {
    return static_cast<char16_t>(c + kCaseDelta[kCaseBlock[c >> 8]][c & 0xFF]);
}

bool detail::EqualsNoCaseSameLength(std::u16string_view a, std::u16string_view b) noexcept {
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i] && FoldedDifference(a[i], b[i]) != 0) return false;
    }
    return true;
}

int CompareNoCase(std::u16string_view a, std::u16string_view b) noexcept {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        if (a[i] == b[i]) continue;
        if (const int diff = FoldedDifference(a[i], b[i]); diff != 0) return diff;
    }
    return (a.size() > b.size()) - (a.size() < b.size());
}

std::u16string ToLower(std::u16string_view s) {
    std::u16string result(s);
    ToLowerInPlace(result);
    return result;
}

void ToLowerInPlace(std::u16string& s) noexcept {
    for (char16_t& c : s) c = FoldCase(c);
}

char32_t DecodeUtf8(const char*& p, const char* end, InvalidUtf8 policy) noexcept {
    const auto lead = static_cast<unsigned char>(*p);
    if (lead < 0x80) {
        ++p;
        return lead;
    }
    std::ptrdiff_t length = 0;
    char32_t cp = 0;
    unsigned char low = 0x80;  // bounds of the second byte
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        cp = lead & 0x0F;
        if (lead == 0xE0) low = 0xA0;   // no overlong forms
        if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        cp = lead & 0x07;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
    } else {
        ++p;
        return kNotUtf8;
    }
    std::ptrdiff_t used = 1;
    for (; used < length && used < end - p; ++used) {
        const auto byte = static_cast<unsigned char>(p[used]);
        if (used == 1 ? (byte < low || byte > high) : (byte & 0xC0) != 0x80) break;
        cp = (cp << 6) | (byte & 0x3F);
    }
    if (used == length) {
        p += length;
        return cp;
    }
    p += policy == InvalidUtf8::kPerMaximalSubpart ? used : 1;
    return kNotUtf8;
}

std::u16string Utf8ToUtf16(std::string_view utf8, InvalidUtf8 policy) {
    std::u16string out(utf8.size(), u'\0');
    char16_t* o = out.data();
    const char* p = utf8.data();
    const char* const end = p + utf8.size();
    while (p < end) {
        const char32_t cp = DecodeUtf8(p, end, policy);
        o += EncodeUtf16(cp == kNotUtf8 ? kReplacement : cp, o);
    }
    out.resize(static_cast<std::size_t>(o - out.data()));
    return out;
}

std::u16string Utf16LeToUtf16(std::string_view bytes) {
    std::u16string text(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                        (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    }
    return text;
}

std::u16string_view TrimEnd(std::u16string_view text, bool (*isSpace)(char32_t)) noexcept {
    while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
    return text;
}

std::u16string_view Trim(std::u16string_view text, bool (*isSpace)(char32_t)) noexcept {
    while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
    return TrimEnd(text, isSpace);
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size());
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        const char16_t c = utf16[i];
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (IsHighSurrogate(c) && i + 1 < utf16.size() && IsLowSurrogate(utf16[i + 1])) {
            AppendUtf8(out, 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (utf16[i + 1] - 0xDC00));
            ++i;
        } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
            AppendUtf8(out, kReplacement);
        } else {
            AppendUtf8(out, c);
        }
    }
    return out;
}

}  // namespace kxt::platform
