#include "lint/single_file_checks.h"

#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "mapping/din_mapper.h"
#include "module/resources.h"
#include "paths/library_files.h"
#include "platform/environment.h"
#include "platform/files.h"
#include "platform/path_text.h"
#include "platform/text.h"
#include "xml/phys_prop_parser.h"
#include "xml/process_parser.h"
#include "xml/reader_queries.h"

namespace kxt::lint {
namespace {

using platform::EndsWithNoCase;
using platform::EqualsNoCase;

// The variable that names the registry export on POSIX (see platform/registry.h).
constexpr char kRegistryVariable[] = "KXT_REGISTRY_FILE";

std::u16string_view FileName(const std::u16string& path) { return platform::SplitPath(path).name; }

// An XML file that holds process settings: the reader's own selection finds a
// block. Loaded without a sink: its faults are reported when it is checked.
bool HoldsScenarioSettings(const std::u16string& path) {
    std::optional<platform::FileBytes> bytes = platform::ReadFileBytes(path);
    if (!bytes) return false;
    xml::Document document;
    document.Load(std::move(*bytes));
    return static_cast<bool>(document.Root().SelectSingleNode(xml::Queries().scenarioSettings));
}

// The database type that the manager gives a library of that file name.
eKxtMaterialBDType LibraryType(std::u16string_view name) {
    if (EqualsNoCase(name, paths::kNativeLibraryFile)) return eKxtNativeDB;
    if (EqualsNoCase(name, paths::kDinLibraryFile)) return eKxtNativeDinDB;
    if (platform::ToLower(name).find(platform::ToLower(paths::kSustainExtrasName)) != std::u16string::npos)
        return eKxtSustainExtrasDB;
    return eKxtCustomDB;
}

}  // namespace

std::string FileKind(const std::u16string& path) {
    const std::u16string_view name = FileName(path);
    if (EndsWithNoCase(name, u".kvxmat")) return "library";
    if (EqualsNoCase(name, paths::kProcessSettingsFile)) return "process-settings";
    if (EqualsNoCase(name, paths::kDinMappingFile)) return "din-mapping";
    if (EndsWithNoCase(name, u".reg")) return "registry";
    if (HoldsScenarioSettings(path)) return "process-settings";
    return {};
}

bool IsBrokenXml(const std::u16string& path) {
    std::optional<platform::FileBytes> bytes = platform::ReadFileBytes(path);
    if (!bytes) return false;
    const std::string_view text(bytes->data(), bytes->size());
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    const bool meant = text.starts_with("\xEF\xBB\xBF") || text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF") ||
                       (first != std::string_view::npos && text[first] == '<');
    return meant && !xml::Document().Load(std::move(*bytes), path);
}

void CheckLibrary(kxtMaterialDBsManager& manager, const std::u16string& path) {
    kxtMaterialDB db;
    db.SetDBType(LibraryType(FileName(path)));
    db.SetPath(path);
    xml::kxtXMLPhysPropParser reader(path);
    if (db.GetDBType() != eKxtCustomDB) {
        reader.Parse(&db);
        return;
    }
    // The databases that the links of a custom library are resolved against at a full load.
    const std::vector<kxtMaterialDB*> linked{manager.GetKxNativeDB(), manager.GetKxNativeDinDB(),
                                             manager.GetKxSustainExtrasDB()};
    reader.ParseWithLinks(&db, linked);
}

void CheckProcessSettings(kxtMaterialDBsManager& manager, const std::u16string& path) {
    // A material entry stands for a material of either database.
    for (const kxtMaterialDB* loaded : {manager.GetKxNativeDB(), manager.GetKxSustainExtrasDB()}) {
        kxtMaterialDB copy(*loaded);
        xml::kxtXMLProcessParser(path, module::LatestResourceModule()).Parse(&copy);
    }
}

void CheckDinMapping(kxtMaterialDBsManager& manager, const std::u16string& path) {
    kxtMaterialDB native(*manager.GetKxNativeDB());
    kxtMaterialDB din(*manager.GetKxNativeDinDB());
    mapping::kxtDINMapper mapper(&native, &din);
    mapper.LoadFile(path);
    mapper.MapDINMaterials();
}

void CheckRegistry(kxtMaterialDBsManager& manager, const std::u16string& path) {
    const std::optional<std::string> before = platform::GetEnvironmentValue(kRegistryVariable);
    platform::SetEnvironmentValue(kRegistryVariable, platform::Utf16ToUtf8(path));
    // An empty value names no hive, as an unset one does.
    struct Restore {
        const std::optional<std::string>& before;
        ~Restore() { platform::SetEnvironmentValue(kRegistryVariable, before.value_or(std::string())); }
    } restore{before};
    manager.LoadFavoritesMaterialsFromRegistry();
}

}  // namespace kxt::lint
