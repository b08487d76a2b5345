// The ANSI code page of Windows (CP_ACP) and the C locale's decimal separator.
#include <algorithm>
#include <climits>
#include <clocale>

#include "platform/text.h"
#include "platform/win32/windows_api.h"

namespace kxt::platform {

std::u16string AnsiToUtf16(std::string_view bytes) {
    std::u16string out;
    std::size_t offset = 0;
    // MultiByteToWideChar takes int lengths: convert in slices below INT_MAX.
    while (offset < bytes.size()) {
        const int length = static_cast<int>(std::min<std::size_t>(bytes.size() - offset, INT_MAX / 2));
        const char* source = bytes.data() + offset;
        const int needed = MultiByteToWideChar(CP_ACP, 0, source, length, nullptr, 0);
        if (needed <= 0) break;
        const std::size_t start = out.size();
        out.resize(start + static_cast<std::size_t>(needed));
        MultiByteToWideChar(CP_ACP, 0, source, length, reinterpret_cast<wchar_t*>(out.data() + start), needed);
        offset += static_cast<std::size_t>(length);
    }
    return out;
}

bool DecimalSeparatorIsPeriod() noexcept {
    // The Windows C runtime hands out its locale data in place, not a copy
    // that each call rewrites.
    const char* const point = std::localeconv()->decimal_point;
    return point[0] == '.' && point[1] == '\0';
}

}  // namespace kxt::platform
