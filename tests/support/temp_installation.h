// A temporary installation laid out like a real one: the sample's stand-in
// modules, optionally its data and the test's files, with the main and
// installation modules loaded as the host loads them. Loaded modules stay for
// the life of the process, so the first Get() builds the one installation.
// The root is T/programs/korvex/kxterra in a temporary folder T, so a missing
// data folder falls back to T/programs/kvxapp/data, still inside T.
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
    bool withOwnModule = false;   // also load kxTerraMatU, for programs that link the areas
    bool withSampleData = false;  // copy the sample's data/ and lang/ trees
    std::vector<InstallationFile> files;  // written after the copies
};

class TempInstallation {
public:
    // Built and loaded on the first call; later calls ignore their options.
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

}  // namespace kxt::test
