#include "paths/data_paths.h"

#include <utility>

#include "platform/files.h"

namespace kxt::paths {
namespace {

using platform::kPathSeparator;

constexpr char16_t kEnglish[] = u"english";
constexpr char16_t kLang[] = u"lang";
std::u16string EnglishLibrary(std::u16string_view fileName) {
    return JoinPath(ModuleFolder(kInstallModule), {kLang, kEnglish, kMaterialsFolder, fileName});
}

}  // namespace

std::u16string ModuleFolder(const std::u16string& moduleName) {
    const std::u16string file = platform::ModuleFileName(platform::FindLoadedModule(moduleName));
    return std::u16string(platform::SplitPath(file).folder);
}

std::u16string LanguageMemory::Directory(Lookup lookup) {
    if (remembered_ == nullptr) {
        if (LangDirFunction getLangDir = lookup())
            remembered_ = getLangDir();
        else
            remembered_ = kEnglish;
    }
    std::u16string directory = kLang;
    directory += kPathSeparator;
    if (remembered_ != nullptr) directory += remembered_;
    return directory;
}

std::u16string LanguageDirectory() {
    static LanguageMemory memory;
    return memory.Directory(&FindLangDirExport);
}

std::u16string LanguageName(const std::u16string& languageDirectory) {
    return std::u16string(platform::SplitPath(languageDirectory).name);
}

std::u16string DataFolderOf(const std::u16string& moduleFolder) {
    if (moduleFolder.empty()) return {};
    std::u16string beside = JoinPath(moduleFolder, {u"data"});
    if (platform::IsDirectory(beside)) return beside;
    const platform::PathParts parent = platform::SplitPath(moduleFolder);
    const platform::PathParts above = platform::SplitPath(parent.folder);
    if (parent.hasFolder && above.hasFolder) return JoinPath(std::u16string(above.folder), {u"kvxapp", u"data"});
    return beside;
}

std::u16string DataFolder(const std::u16string& moduleName) {
    return DataFolderOf(ModuleFolder(moduleName));
}

std::u16string ProcessSettingsDefaultFile(const std::u16string& moduleName) {
    std::u16string data = DataFolder(moduleName);
    if (data.empty()) return {};
    return JoinPath(std::move(data), {u"resources", u"kxterra", kProcessSettingsFile});
}

FoundModule SearchResourceModule(const std::u16string& ownModule, const std::u16string& resourceModule) {
    const std::u16string folder = ModuleFolder(ownModule);
    const std::u16string language = LanguageDirectory();
    if (folder.empty() || language.empty()) return {};
    std::u16string path = JoinPath(folder, {language, resourceModule});
    if (!platform::ModuleFileExists(path)) {
        path = JoinPath(folder, {kLang, kEnglish, resourceModule});
        if (!platform::ModuleFileExists(path)) return {};
    }
    if (platform::ModuleHandle loaded = platform::FindLoadedModule(path)) return {loaded, false};
    platform::ModuleHandle handle = platform::LoadModuleForResources(path);
    return {handle, handle != nullptr};
}

std::u16string InstalledNativeLibrary() {
    return EnglishLibrary(u"Korvex Materials.kvxmat");
}

std::u16string InstalledDinLibrary() {
    return EnglishLibrary(u"Korvex din Materials.kvxmat");
}

std::u16string LanguageMaterialsFolder() {
    return JoinPath(ModuleFolder(kMainModule), {LanguageDirectory(), kMaterialsFolder});
}

std::u16string LanguageMaterialsSustainExtras() {
    return JoinPath(LanguageMaterialsFolder(), {kSustainExtrasFile});
}

std::u16string InstalledSustainExtras() {
    return EnglishLibrary(kSustainExtrasFile);
}

std::u16string InstalledLanguageSustainExtras() {
    return JoinPath(ModuleFolder(kInstallModule), {LanguageDirectory(), kMaterialsFolder, kSustainExtrasFile});
}

std::u16string UserSustainExtras(const std::u16string& dataPath) {
    return JoinPath(dataPath, {kSustainExtrasFile});
}

std::u16string UserProcessSettings(const std::u16string& dataPath) {
    return platform::AppendPath(dataPath, kProcessSettingsFile).value_or(std::u16string());
}

std::u16string InstalledProcessSettings() {
    return ProcessSettingsDefaultFile(kMainModule);
}

std::u16string DinMappingFile() {
    return JoinPath(DataFolder(kMainModule), {u"resources", u"kxterra", kDinMappingFile});
}

std::vector<std::u16string> HostLibraryList(const std::u16string& userData, std::vector<std::u16string> custom) {
    return HostLibraryList(DefaultLangPath(), userData, std::move(custom));
}

}  // namespace kxt::paths
