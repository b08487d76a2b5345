// The framework's string resources: the current resource module (switched
// around each load of translated strings) and the list of known resource
// modules that the framework-wide lookup searches.
#pragma once

#include <string>

#include "platform/modules.h"

namespace kxt::module {

using platform::ModuleHandle;

// The module that LoadResourceString reads from; null when none is set.
ModuleHandle CurrentResourceModule() noexcept;

// Makes `module` the current resource module for the scope's lifetime and
// restores the previous one on exit (also when an exception leaves the scope).
class ScopedResourceModule {
public:
    explicit ScopedResourceModule(ModuleHandle module) noexcept;
    ~ScopedResourceModule();
    ScopedResourceModule(const ScopedResourceModule&) = delete;
    ScopedResourceModule& operator=(const ScopedResourceModule&) = delete;

private:
    ModuleHandle previous_;
};

// String `id` of the current resource module; empty when there is no current
// module or it has no such string.
std::u16string LoadResourceString(unsigned id);

// Adds a module to the known resource modules (counted: a module registered
// twice stays known until unregistered twice).
void RegisterResourceModule(ModuleHandle module);
void UnregisterResourceModule(ModuleHandle module);

// The known resource module registered last; null when none is known.
ModuleHandle LatestResourceModule() noexcept;

// The framework-wide lookup: string `id` of the first known resource module
// that has it, most recently registered first; empty when none has it.
std::u16string FindFrameworkString(unsigned id);

}  // namespace kxt::module
