// The module's entry point. On load the host framework learns of the module
// through its exported classes; the resource module it needs is registered by
// kxtMaterialDBsManager::InitResourcesData. This file also gives the host a
// way to tell which build of the module it has loaded.
#include <kxtmat/export.h>

#ifndef KXTMAT_VERSION_STRING
#define KXTMAT_VERSION_STRING "0.1.0"
#endif

extern "C" KXTMAT_API const char* kxtmatModuleVersion() {
    return KXTMAT_VERSION_STRING;
}
