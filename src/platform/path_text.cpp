#include "platform/path_text.h"

namespace kxt::platform {

std::u16string JoinPath(std::u16string base, std::initializer_list<std::u16string_view> parts) {
    for (const std::u16string_view part : parts) {
        base += kPathSeparator;
        base += part;
    }
    return base;
}

PathParts SplitPath(std::u16string_view path) noexcept {
    const std::size_t cut = path.rfind(kPathSeparator);
    if (cut == std::u16string_view::npos) return {{}, path, false};
    return {path.substr(0, cut), path.substr(cut + 1), true};
}

}  // namespace kxt::platform
