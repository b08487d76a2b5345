// The small installation of the hardening tests (the whole-load fuzz
// target's seed: a few classes per library, process settings, the DIN
// mapping, both extras copies, a custom library and favourites).
#pragma once

#include <kxtmat/kxtmat.h>

#include <string>
#include <vector>

#include "support/live_objects.h"

namespace kxt::test {

// Sets the manager up as the host does: resources, host version 33 and the
// installation's user folder. The first call builds and loads the
// installation and points KXT_REGISTRY_FILE at its favourites.
void SetUpAsHost(kxtMaterialDBsManager& manager);

// The host's list: both standard libraries, both extras copies, the custom library.
std::vector<std::u16string> SmallHostList();

}  // namespace kxt::test
