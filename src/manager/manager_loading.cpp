// UpdateMaterials: the standard and DIN databases from the installation, the
// DIN mapping, one database per custom library, their links, the database
// list and the favourites.
#include <algorithm>
#include <span>
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

// The entries of files that name languageLibrary, each read by one language pass.
std::vector<std::u16string> LanguageEntries(const std::vector<std::u16string>& files,
                                            const std::u16string& languageLibrary) {
    std::vector<std::u16string> entries;
    for (const std::u16string& file : files) {
        if (EqualsNoCase(file, languageLibrary)) entries.push_back(file);
    }
    return entries;
}

std::u16string LanguageLibrary(std::u16string_view fileName) {
    return paths::ReportedLibrary(paths::DefaultLangPath(), fileName);
}

// Runs the language pass of each of entries over db, in order.
void ReadLanguageNames(kxtMaterialDB& db, std::span<const std::u16string> entries) {
    for (const std::u16string& file : entries) {
        NoteIfMissing(file, "the names of its database stay those of the English library");
        xml::kxtXMLPhysPropParser(SharedDocuments::Open(file)).ParseLanguageNames(&db);
    }
}

// Announces the passes of iFILLKxNativeDBs or iFillKxDINDBs, but for the process settings.
void ExpectStandardPasses(SharedDocuments& documents, const std::u16string& installedLibrary,
                          const std::vector<std::u16string>& files, std::u16string_view fileName) {
    documents.Expect(installedLibrary);
    for (const std::u16string& file : LanguageEntries(files, LanguageLibrary(fileName))) documents.Expect(file);
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
    xml::kxtXMLPhysPropParser(SharedDocuments::Open(path)).Parse(&db);
}

void LinkLibrary(kxtMaterialDB& db, const std::u16string& path, const std::vector<kxtMaterialDB*>& databases) {
    xml::kxtXMLPhysPropParser(SharedDocuments::Open(path)).ParseSustainabilityLinks(&db, databases);
}

void ReadAndLinkLibrary(kxtMaterialDB& db, const std::u16string& path, const std::vector<kxtMaterialDB*>& databases) {
    NoteIfMissing(path, "its database gets no material from it");
    xml::kxtXMLPhysPropParser(SharedDocuments::Open(path)).ParseWithLinks(&db, databases);
}

void ExpectProcessSettings(SharedDocuments& documents, const std::u16string& userDataPath) {
    documents.Expect(paths::UserProcessSettings(userDataPath));
    documents.Expect(paths::InstalledProcessSettings());
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

    const std::u16string extrasMarker = kxt::platform::ToLower(paths::kSustainExtrasName);
    std::vector<std::u16string> lowerCustomFiles;
    lowerCustomFiles.reserve(customFiles.size());
    for (const std::u16string* file : customFiles) lowerCustomFiles.push_back(kxt::platform::ToLower(*file));
    const auto isExtras = [&](std::size_t k) { return lowerCustomFiles[k].find(extrasMarker) != std::u16string::npos; };
    // A library from the last extras entry on links in the walk that reads
    // it: no database that it links into changes after it is read.
    std::size_t extrasEnd = 0;  // one past the last extras entry; 0 when there is none
    for (std::size_t k = 0; k < customFiles.size(); ++k) {
        if (isExtras(k)) extrasEnd = k + 1;
    }
    const auto linksAtOnce = [&](std::size_t k) { return k + 1 >= extrasEnd; };

    kxt::manager::SharedDocuments documents;
    if (flag == 0) {
        kxt::manager::ExpectStandardPasses(documents, paths::InstalledNativeLibrary(), nativeFiles,
                                           paths::kNativeLibraryFile);
        kxt::manager::ExpectProcessSettings(documents, progDataSustainabilityPath_);
        kxt::manager::ExpectStandardPasses(documents, paths::InstalledDinLibrary(), dinFiles, paths::kDinLibraryFile);
    }
    for (std::size_t k = 0; k < customFiles.size(); ++k) {
        if (isExtras(k)) {
            // Its links are read from the file that the filled database bears.
            documents.Expect(
                kxt::manager::ExpectSustainExtrasPasses(documents, lowerCustomFiles[k], progDataSustainabilityPath_));
        } else {
            documents.Expect(*customFiles[k]);
            if (!linksAtOnce(k)) documents.Expect(*customFiles[k]);
        }
    }

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
    linkDBs.push_back(&sustainExtrasDB_);

    for (std::size_t k = 0; k < customFiles.size(); ++k) {
        const std::u16string& file = *customFiles[k];
        kxtMaterialDB& db = customDBs_[k];
        db.Clear();
        if (isExtras(k)) {
            db.SetDBType(eKxtSustainExtrasDB);
            iFILLSustainExtrasDBs(lowerCustomFiles[k]);
            db = sustainExtrasDB_;
            if (linksAtOnce(k)) kxt::manager::LinkLibrary(db, db.GetPath(), linkDBs);
        } else {
            db.SetDBType(eKxtCustomDB);
            if (linksAtOnce(k))
                kxt::manager::ReadAndLinkLibrary(db, file, linkDBs);
            else
                kxt::manager::ReadLibrary(db, file);
            db.SetPath(file);
        }
    }

    for (std::size_t k = 0; k < customDBs_.size(); ++k) {
        if (!linksAtOnce(k)) kxt::manager::LinkLibrary(customDBs_[k], customDBs_[k].GetPath(), linkDBs);
        dbs_.push_back(&customDBs_[k]);
    }

    LoadFavoritesMaterialsFromRegistry();
}

void kxtMaterialDBsManager::iFILLKxNativeDBs(const std::vector<std::u16string>& files) {
    using kxt::manager::SharedDocuments;
    const std::u16string installed = kxt::paths::InstalledNativeLibrary();
    kxt::manager::ReadInstalledLibrary(nativeDB_, installed);
    const std::vector<std::u16string> entries =
        kxt::manager::LanguageEntries(files, kxt::manager::LanguageLibrary(kxt::paths::kNativeLibraryFile));
    // Language passes over the installed file itself, before any other, give
    // the materials and classes the names that the records just gave them and
    // add property names, which the process settings do not read: they run
    // first, so that the library is freed before the process settings load.
    const auto others = std::find_if(entries.begin(), entries.end(), [&](const std::u16string& entry) {
        return !SharedDocuments::SameFile(entry, installed);
    });
    kxt::manager::ReadLanguageNames(nativeDB_, {entries.begin(), others});
    iReadProcessSettings(nativeDB_);
    kxt::manager::ReadLanguageNames(nativeDB_, {others, entries.end()});
}

// The DIN library reads no process settings: its materials share their
// standard partners' data through the DIN mapping.
void kxtMaterialDBsManager::iFillKxDINDBs(const std::vector<std::u16string>& files) {
    kxt::manager::ReadInstalledLibrary(nativeDinDB_, kxt::paths::InstalledDinLibrary());
    kxt::paths::CallDefaultLangId();
    kxt::manager::ReadLanguageNames(
        nativeDinDB_, kxt::manager::LanguageEntries(files, kxt::manager::LanguageLibrary(kxt::paths::kDinLibraryFile)));
}

std::u16string kxtMaterialDBsManager::iGetMaterialDbName(std::u16string path) const {
    const auto cut = path.rfind(kxt::platform::kPathSeparator);
    if (cut == std::u16string::npos) return {};
    path.erase(0, cut + 1);
    return path;
}

void kxtMaterialDBsManager::iReadProcessSettings(kxtMaterialDB& db) const {
    using kxt::manager::SharedDocuments;
    const std::u16string userFile = kxt::paths::UserProcessSettings(progDataSustainabilityPath_);
    kxt::manager::NoteIfMissing(userFile, "the installed process settings are read instead");
    kxt::xml::kxtXMLProcessParser(SharedDocuments::Open(userFile), iGetResourceModule()).Parse(&db);
    const std::u16string installedFile = kxt::paths::InstalledProcessSettings();
    if (kxt::manager::HasAnyProcess(db)) {
        SharedDocuments::Skip(installedFile);
        return;
    }
    kxt::manager::NoteIfMissing(installedFile, "no material gets a manufacturing process");
    kxt::xml::kxtXMLProcessParser(SharedDocuments::Open(installedFile), iGetResourceModule()).Parse(&db);
}

void kxtMaterialDBsManager::iRebuildDatabaseList() {
    dbs_ = {&nativeDB_, &nativeDinDB_};
    dbs_.reserve(2 + customDBs_.size());
    for (kxtMaterialDB& db : customDBs_) dbs_.push_back(&db);
}
