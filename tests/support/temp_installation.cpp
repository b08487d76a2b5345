#include "support/temp_installation.h"

#include <stdexcept>

#include "platform/modules.h"
#include "platform/path_text.h"
#include "platform/text.h"

namespace kxt::test {
namespace fs = std::filesystem;

namespace {

const fs::path kSample = KXTMAT_SAMPLE_DIR;
constexpr std::string_view kRootBelowTemp = "programs/korvex/kxterra";

fs::path Below(const fs::path& root, std::string_view relative) {
    return root / Utf8Path(relative);
}

// Copies a module, named by its logical name ("kxTerraU.dll"), under its file name on this platform.
void CopyModule(std::u16string_view logicalName, const fs::path& from, const fs::path& to) {
    const fs::path file(platform::NativeModuleFileName(logicalName));
    fs::create_directories(to);
    fs::copy_file(from / file, to / file, fs::copy_options::overwrite_existing);
}

void LoadFrom(const TempInstallation& installation, std::u16string_view logicalName) {
    if (platform::LoadModule(platform::JoinPath(installation.Path(), {logicalName})) == nullptr)
        throw std::runtime_error("cannot load the stand-in module " + platform::Utf16ToUtf8(logicalName));
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
    CopyModule(u"kxTerraU.dll", kSample, root_);
    CopyModule(u"kxTerraTPU.dll", kSample, root_);
    if (options.withOwnModule) CopyModule(u"kxTerraMatU.dll", kSample, root_);
    for (const auto& entry : fs::directory_iterator(kSample / "lang")) {
        if (entry.is_directory()) CopyModule(u"kxTerraMatResU.dll", entry.path(), root_ / "lang" / entry.path().filename());
    }
    for (const auto& file : options.files) Write(file.relativePath, file.bytes);

    LoadFrom(*this, u"kxTerraU.dll");
    LoadFrom(*this, u"kxTerraTPU.dll");
    if (options.withOwnModule) LoadFrom(*this, u"kxTerraMatU.dll");
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
