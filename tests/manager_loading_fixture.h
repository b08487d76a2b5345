// A small installation for the manager's loading tests: standard, DIN and
// sustainability extras libraries in English and French, process settings, a
// DIN mapping, user data folders, custom libraries and registry exports.
#pragma once

#include <kxtmat/kxtmat.h>

#include <string>
#include <string_view>
#include <vector>

#include "support/temp_installation.h"

namespace kxt::test {

// One material element of a library file; link fields empty for no link.
struct LibMaterial {
    std::string name;
    std::string matid;
    std::string linkId;
    std::string linkDb;
};
struct LibClass {
    std::string name;
    std::vector<LibMaterial> materials;
};

// A material library file (".kvxmat") holding these classes.
std::string LibraryXml(const std::vector<LibClass>& classes);

// The installation of this process, built on first use: the standard
// libraries (Steel: Carbon Steel KM01, Stainless Steel KM02; Plastics: Nylon
// KM03), the DIN library (Steel: 1.0038, 1.4301, both mapped), the installed
// extras (Recycled: Recycled Steel; Bio: Bio Resin) and the installed process
// settings (Carbon Steel milled, recycled content 80/10/25; Recycled Steel
// turned), each also in French.
const TempInstallation& Installation();

// The user-interface language this process runs in ("english" by default).
std::string Language();
bool English();

// A fresh user data folder below the installation's temporary folder
// (folders created earlier by other tests are not reused). With extras, it
// holds the user's copy of the extras library (Recycled: Recycled Steel;
// Reclaimed: Reclaimed Brick); with processes, a process settings file that
// gives Carbon Steel the process Forged only.
std::u16string NewUserFolder(bool withExtras = true, bool withProcesses = false);

// The folder of a file path (everything before its last separator).
std::u16string FolderOf(const std::u16string& path);
// The text with ASCII letters in upper case.
std::u16string Upper(std::u16string text);

// Writes a file into folder (as the module spells paths) and returns its path.
std::u16string WriteFile(const std::u16string& folder, std::string_view name, std::string_view bytes);

// The custom library "My Materials" (Brackets: Bracket linked to KM01,
// Greener linked to Recycled Steel in the extras, Plain without link) and
// "Other Materials" (Misc: Bracket, Widget), written to a fresh folder.
struct CustomLibraries {
    std::u16string myMaterials;
    std::u16string otherMaterials;
};
CustomLibraries NewCustomLibraries();

// The host's list: the standard and DIN libraries of the language folder,
// both copies of the extras library, then the custom libraries.
std::vector<std::u16string> HostList(const std::u16string& userFolder, const std::vector<std::u16string>& custom);

// paths::ReportedLibrary and friends, for tests that build lists by hand.
std::u16string LangFolderLibrary(std::u16string_view fileName);
std::u16string NativeFolderLibrary(std::u16string_view fileName);
std::u16string LanguageFolderExtras();

// Sets the manager up as the host does (resources, host version 33, user
// folder) and loads it from its own copy of files.
void Load(kxtMaterialDBsManager& manager, const std::u16string& userFolder, std::vector<std::u16string> files,
          int flag = 0);

// A registry export whose key for `keyNumber` ("Korvex <n>") holds the given
// lines (e.g. "\"__NumOfFavs\"=dword:00000002"); KXT_REGISTRY_FILE is
// pointed at it. Several keys may be given at once.
struct RegistryKeyLines {
    int keyNumber;
    std::vector<std::string> lines;
};
void UseRegistry(const std::vector<RegistryKeyLines>& keys);
// The lines of a count and one string value per favourite, "_FavMaterial1" onwards.
std::vector<std::string> FavouriteLines(const std::vector<std::string>& favourites);
// Points KXT_REGISTRY_FILE at a file that does not exist.
void UseNoRegistry();

// The names of the materials of a list, in order.
std::vector<std::u16string> NamesOf(const std::vector<kxtMaterialBase*>& materials);
// The class names of db, in order.
std::vector<std::u16string> ClassNamesOf(const kxtMaterialDB& db);
// Material j of class i of db; null when out of range.
kxtMaterialBase* MaterialAt(const kxtMaterialDB& db, unsigned int i, unsigned int j);

// The database list holds native, DIN and every custom database in order, and
// every pointer the manager hands out points into its current storage.
void ExpectPointersIntoLiveStorage(kxtMaterialDBsManager& manager);

}  // namespace kxt::test
