// What the current C locale says: its multibyte charset (the "ANSI code page"
// of POSIX) and its decimal separator.
#include <langinfo.h>

#include <cwchar>

#include "platform/text.h"

namespace kxt::platform {

std::u16string AnsiToUtf16(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    std::mbstate_t state{};
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        // Every charset a C locale may use keeps ASCII as it is.
        if (byte < 0x80 && std::mbsinit(&state)) {
            out.push_back(byte);
            ++i;
            continue;
        }
        wchar_t wc = 0;
        const std::size_t used = std::mbrtowc(&wc, bytes.data() + i, bytes.size() - i, &state);
        if (used == static_cast<std::size_t>(-1) || used == static_cast<std::size_t>(-2)) {
            // An invalid byte, or a sequence cut off by the end of the input.
            out.push_back(u'\uFFFD');
            state = std::mbstate_t{};
            i += used == static_cast<std::size_t>(-1) ? 1 : bytes.size() - i;
            continue;
        }
        const auto cp = static_cast<char32_t>(wc);
        if (cp >= 0x10000 && cp <= 0x10FFFF) {
            out.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        } else if (cp > 0x10FFFF) {
            out.push_back(u'\uFFFD');
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += used == 0 ? 1 : used;  // 0: a null character, one byte
    }
    return out;
}

bool DecimalSeparatorIsPeriod() noexcept {
    // The locale's own data: unlike localeconv, safe while other threads read it.
    const char* const radix = nl_langinfo(RADIXCHAR);
    return radix[0] == '.' && radix[1] == '\0';
}

}  // namespace kxt::platform
