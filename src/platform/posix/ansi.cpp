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
        char16_t units[2];
        out.append(units, EncodeUtf16(cp > 0x10FFFF ? U'\uFFFD' : cp, units));
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
