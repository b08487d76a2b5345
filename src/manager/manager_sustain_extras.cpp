// The sustainability extras database: the English library, in other
// languages completed by the user's copy and trimmed by the language copy.
#include "kxtmat/material_dbs_manager.h"
#include "manager/manager_internal.h"
#include "paths/data_paths.h"
#include "paths/sibling_services.h"
#include "platform/text.h"
#include "xml/phys_prop_parser.h"

void kxtMaterialDBsManager::iFILLSustainExtrasDBs(const std::u16string& path) {
    namespace paths = kxt::paths;
    kxtMaterialDB& db = sustainExtrasDB_;
    db.Clear();

    const std::u16string languageDirectory = paths::LanguageDirectory();
    const bool english = kxt::platform::EqualsNoCase(paths::LanguageName(languageDirectory), u"english");

    // In English the listed file is the library; in any other language the
    // installed English copy is, whatever was listed.
    const std::u16string mainFile = english ? path : paths::InstalledSustainExtras();
    db.SetPath(mainFile);
    kxt::manager::ReadLibrary(db, mainFile);

    if (!english) {
        // The user's own classes follow the installed ones; the classes that
        // the language copy lists are dropped.
        const std::u16string userFile = paths::UserSustainExtras(progDataSustainabilityPath_);
        db.SetPath(userFile);
        kxt::manager::ReadLibrary(db, userFile);
        const std::u16string languageCopy = paths::InstalledLanguageSustainExtras();
        kxt::manager::NoteIfMissing(languageCopy, "no class of the English copy is left out");
        kxt::xml::kxtXMLPhysPropParser(languageCopy).RemoveListedClasses(&db);
    }

    iReadProcessSettings(db);
    const std::u16string languageNames = paths::ReportedLibrary(paths::DefaultLangPath(), paths::kSustainExtrasFile);
    kxt::manager::NoteIfMissing(languageNames, "the names of its materials stay those of the English library");
    kxt::xml::kxtXMLPhysPropParser(languageNames).ParseLanguageNames(&db);
}
