#include "support/temp_installation.h"

#include <stdexcept>

#include "platform/modules.h"

namespace kxt::test {
namespace fs = std::filesystem;

namespace {

const fs::path kSample = KXTMAT_SAMPLE_DIR;
constexpr std::string_view kRootBelowTemp = "programs/korvex/kxterra";

fs::path Below(const fs::path& root, std::string_view relative) {
    return root / Utf8Path(relative);
}

void CopyModule(std::string_view stem, const fs::path& from, const fs::path& to) {
    const std::string file = ModuleFileOf(stem);
    fs::create_directories(to);
    fs::copy_file(from / file, to / file, fs::copy_options::overwrite_existing);
}

void LoadFrom(const TempInstallation& installation, std::string_view stem) {
    if (platform::LoadModule(installation.Path(ModuleFileOf(stem))) == nullptr)
        throw std::runtime_error("cannot load the stand-in module " + std::string(stem));
}

}  // namespace

const TempInstallation& TempInstallation::Get(const InstallationOptions& options) {
    static const TempInstallation installation(options);
    return installation;
}

TempInstallation::TempInstallation(const InstallationOptions& options)
    : root_(Below(temp_.Path(), kRootBelowTemp)) {
    fs::create_directories(root_);
    if (options.withSampleData) {
        for (const char* tree : {"data", "lang"})
            if (fs::exists(kSample / tree)) fs::copy(kSample / tree, root_ / tree, fs::copy_options::recursive);
    }
    CopyModule("kxTerraU", kSample, root_);
    CopyModule("kxTerraTPU", kSample, root_);
    if (options.withOwnModule) CopyModule("kxTerraMatU", kSample, root_);
    for (const auto& entry : fs::directory_iterator(kSample / "lang")) {
        if (entry.is_directory()) CopyModule("kxTerraMatResU", entry.path(), root_ / "lang" / entry.path().filename());
    }
    for (const auto& file : options.files) Write(file.relativePath, file.bytes);

    LoadFrom(*this, "kxTerraU");
    LoadFrom(*this, "kxTerraTPU");
    if (options.withOwnModule) LoadFrom(*this, "kxTerraMatU");
}

std::u16string TempInstallation::Path(std::string_view relative) const {
    return ModulePath(relative.empty() ? root_ : Below(root_, relative));
}

std::u16string TempInstallation::Write(std::string_view relative, std::string_view bytes) const {
    const fs::path file = Below(root_, relative);
    fs::create_directories(file.parent_path());
    temp_.Write(std::string(kRootBelowTemp) + "/" + std::string(relative), bytes);
    return Path(relative);
}

}  // namespace kxt::test
