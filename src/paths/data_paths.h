// Every folder and file path of the installation and of the data folders.
// Paths are found relative to loaded modules, to the paths that the main
// sibling module reports, or to the sustainability data path that the host
// sets; nothing is hard-coded. Separators are the platform's.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "paths/library_files.h"
#include "paths/sibling_services.h"
#include "platform/modules.h"
#include "platform/path_text.h"

namespace kxt::paths {


using platform::JoinPath;

// The folder of the loaded module `moduleName`, without a trailing separator.
// When no such module is loaded, the executable's folder. Empty when no file
// name can be obtained or it holds no separator. The whole file name is used,
// however long.
std::u16string ModuleFolder(const std::u16string& moduleName);

// The language remembered for the process. The first lookup that finds the
// "getLangDir" export remembers its (non-null) text; a missing module or
// export remembers "english"; a null text remembers nothing, so the next call
// asks again. The process keeps one; tests drive their own.
class LanguageMemory {
public:
    using Lookup = LangDirFunction (*)();

    // "lang" + separator + the remembered language ("lang" + separator alone
    // while nothing is remembered). `lookup` is asked only until a language is
    // remembered.
    std::u16string Directory(Lookup lookup);

private:
    const char16_t* remembered_ = nullptr;
};

// "lang" + separator + the language of the main module, remembered for the
// process on first success ("lang/english" when the main module is missing).
std::u16string LanguageDirectory();

// The language name of a language directory: its part after the last separator.
std::u16string LanguageName(const std::u16string& languageDirectory);

// The host's data folder for a module folder: folder/data when that is a
// directory; otherwise the folder cut twice at its last separator, followed
// by kvxapp/data (not tested for existence); folder/data all the same when
// either cut finds no separator. Empty for an empty folder.
std::u16string DataFolderOf(const std::u16string& moduleFolder);

// DataFolderOf(ModuleFolder(moduleName)).
std::u16string DataFolder(const std::u16string& moduleName);

// The installed process settings: data folder + resources/kxterra/materials
// process.dat; empty when the data folder is.
std::u16string ProcessSettingsDefaultFile(const std::u16string& moduleName);

// The resource module found for this module, and whether the search loaded it
// (only then must it be released with platform::ReleaseModule).
struct FoundModule {
    platform::ModuleHandle handle = nullptr;
    bool loadedHere = false;
};

// Looks for `resourceModule` in the language folder beside `ownModule`, then
// in lang/english beside it. A module already loaded from the path found is
// used as it is; otherwise the file is loaded for its resources only. No
// handle when the folder or language is unknown, no file is there, or the
// load fails.
FoundModule SearchResourceModule(const std::u16string& ownModule, const std::u16string& resourceModule);

// Paths built by the loaders. A is the folder of the installation module, U
// that of the main module, L the language directory.

// A/lang/english/kvxmaterials/Korvex Materials.kvxmat: always read.
std::u16string InstalledNativeLibrary();
// A/lang/english/kvxmaterials/Korvex din Materials.kvxmat: always read.
std::u16string InstalledDinLibrary();
// U/L/kvxmaterials.
std::u16string LanguageMaterialsFolder();
// U/L/kvxmaterials/Sustainability Extras.kvxmat: the language folder's copy
// as the host lists it.
std::u16string LanguageMaterialsSustainExtras();
// A/lang/english/kvxmaterials/Sustainability Extras.kvxmat.
std::u16string InstalledSustainExtras();
// A/L/kvxmaterials/Sustainability Extras.kvxmat: lists the classes to drop.
std::u16string InstalledLanguageSustainExtras();
// dataPath/Sustainability Extras.kvxmat: the user's copy.
std::u16string UserSustainExtras(const std::u16string& dataPath);
// dataPath and "materials process.dat" joined by platform::AppendPath (a
// separator added only when missing; on Windows "." and ".." are resolved).
// A result that does not fit its path buffer is empty (and so names no file).
std::u16string UserProcessSettings(const std::u16string& dataPath);
// ProcessSettingsDefaultFile of the main module: the installed fallback.
std::u16string InstalledProcessSettings();
// data folder of the main module + /resources/kxterra/DINMaterialsMapper.txt,
// built even when the data folder is empty.
std::u16string DinMappingFile();

// HostLibraryList of the language folder that the main module reports.
std::vector<std::u16string> HostLibraryList(const std::u16string& userData, std::vector<std::u16string> custom);

}  // namespace kxt::paths
