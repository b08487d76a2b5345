// A small installation for the hardening tests (a few classes in each
// library, process settings, the DIN mapping, both extras libraries, a custom
// library and favourites) and the checks of what a manager holds after a load.
#pragma once

#include <kxtmat/kxtmat.h>

#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "support/live_objects.h"
#include "support/temp_installation.h"

namespace kxt::test {

// The installation of this process, built on first use; KXT_REGISTRY_FILE
// points at its favourites.
const TempInstallation& SmallInstallation();

// Replaces one file of the installation ('/'-separated path below its root).
void WriteInstallationFile(std::string_view relative, std::string_view bytes);

// The host's list: both standard libraries, both extras copies, the custom library.
std::vector<std::u16string> SmallHostList();

// Sets the manager up as the host does: resources, host version 33, user folder.
void SetUpAsHost(kxtMaterialDBsManager& manager);

// What a load produced, for comparing two loads: per entry of the database
// list its type, and per class its name and material names; then the
// favourites' names.
std::vector<std::u16string> ShapeOf(kxtMaterialDBsManager& manager);


}  // namespace kxt::test
