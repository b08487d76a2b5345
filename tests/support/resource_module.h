// The English stand-in resource module of the build's sample installation,
// loaded once per test program and released when it exits.
#pragma once

#include "platform/modules.h"

namespace kxt::test {

// The loaded module; null when it could not be loaded.
platform::ModuleHandle EnglishResourceModule();

}  // namespace kxt::test
