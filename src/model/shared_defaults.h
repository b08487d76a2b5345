// The module-wide answers of failed lookups that return references.
#pragma once

#include <string>

#include "kxtmat/mat_phys_prop.h"

namespace kxt::model {

// One empty string shared by every getter that answers a failed lookup with a
// reference. Created on first use; it lives until the module is unloaded.
const std::u16string& SharedEmptyString() noexcept;

// One default property (empty names, value 0.0) answered by every failed
// modifiable property lookup. Created on first use; callers must not change it.
kxtMatPhysProp& SharedDefaultProperty() noexcept;

}  // namespace kxt::model
