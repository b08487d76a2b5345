#include "installation.h"

#include <string_view>
#include <utility>

#include "cli_error.h"
#include "paths/library_files.h"
#include "platform/environment.h"
#include "platform/files.h"
#include "platform/modules.h"
#include "platform/registry.h"
#include "platform/text.h"

namespace kxt::cli {
namespace {

// The sibling modules the host loads, by their logical names.
constexpr char16_t kMainModule[] = u"kxTerraU.dll";
constexpr char16_t kInstallModule[] = u"kxTerraTPU.dll";

// Where the sample installation keeps the user's data, registry export and custom library.
constexpr char16_t kSampleFolder[] = u"sample";
constexpr char16_t kSampleUserFolder[] = u"user";
constexpr char16_t kSampleRegistryFile[] = u"registry.reg";
constexpr char16_t kSampleCustomLibrary[] = u"My Materials.kvxmat";

using platform::JoinPath;

// The sample installation built beside the executable.
std::u16string SampleFolder() {
    const std::u16string executable = platform::ModuleFileName(nullptr);
    return JoinPath(std::u16string(platform::SplitPath(executable).folder), {kSampleFolder});
}

std::u16string RequireFolder(std::u16string folder, const char* what) {
    if (!platform::IsDirectory(folder)) throw CliError(kExitUsage, std::string("cannot read ") + what + " folder " + Quoted(folder));
    return folder;
}

void RequireFile(const std::u16string& file, const char* what) {
    if (!platform::PathExists(file) || platform::IsDirectory(file))
        throw CliError(kExitUsage, std::string("cannot read ") + what + " " + Quoted(file));
}

// KXT_LANGUAGE and KXT_REGISTRY_FILE must be set before the stand-ins and the
// registry layer first read them.
void SetHostEnvironment(const Options& options, const std::u16string& sample) {
    if (options.language) platform::SetEnvironmentValue("KXT_LANGUAGE", *options.language);
    if (options.registryFile) {
        const std::u16string file = platform::Utf8ToUtf16(*options.registryFile);
        if (!platform::kRegistryIsAnExportFile)
            throw CliError(kExitUsage, "cannot take the favourites from " + Quoted(file) + ": here they come from the registry itself");
        RequireFile(file, "registry file");
        platform::SetEnvironmentValue("KXT_REGISTRY_FILE", *options.registryFile);
    } else if (platform::kRegistryIsAnExportFile && !platform::GetEnvironmentValue("KXT_REGISTRY_FILE")) {
        const std::u16string registry = JoinPath(sample, {kSampleRegistryFile});
        platform::SetEnvironmentValue("KXT_REGISTRY_FILE", platform::Utf16ToUtf8(registry));
    }
}

// The add-in's library list, in the language folder that the main module reports.
std::vector<std::u16string> HostLibraryList(const HostModule& mainModule, const std::u16string& userData,
                                            std::vector<std::u16string> custom) {
    using LangPathFunction = void (*)(std::u16string&);
    const auto langPathExport = reinterpret_cast<LangPathFunction>(mainModule.Export("GetDefaultLangPath"));
    if (langPathExport == nullptr) throw CliError(kExitUsage, "the main module has no GetDefaultLangPath");
    std::u16string langFolder;  // ends with a separator
    langPathExport(langFolder);
    return paths::HostLibraryList(langFolder, userData, std::move(custom));
}

}  // namespace

HostModule::HostModule(const std::u16string& folder, const std::u16string& moduleName)
    : handle_(platform::LoadModule(JoinPath(folder, {moduleName}))) {
    if (handle_ == nullptr)
        throw CliError(kExitUsage, "cannot load " + platform::Utf16ToUtf8(moduleName) + " from " + Quoted(folder));
}

HostModule::HostModule(HostModule&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}

HostModule& HostModule::operator=(HostModule&& other) noexcept {
    std::swap(handle_, other.handle_);
    return *this;
}

void* HostModule::Export(const char* name) const {
    return handle_ != nullptr ? platform::FindExport(handle_, name) : nullptr;
}

HostModule::~HostModule() {
    if (handle_ != nullptr) platform::ReleaseModule(handle_);
}

Installation::Installation(const Options& options, bool load) {
    const std::u16string sample = SampleFolder();
    const std::u16string install = RequireFolder(options.installDir.value_or(sample), "installation");
    const std::u16string userData = options.userDataDir
                                        ? RequireFolder(*options.userDataDir, "user data")
                                        : JoinPath(sample, {kSampleUserFolder});
    std::vector<std::u16string> custom = options.libraries;
    for (const auto& library : custom) RequireFile(library, "library");
    if (custom.empty()) {
        std::u16string sampleLibrary = JoinPath(sample, {kSampleUserFolder, kSampleCustomLibrary});
        if (platform::PathExists(sampleLibrary)) custom.push_back(std::move(sampleLibrary));
    }

    SetHostEnvironment(options, sample);
    mainModule_ = HostModule(install, kMainModule);
    installModule_ = HostModule(install, kInstallModule);

    hostList_ = HostLibraryList(mainModule_, userData, std::move(custom));
    manager_ = std::make_unique<kxtMaterialDBsManager>();
    manager_->InitResourcesData();
    manager_->SetKXVersion(options.hostVersion);
    manager_->SetProgDataSustainabilityPath(userData);
    if (!load) return;
    std::vector<std::u16string> files = hostList_;  // the manager may drop an entry from its copy
    manager_->UpdateMaterials(files, 0);
}

}  // namespace kxt::cli
