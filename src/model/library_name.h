// The library name of a database path, before it is lower-cased.
#pragma once

#include <string_view>

#include "platform/files.h"

namespace kxt::model {

// The file name of path without folder and extension, in its own case; the
// platform's separator ends a folder. kxtMaterialDB::GetDbName is this
// text lower-cased; comparing it without regard to case gives the same answer
// as comparing GetDbName, without building a string.
inline std::u16string_view LibraryStem(std::u16string_view path) noexcept {
    if (const auto folderEnd = path.rfind(platform::kPathSeparator); folderEnd != std::u16string_view::npos) {
        path.remove_prefix(folderEnd + 1);
    }
    if (const auto dot = path.rfind(u'.'); dot != std::u16string_view::npos) path = path.substr(0, dot);
    return path;
}

}  // namespace kxt::model
