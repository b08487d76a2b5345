// Loads an installation as the add-in does: the sibling modules first, then a
// manager initialised and loaded with the host's list of library files.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <kxtmat/kxtmat.h>

#include "options.h"

namespace kxt::cli {

// A module loaded by the host, released when the object goes.
class HostModule {
public:
    HostModule() = default;
    // Loads the module of that logical name ("kxTerraU.dll") from folder.
    // Throws CliError (exit 2) when it cannot be loaded.
    HostModule(const std::u16string& folder, const std::u16string& moduleName);
    HostModule(HostModule&& other) noexcept;
    HostModule& operator=(HostModule&& other) noexcept;
    HostModule(const HostModule&) = delete;
    HostModule& operator=(const HostModule&) = delete;
    ~HostModule();

    // The address of the module's export of that name; null when it has none.
    void* Export(const char* name) const;

private:
    void* handle_ = nullptr;
};

class Installation {
public:
    // Sets the environment for the stand-in modules, loads them, builds the
    // manager and, with load, loads every library. Throws CliError (exit 2)
    // when the installation folder, a module, a library or the registry file
    // given cannot be read.
    explicit Installation(const Options& options, bool load = true);

    kxtMaterialDBsManager& Manager() { return *manager_; }
    // The library files handed to UpdateMaterials, as the host listed them.
    const std::vector<std::u16string>& HostList() const { return hostList_; }

private:
    HostModule mainModule_;
    HostModule installModule_;
    std::vector<std::u16string> hostList_;
    std::unique_ptr<kxtMaterialDBsManager> manager_;  // destroyed before the modules
};

}  // namespace kxt::cli
