// The current user's registry as the module reads it, from a registry export: on POSIX the export
// itself (KXT_REGISTRY_FILE names it); on Windows its values, written under HKEY_CURRENT_USER through
// the registry API in place of the keys an earlier call wrote.
#pragma once

#include <filesystem>
#include <string>

namespace kxt::test {

void UseRegistryExport(const std::string& text);

// The same for an export file: on POSIX read afresh at each key opened, on Windows written now.
void UseRegistryFile(const std::filesystem::path& file);

}  // namespace kxt::test
