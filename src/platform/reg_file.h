// Parser of Windows registry export files (".reg"): the current user's hive on
// POSIX; on Windows, tests write such files' values into the registry.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"

namespace kxt::platform {

// One value of a key, as Windows stores it; the name is empty for the default value ("@").
using RegFileValue = RegistryNamedValue;

// The values of key `subkey` (a path below HKEY_CURRENT_USER, '\'-separated,
// compared without regard to case) in the export file `content`, in the order
// of their first assignment; a later assignment of a name replaces its value.
// nullopt when `content` is not a registry export or names neither the key
// nor a key below it. The content is untrusted: bad lines are skipped.
std::optional<std::vector<RegFileValue>> ParseRegFileKey(std::string_view content, std::u16string_view subkey);

// The keys below HKEY_CURRENT_USER that the export's section headers name,
// each once (without regard to case), in their order; empty when `content`
// is not a registry export.
std::vector<std::u16string> RegFileKeys(std::string_view content);

}  // namespace kxt::platform
