// The sustainability extras database: the English library, in other
// languages completed by the user's copy and trimmed by the language copy.
#include <optional>
#include <vector>

#include "kxtmat/material_dbs_manager.h"
#include "manager/manager_internal.h"
#include "paths/data_paths.h"
#include "paths/sibling_services.h"
#include "platform/text.h"
#include "xml/phys_prop_parser.h"

namespace kxt::manager {
namespace {

// The library files that the extras database is filled from, for the path
// under which the caller found the library.
struct ExtrasFiles {
    // Read one after the other into the database, which bears the last one's path.
    std::vector<std::u16string> records;
    // Its classes leave the database (languages other than English).
    std::optional<std::u16string> listedClasses;
    // Gives the language names, after the process settings.
    std::u16string languageNames;
};

ExtrasFiles FilesOf(const std::u16string& path, const std::u16string& userDataPath) {
    ExtrasFiles files;
    // In English the listed file is the library; in any other language the
    // installed English copy is, whatever was listed, followed by the user's
    // own classes, and the classes that the language copy lists are dropped.
    if (platform::EqualsNoCase(paths::LanguageName(paths::LanguageDirectory()), u"english")) {
        files.records = {path};
    } else {
        files.records = {paths::InstalledSustainExtras(), paths::UserSustainExtras(userDataPath)};
        files.listedClasses = paths::InstalledLanguageSustainExtras();
    }
    files.languageNames = paths::ReportedLibrary(paths::DefaultLangPath(), paths::kSustainExtrasFile);
    return files;
}

}  // namespace

std::u16string ExpectSustainExtrasPasses(SharedDocuments& documents, const std::u16string& path,
                                         const std::u16string& userDataPath) {
    const ExtrasFiles files = FilesOf(path, userDataPath);
    for (const std::u16string& file : files.records) documents.Expect(file);
    if (files.listedClasses) documents.Expect(*files.listedClasses);
    ExpectProcessSettings(documents, userDataPath);
    documents.Expect(files.languageNames);
    return files.records.back();
}

}  // namespace kxt::manager

void kxtMaterialDBsManager::iFILLSustainExtrasDBs(const std::u16string& path) {
    using kxt::manager::SharedDocuments;
    kxtMaterialDB& db = sustainExtrasDB_;
    db.Clear();

    const kxt::manager::ExtrasFiles files = kxt::manager::FilesOf(path, progDataSustainabilityPath_);
    for (const std::u16string& file : files.records) {
        db.SetPath(file);
        kxt::manager::ReadLibrary(db, file);
    }
    if (files.listedClasses) {
        kxt::manager::NoteIfMissing(*files.listedClasses, "no class of the English copy is left out");
        kxt::xml::kxtXMLPhysPropParser(SharedDocuments::Open(*files.listedClasses)).RemoveListedClasses(&db);
    }
    iReadProcessSettings(db);
    kxt::manager::NoteIfMissing(files.languageNames, "the names of its materials stay those of the English library");
    kxt::xml::kxtXMLPhysPropParser(SharedDocuments::Open(files.languageNames)).ParseLanguageNames(&db);
}
