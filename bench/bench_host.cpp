#include "bench_host.h"

#include <malloc.h>

#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <string>
#include <system_error>

#include "installation_generator.h"
#include "paths/data_paths.h"
#include "paths/sibling_services.h"
#include "platform/modules.h"

namespace kxt::bench {
namespace {

namespace fs = std::filesystem;

const fs::path kSample = KXTMAT_SAMPLE_DIR;

std::u16string Wide(const fs::path& path) { return path.u16string(); }

void CopyModule(const fs::path& from, const fs::path& to) {
  fs::create_directories(to.parent_path());
  fs::copy_file(from, to, fs::copy_options::overwrite_existing);
}

// Loads a sibling module as the add-in does: with its code, not for resources only.
void LoadSiblingModule(const fs::path& file) {
  if (platform::LoadModule(Wide(file)) == nullptr)
    throw std::runtime_error("cannot load the stand-in module " + file.string());
}

// Replaces whatever is at `link` with a symbolic link to the folder `target`.
void LinkFolder(const fs::path& target, const fs::path& link) {
  std::error_code error;
  fs::remove_all(link, error);
  fs::create_directories(link.parent_path());
  fs::create_directory_symlink(target, link);
}

// A number in kB from a line of /proc/self/status, in bytes.
std::size_t StatusBytes(const std::string& field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(field + ":", 0) == 0) return std::strtoull(line.c_str() + field.size() + 1, nullptr, 10) * 1024;
  }
  return 0;
}

}  // namespace

BenchHost::BenchHost() : root_(fs::path(KXTMAT_BENCH_DATA_DIR) / "host") {
  fs::create_directories(root_);
  for (const char* module : {"libkxTerraU.so", "libkxTerraTPU.so", "libkxTerraMatU.so"})
    CopyModule(kSample / module, root_ / module);
  CopyModule(kSample / "lang" / "english" / "libkxTerraMatResU.so",
             root_ / "lang" / "english" / "libkxTerraMatResU.so");
  // The stand-ins answer in English, whatever the caller's environment says.
  setenv("KXT_LANGUAGE", "english", 1);
  for (const char* module : {"libkxTerraU.so", "libkxTerraTPU.so", "libkxTerraMatU.so"}) LoadSiblingModule(root_ / module);
}

BenchHost& BenchHost::Use(const fs::path& data) {
  static BenchHost host;
  if (host.data_ != data) host.Link(data);
  return host;
}

void BenchHost::Link(const fs::path& data) {
  LinkFolder(data / "lang" / "english" / "kvxmaterials", root_ / "lang" / "english" / "kvxmaterials");
  LinkFolder(data / "data", root_ / "data");
  LinkFolder(data / "user", root_ / "user");
  setenv("KXT_REGISTRY_FILE", (data / kRegistryFile).c_str(), 1);
  data_ = data;
}

std::vector<std::u16string> BenchHost::HostList() const {
  return paths::HostLibraryList(Wide(root_ / "user"), {CustomLibrary()});
}

std::u16string BenchHost::CustomLibrary() const { return Wide(root_ / kCustomLibraryFile); }

std::unique_ptr<kxtMaterialDBsManager> BenchHost::NewManager() const {
  auto manager = std::make_unique<kxtMaterialDBsManager>();
  manager->InitResourcesData();
  manager->SetKXVersion(kHostVersion);
  manager->SetProgDataSustainabilityPath(Wide(root_ / "user"));
  return manager;
}

// In English with the user's copy of the extras library listed, the passes
// of a full load parse the standard and DIN libraries twice (records, then
// language names); the process settings twice (neither the standard nor the
// extras database has a user file, so both fall back on the installed one);
// the user's extras library twice (records, then links); the language
// folder's extras once (language names); the custom library twice (records,
// then links). Any other flag parses only what the custom entries need. The
// load itself reads each of these files once, for all its passes over it.
std::vector<LoadedFile> BenchHost::ParsedFiles(int flag) const {
  std::vector<LoadedFile> files{{root_ / kProcessSettingsFile, flag == 0 ? 2 : 1},
                                {root_ / kUserExtrasLibraryFile, 2},
                                {root_ / kExtrasLibraryFile, 1},
                                {root_ / kCustomLibraryFile, 2}};
  if (flag == 0) {
    files.push_back({root_ / kStandardLibraryFile, 2});
    files.push_back({root_ / kDinLibraryFile, 2});
  }
  return files;
}

// A change of a custom library reads it once for its records and links.
std::vector<LoadedFile> BenchHost::CustomFiles() const { return {{root_ / kCustomLibraryFile, 1}}; }

std::size_t Bytes(const std::vector<LoadedFile>& files, bool perParse) {
  std::size_t bytes = 0;
  for (const LoadedFile& file : files)
    bytes += fs::file_size(file.path) * static_cast<std::size_t>(perParse ? file.reads : 1);
  return bytes;
}

std::size_t ResidentBytes() { return StatusBytes("VmRSS"); }

std::size_t PeakResidentBytes() { return StatusBytes("VmHWM"); }

// Writing 5 to clear_refs sets the peak (VmHWM) back to the current size.
bool ResetPeakResident() {
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5";
  clear.flush();
  return static_cast<bool>(clear);
}

void ReturnFreeMemory() { malloc_trim(0); }

}  // namespace kxt::bench
