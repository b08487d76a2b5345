// What the targets that drive a whole kxtMaterialDBsManager share: the
// process's installation, the host's list of libraries, a manager set up as
// the add-in sets one up, and the checks of the pointers that it keeps.
#pragma once

#include <string>
#include <vector>

#include <kxtmat/kxtmat.h>

#include "support/temp_installation.h"

namespace kxt::fuzz {

// The process's installation, with this module loaded from it; the registry
// file that the favourites read is its user/registry.reg.
const test::TempInstallation& FuzzInstallation();

// Initialised as the add-in does it: resource module, host version 33 (the
// key "Korvex 2025"), user data in the installation's user/ folder. Keeps one
// manager's resource module loaded for the process, so that each input does
// not load it afresh.
void SetUpManager(kxtMaterialDBsManager& manager);

// The library files that the host lists: standard, DIN, both copies of the
// sustainability extras and user/My Materials.kvxmat.
std::vector<std::u16string> HostList();

// Every class of db points to db, every material to its class.
void RequireOwnership(const kxtMaterialDB& db);

// Whether material is one of db's materials; reads material, so that a
// dangling one shows as a use after free.
bool Holds(const kxtMaterialDB& db, const kxtMaterialBase* material);

// The database list is [native, DIN, custom...] and every favourite lies in one of them.
void RequireLiveLists(kxtMaterialDBsManager& manager);

}  // namespace kxt::fuzz
