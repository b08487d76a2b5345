// The library name of a database path, before it is lower-cased.
#pragma once

#include <string_view>

#include "platform/path_text.h"

namespace kxt::model {

// The file name of path without folder and extension, in its own case; the
// platform's separator ends a folder. kxtMaterialDB::GetDbName is this
// text lower-cased; comparing it without regard to case gives the same answer
// as comparing GetDbName, without building a string.
inline std::u16string_view LibraryStem(std::u16string_view path) noexcept {
    const std::u16string_view file = platform::SplitPath(path).name;
    return file.substr(0, file.rfind(u'.'));
}

}  // namespace kxt::model
