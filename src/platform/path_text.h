// Path texts: joined and cut at the platform's separator, without asking the
// file system.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace kxt::platform {

// The platform's path separator: '\' on Windows, '/' on POSIX.
#ifdef _WIN32
inline constexpr char16_t kPathSeparator = u'\\';
#else
inline constexpr char16_t kPathSeparator = u'/';
#endif

// base, then each part preceded by one separator ("" + {"a"} gives "/a").
std::u16string JoinPath(std::u16string base, std::initializer_list<std::u16string_view> parts);

// A path cut at its last separator. Without one, hasFolder is false, folder
// is empty and name is the whole path.
struct PathParts {
    std::u16string_view folder;
    std::u16string_view name;
    bool hasFolder = false;
};
PathParts SplitPath(std::u16string_view path) noexcept;

}  // namespace kxt::platform
