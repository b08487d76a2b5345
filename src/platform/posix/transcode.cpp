// Character-encoding conversion to UTF-8 through iconv.
#include <iconv.h>

#include <cerrno>
#include <new>

#include "platform/text.h"

namespace kxt::platform {

std::optional<std::string> TranscodeToUtf8(std::string_view bytes, const std::string& encoding) {
    const iconv_t converter = iconv_open("UTF-8", encoding.c_str());
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        if (errno == ENOMEM) throw std::bad_alloc();
        return std::nullopt;
    }
    struct Closer {
        iconv_t converter;
        ~Closer() { iconv_close(converter); }
    } closer{converter};

    // Single-byte code pages take up to 3 bytes per character, two-byte ones 1.5;
    // one spare byte lets the caller terminate the text without a reallocation.
    std::string out(bytes.size() + bytes.size() / 2 + 16, '\0');
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    std::size_t written = 0;
    for (;;) {
        char* o = out.data() + written;
        std::size_t outLeft = out.size() - written - 1;
        const std::size_t result = iconv(converter, &in, &inLeft, &o, &outLeft);
        written = static_cast<std::size_t>(o - out.data());
        if (result != static_cast<std::size_t>(-1)) break;
        if (errno != E2BIG) return std::nullopt;  // EILSEQ: invalid bytes; EINVAL: truncated
        out.resize(out.size() * 2);
    }
    out.resize(written);
    return out;
}

}  // namespace kxt::platform
