// A temporary installation laid out like a real one, for tests that need the
// sibling modules loaded: the stand-in modules copied from the sample
// installation, optionally the sample data and files that the test gives, and
// the main and installation modules loaded from it as the host would load
// them. Loaded modules stay for the life of the process, so a process has one
// installation: the first Get() builds it, later calls return it.
//
// The root lies three folders deep in a temporary folder T (T/programs/
// korvex/kxterra), so a data folder that the installation lacks falls back to
// T/programs/kvxapp/data, still inside T.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "support/temp_dir.h"

namespace kxt::test {

struct InstallationFile {
    std::string relativePath;  // '/'-separated, below the root
    std::string bytes;
};

struct InstallationOptions {
    // Also copy and load this module (kxTerraMatU), for programs that link
    // the areas rather than the module, so that it finds its folder here.
    bool withOwnModule = false;
    // Copy the sample installation's data/ and lang/ trees.
    bool withSampleData = false;
    // Written after the copies, replacing any file of the same name.
    std::vector<InstallationFile> files;
};

class TempInstallation {
public:
    // The process's installation, built and loaded on the first call with
    // these options; the options of later calls are ignored.
    static const TempInstallation& Get(const InstallationOptions& options = {});

    const std::filesystem::path& Root() const noexcept { return root_; }
    // The root, or a '/'-separated path below it, as the module spells paths
    // (UTF-16, the platform's separator).
    std::u16string Path(std::string_view relative = {}) const;
    // Writes a file below the root, creating its folders; returns its path.
    std::u16string Write(std::string_view relative, std::string_view bytes) const;

    TempInstallation(const TempInstallation&) = delete;
    TempInstallation& operator=(const TempInstallation&) = delete;

private:
    explicit TempInstallation(const InstallationOptions& options);

    TempDir temp_;
    std::filesystem::path root_;
};

// The file name of a stand-in module on this platform ("libkxTerraU.so" for
// the stem "kxTerraU").
std::string ModuleFileOf(std::string_view stem);

}  // namespace kxt::test
