// The services of the add-in's main sibling module "kxTerraU.dll", found among
// the loaded modules at each call (never loaded or released here).
#pragma once

#include <string>

namespace kxt::paths {

// The logical file names of the sibling modules and of this module.
inline constexpr char16_t kMainModule[] = u"kxTerraU.dll";
inline constexpr char16_t kInstallModule[] = u"kxTerraTPU.dll";
inline constexpr char16_t kOwnModule[] = u"kxTerraMatU.dll";
inline constexpr char16_t kResourceModule[] = u"kxTerraMatResU.dll";

// "GetDefaultNativePath": the folder of the English libraries, ending with a
// separator; empty when the module or the export is missing.
std::u16string DefaultNativePath();

// "GetDefaultLangPath": the folder of the user-interface language's
// libraries, ending with a separator; empty when missing.
std::u16string DefaultLangPath();

// "GetDefaultLangId": called for its effect only; nothing when missing.
void CallDefaultLangId();

// The "getLangDir" export: the language folder name, or null.
using LangDirFunction = const char16_t* (*)();

// The "getLangDir" export of the loaded main module; null when the module or
// the export is missing.
LangDirFunction FindLangDirExport();

}  // namespace kxt::paths
