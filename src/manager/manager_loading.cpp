// UpdateMaterials: the standard and DIN databases from the installation, the
// DIN mapping, one database per custom library, their links, the database
// list and the favourites.
#include <algorithm>
#include <string_view>

#include "kxtmat/material_dbs_manager.h"
#include "manager/manager_internal.h"
#include "mapping/din_mapper.h"
#include "paths/data_paths.h"
#include "paths/sibling_services.h"
#include "platform/files.h"
#include "platform/text.h"
#include "xml/phys_prop_parser.h"
#include "xml/process_parser.h"

namespace kxt::manager {
namespace {

using platform::EqualsNoCase;

// A library file in any folder that the host lists but that never becomes a database.
constexpr char16_t kTestLibraryFile[] = u"zrq test materials.kvxmat";

// How the host's list names the standard and DIN libraries: under the
// English or the language folder that the main module reports.
class StandardEntries {
public:
    StandardEntries() {
        const std::u16string nativeFolder = paths::DefaultNativePath();
        const std::u16string langFolder = paths::DefaultLangPath();
        paths_ = {paths::ReportedLibrary(nativeFolder, paths::kNativeLibraryFile),
                  paths::ReportedLibrary(nativeFolder, paths::kDinLibraryFile),
                  paths::ReportedLibrary(langFolder, paths::kNativeLibraryFile),
                  paths::ReportedLibrary(langFolder, paths::kDinLibraryFile)};
    }

    // fileName is the entry's text after its last separator.
    bool IsStandard(const std::u16string& entry, std::u16string_view fileName) const {
        return EqualsNoCase(fileName, kTestLibraryFile) ||
               std::any_of(paths_.begin(), paths_.end(),
                           [&](const std::u16string& path) { return EqualsNoCase(entry, path); });
    }

private:
    std::vector<std::u16string> paths_;
};

// Runs the language pass of every entry that names `languageLibrary` over db.
void ReadLanguageNames(kxtMaterialDB& db, const std::vector<std::u16string>& files,
                       const std::u16string& languageLibrary) {
    for (const std::u16string& file : files) {
        if (!EqualsNoCase(file, languageLibrary)) continue;
        NoteIfMissing(file, "the names of its database stay those of the English library");
        xml::kxtXMLPhysPropParser(file).ParseLanguageNames(&db);
    }
}

// True when some material of db has a manufacturing process.
bool HasAnyProcess(const kxtMaterialDB& db) {
    return FirstMaterial(db, [](const kxtMaterialBase& material) { return !material.GetManufacturingTypes().empty(); }) !=
           nullptr;
}

// Empties db and reads the installed English library at path into it.
void ReadInstalledLibrary(kxtMaterialDB& db, const std::u16string& path) {
    db.Clear();
    db.SetPath(path);
    ReadLibrary(db, path);
}

}  // namespace

void ReadLibrary(kxtMaterialDB& db, const std::u16string& path) {
    NoteIfMissing(path, "its database gets no material from it");
    xml::kxtXMLPhysPropParser(path).Parse(&db);
}

void LinkLibrary(kxtMaterialDB& db, const std::u16string& path, const std::vector<kxtMaterialDB*>& databases) {
    xml::kxtXMLPhysPropParser(path).ParseSustainabilityLinks(&db, databases);
}

void ReadAndLinkLibrary(kxtMaterialDB& db, const std::u16string& path, const std::vector<kxtMaterialDB*>& databases) {
    NoteIfMissing(path, "its database gets no material from it");
    xml::kxtXMLPhysPropParser(path).ParseWithLinks(&db, databases);
}

}  // namespace kxt::manager

using kxt::platform::EqualsNoCase;

void kxtMaterialDBsManager::UpdateMaterials(std::vector<std::u16string>& files, int flag) {
    namespace paths = kxt::paths;
    nativeDB_.SetDBType(eKxtNativeDB);
    nativeDinDB_.SetDBType(eKxtNativeDinDB);
    sustainExtrasDB_.SetDBType(eKxtSustainExtrasDB);

    // Nothing may point into the custom databases once they are gone; the
    // lists are rebuilt below.
    favorites_.clear();
    dbs_.clear();
    standardDBs_.clear();
    customDBs_.clear();

    const kxt::manager::StandardEntries standard;
    if (const std::u16string langFolder = paths::DefaultLangPath(); !langFolder.empty())
        kxt::manager::NoteIfMissing(langFolder, "no library of the language is read; names stay English");
    const std::u16string languageName = paths::LanguageName(paths::LanguageDirectory());
    const bool english = EqualsNoCase(languageName, u"english");

    // Of the two listed copies of the sustainability extras library, only
    // one is read: the user's in English, the language folder's otherwise.
    const std::u16string duplicateExtras = english ? paths::LanguageMaterialsSustainExtras()
                                                   : paths::UserSustainExtras(progDataSustainabilityPath_);
    if (const auto it = std::find_if(files.begin(), files.end(),
                                     [&](const std::u16string& file) { return EqualsNoCase(file, duplicateExtras); });
        it != files.end()) {
        files.erase(it);
    }

    std::vector<std::u16string> nativeFiles;
    std::vector<std::u16string> dinFiles;
    std::vector<const std::u16string*> customFiles;
    for (const std::u16string& file : files) {
        const std::u16string fileName = iGetMaterialDbName(file);
        if (!standard.IsStandard(file, fileName)) {
            customFiles.push_back(&file);
        } else if (flag == 0) {
            if (EqualsNoCase(fileName, paths::kDinLibraryFile))
                dinFiles.push_back(file);
            else if (EqualsNoCase(fileName, paths::kNativeLibraryFile))
                nativeFiles.push_back(file);
        }
    }
    customDBs_.resize(customFiles.size());

    if (flag == 0) {
        iFILLKxNativeDBs(nativeFiles);
        iFillKxDINDBs(dinFiles);
        kxt::mapping::kxtDINMapper mapper(&nativeDB_, &nativeDinDB_);
        mapper.LoadFile(paths::DinMappingFile());
        mapper.MapDINMaterials();
    }

    dbs_ = {&nativeDB_, &nativeDinDB_};
    standardDBs_ = dbs_;
    std::vector<kxtMaterialDB*> linkDBs = dbs_;

    const std::u16string extrasMarker = kxt::platform::ToLower(paths::kSustainExtrasName);
    for (std::size_t k = 0; k < customFiles.size(); ++k) {
        const std::u16string& file = *customFiles[k];
        kxtMaterialDB& db = customDBs_[k];
        db.Clear();
        std::u16string lowerFile = kxt::platform::ToLower(file);
        if (lowerFile.find(extrasMarker) != std::u16string::npos) {
            db.SetDBType(eKxtSustainExtrasDB);
            iFILLSustainExtrasDBs(lowerFile);
            db = sustainExtrasDB_;
        } else {
            db.SetDBType(eKxtCustomDB);
            kxt::manager::ReadLibrary(db, file);
            db.SetPath(file);
        }
    }

    linkDBs.push_back(&sustainExtrasDB_);
    for (kxtMaterialDB& db : customDBs_) {
        kxt::manager::LinkLibrary(db, db.GetPath(), linkDBs);
        dbs_.push_back(&db);
    }

    LoadFavoritesMaterialsFromRegistry();
}

void kxtMaterialDBsManager::iFILLKxNativeDBs(const std::vector<std::u16string>& files) {
    kxt::manager::ReadInstalledLibrary(nativeDB_, kxt::paths::InstalledNativeLibrary());
    iReadProcessSettings(nativeDB_);
    kxt::manager::ReadLanguageNames(
        nativeDB_, files, kxt::paths::ReportedLibrary(kxt::paths::DefaultLangPath(), kxt::paths::kNativeLibraryFile));
}

// The DIN library reads no process settings: its materials share their
// standard partners' data through the DIN mapping.
void kxtMaterialDBsManager::iFillKxDINDBs(const std::vector<std::u16string>& files) {
    kxt::manager::ReadInstalledLibrary(nativeDinDB_, kxt::paths::InstalledDinLibrary());
    kxt::paths::CallDefaultLangId();
    kxt::manager::ReadLanguageNames(
        nativeDinDB_, files, kxt::paths::ReportedLibrary(kxt::paths::DefaultLangPath(), kxt::paths::kDinLibraryFile));
}

std::u16string kxtMaterialDBsManager::iGetMaterialDbName(std::u16string path) const {
    const auto cut = path.rfind(kxt::platform::kPathSeparator);
    if (cut == std::u16string::npos) return {};
    path.erase(0, cut + 1);
    return path;
}

void kxtMaterialDBsManager::iReadProcessSettings(kxtMaterialDB& db) const {
    const std::u16string userFile = kxt::paths::UserProcessSettings(progDataSustainabilityPath_);
    kxt::manager::NoteIfMissing(userFile, "the installed process settings are read instead");
    kxt::xml::kxtXMLProcessParser(userFile, iGetResourceModule()).Parse(&db);
    if (!kxt::manager::HasAnyProcess(db)) {
        const std::u16string installedFile = kxt::paths::InstalledProcessSettings();
        kxt::manager::NoteIfMissing(installedFile, "no material gets a manufacturing process");
        kxt::xml::kxtXMLProcessParser(installedFile, iGetResourceModule()).Parse(&db);
    }
}

void kxtMaterialDBsManager::iRebuildDatabaseList() {
    dbs_ = {&nativeDB_, &nativeDinDB_};
    dbs_.reserve(2 + customDBs_.size());
    for (kxtMaterialDB& db : customDBs_) dbs_.push_back(&db);
}
