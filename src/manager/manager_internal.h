// Helpers shared by the manager's loading and custom-change sources.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include <kxtmat/kxtmat.h>

#include "manager/shared_documents.h"

namespace kxt::manager {

// Reads the library file at path into db (whose type is set) with a fresh
// reader. The readers below take their documents from SharedDocuments::Open.
void ReadLibrary(kxtMaterialDB& db, const std::u16string& path);

// Links db's materials to the materials that the library at path names in
// the first fitting database of `databases`.
void LinkLibrary(kxtMaterialDB& db, const std::u16string& path, const std::vector<kxtMaterialDB*>& databases);

// ReadLibrary, then LinkLibrary, from one read of the file and, into an
// empty db, one walk of it.
void ReadAndLinkLibrary(kxtMaterialDB& db, const std::u16string& path, const std::vector<kxtMaterialDB*>& databases);

// While a diagnostics sink is installed, reports path as a missing file when
// it does not exist, saying what the load does instead; otherwise nothing.
void NoteIfMissing(const std::u16string& path, const char* instead);

// Announces to documents the two passes of iReadProcessSettings (the user's
// file, the installed fallback) for the sustainability data path userDataPath.
void ExpectProcessSettings(SharedDocuments& documents, const std::u16string& userDataPath);

// Announces to documents the passes of iFILLSustainExtrasDBs(path), its
// process settings included. Returns the path that the filled database bears.
std::u16string ExpectSustainExtrasPasses(SharedDocuments& documents, const std::u16string& path,
                                         const std::u16string& userDataPath);

// A custom material's link into the sustainability extras database,
// remembered by the linked material's native name while that database is
// refilled.
struct RecordedLink {
    kxtMaterialBase* material;
    std::u16string linkedName;
};

// To be called while the materials of `leaving` are still alive, before they
// are freed. Drops the favourites that point at them and clears the link of
// every material of the other custom databases that points at them. Links
// into `refilled` (one of `leaving`, or null) are returned, to be re-resolved
// by RelinkIntoExtras once it has been refilled.
std::vector<RecordedLink> ReleaseMaterialsOf(std::initializer_list<const kxtMaterialDB*> leaving,
                                             const kxtMaterialDB* refilled,
                                             std::vector<kxtMaterialBase*>& favourites,
                                             std::vector<kxtMaterialDB>& customDBs);

// Points each recorded material at the material of the refilled extras
// database that its recorded name finds by the rule that links into such a
// database at read time (xml::FindExtrasLink), or at nothing.
void RelinkIntoExtras(const std::vector<RecordedLink>& links, const kxtMaterialDB& extras);

}  // namespace kxt::manager
