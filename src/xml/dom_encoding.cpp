#include "xml/dom_encoding.h"

#include <optional>
#include <string_view>
#include <utility>

#include "platform/text.h"

namespace kxt::xml::detail {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool IsAsciiLetter(char c) noexcept { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// EncName: [A-Za-z] ([A-Za-z0-9._] | '-')*. Also keeps converter options
// ("//IGNORE") out of the name handed to iconv.
bool IsEncodingName(std::string_view name) noexcept {
    if (name.empty() || !IsAsciiLetter(name[0])) return false;
    for (const char c : name) {
        if (!IsAsciiLetter(c) && !(c >= '0' && c <= '9') && c != '.' && c != '_' && c != '-') return false;
    }
    return true;
}

// True when the (ASCII) encoding name names UTF-8.
bool IsUtf8Name(std::string_view name) {
    const std::u16string wide(name.begin(), name.end());
    return platform::EqualsNoCase(wide, u"UTF-8");
}

// The value of the encoding pseudo-attribute of the XML declaration at the
// start of text; nullopt when there is no declaration or it names none.
std::optional<std::string_view> DeclaredEncoding(std::string_view text) noexcept {
    if (text.size() < 6 || !text.starts_with("<?xml") || !platform::IsXmlSpace(text[5])) return std::nullopt;
    const std::size_t close = text.find("?>");
    const std::string_view declaration = text.substr(0, close);
    std::size_t at = declaration.find("encoding");
    if (at == std::string_view::npos || !platform::IsXmlSpace(declaration[at - 1])) return std::nullopt;
    at += 8;
    while (at < declaration.size() && platform::IsXmlSpace(declaration[at])) ++at;
    if (at >= declaration.size() || declaration[at] != '=') return std::nullopt;
    ++at;
    while (at < declaration.size() && platform::IsXmlSpace(declaration[at])) ++at;
    if (at >= declaration.size() || (declaration[at] != '"' && declaration[at] != '\'')) return std::nullopt;
    const char quote = declaration[at++];
    const std::size_t end = declaration.find(quote, at);
    if (end == std::string_view::npos) return std::nullopt;
    return declaration.substr(at, end - at);
}

// Replaces bytes (from start on) by their UTF-8 form followed by one '\0'.
DecodeFault TranscodeInPlace(const std::string& encoding, platform::FileBytes& bytes, std::size_t& start) {
    auto utf8 = platform::TranscodeToUtf8(std::string_view(bytes.data(), bytes.size()).substr(start), encoding);
    if (!utf8) {
        // An empty text converts under every encoding a converter knows.
        return platform::TranscodeToUtf8({}, encoding) ? DecodeFault::kInvalidBytes : DecodeFault::kUnknownEncoding;
    }
    bytes.assign(utf8->begin(), utf8->end());
    bytes.push_back('\0');
    start = 0;
    return DecodeFault::kNone;
}

}  // namespace

DecodeFault DecodeDocument(platform::FileBytes& bytes, std::size_t& start, std::string& encoding) {
    const std::string_view text(bytes.data(), bytes.size());
    start = 0;
    encoding = "UTF-8";
    const auto wide = [&](const char* name, std::size_t bom) {
        encoding = name;
        start = bom;
        return TranscodeInPlace(encoding, bytes, start);
    };
    if (text.starts_with("\xFF\xFE")) return wide("UTF-16LE", 2);
    if (text.starts_with("\xFE\xFF")) return wide("UTF-16BE", 2);
    // Without a byte-order mark, UTF-16 shows in how "<?" is laid out.
    if (text.starts_with(std::string_view("<\0?\0", 4))) return wide("UTF-16LE", 0);
    if (text.starts_with(std::string_view("\0<\0?", 4))) return wide("UTF-16BE", 0);

    if (text.starts_with(kUtf8Bom)) {
        start = kUtf8Bom.size();
    } else if (const auto declared = DeclaredEncoding(text)) {
        encoding = *declared;
        // A declared name, even an empty one, must be an encoding name.
        if (!IsEncodingName(*declared)) return DecodeFault::kUnknownEncoding;
        if (!IsUtf8Name(*declared)) {
            if (const DecodeFault fault = TranscodeInPlace(encoding, bytes, start); fault != DecodeFault::kNone)
                return fault;
            // The declaration that named the encoding must read the same in it;
            // a wide encoding named in an 8-bit file does not.
            return std::string_view(bytes.data(), bytes.size()).starts_with("<?xml") ? DecodeFault::kNone
                                                                                      : DecodeFault::kUnknownEncoding;
        }
    }
    bytes.push_back('\0');
    return DecodeFault::kNone;
}

}  // namespace kxt::xml::detail
