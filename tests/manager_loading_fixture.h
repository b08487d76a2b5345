// A small installation for the manager's tests, user data folders, custom
// libraries and registry exports.
#pragma once

#include <kxtmat/kxtmat.h>

#include <string>
#include <string_view>
#include <vector>

#include "support/temp_installation.h"

namespace kxt::test {

// One material of a library file; link fields empty for no link.
struct LibMaterial { std::string name, matid = {}, linkId = {}, linkDb = {}; };
struct LibClass { std::string name; std::vector<LibMaterial> materials; };
// A material library file (".kvxmat") holding these classes.
std::string LibraryXml(const std::vector<LibClass>& classes);

// The installation, built on first use: standard (Steel: Carbon Steel KM01,
// Stainless Steel KM02; Plastics: Nylon KM03), DIN (Steel: 1.0038, 1.4301,
// mapped to KM01, KM02) and extras (Recycled: Recycled Steel; Bio: Bio Resin)
// libraries, each also in French, and process settings (Carbon Steel milled,
// recycled content 80/10/25; Recycled Steel turned).
const TempInstallation& Installation();
bool English();  // KXT_LANGUAGE unset or "english"

// A fresh user data folder. With extras, it holds the user's extras copy
// (Recycled: Recycled Steel; Reclaimed: Reclaimed Brick); with processes,
// process settings that give Carbon Steel the process Forged only.
std::u16string NewUserFolder(bool withExtras = true, bool withProcesses = false);
// Writes a file into folder (as the module spells paths) and returns its path.
std::u16string WriteFile(const std::u16string& folder, std::string_view name, std::string_view bytes);
std::u16string FolderOf(const std::u16string& path);
std::u16string Upper(std::u16string text);  // ASCII letters only

// "My Materials" (Brackets: Bracket linked to KM01, Greener linked to
// Recycled Steel in the extras, Plain) and "Other Materials" (Misc: Bracket,
// Widget), written to a fresh folder.
struct CustomLibraries { std::u16string myMaterials, otherMaterials; };
CustomLibraries NewCustomLibraries();

// A standard library file as the host lists it from its language folder.
std::u16string LangFolderLibrary(std::u16string_view fileName);
// Sets the manager up as the host does (resources, version 33, user folder) and loads a copy of files.
void Load(kxtMaterialDBsManager& manager, const std::u16string& userFolder, std::vector<std::u16string> files, int flag = 0);

// Points KXT_REGISTRY_FILE at an export whose key "Korvex <keyNumber>" holds
// the given lines, for each key given; FavouriteLines gives a count and one
// string value per favourite, "_FavMaterial1" onwards.
struct RegistryKeyLines { int keyNumber; std::vector<std::string> lines; };
void UseRegistry(const std::vector<RegistryKeyLines>& keys);
std::vector<std::string> FavouriteLines(const std::vector<std::string>& favourites);

std::vector<std::u16string> NamesOf(const std::vector<kxtMaterialBase*>& materials);
std::vector<std::u16string> ClassNamesOf(const kxtMaterialDB& db);
kxtMaterialBase* MaterialAt(const kxtMaterialDB& db, unsigned int i, unsigned int j);  // null when out of range

// The database list holds native, DIN and every custom database in order, and
// every pointer the manager hands out points into its current storage.
void ExpectPointersIntoLiveStorage(kxtMaterialDBsManager& manager);

}  // namespace kxt::test
