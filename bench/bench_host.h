// A real installation for the manager's benchmarks. The stand-in modules of
// the sample installation are copied into <build>/bench-data/host/ and loaded
// from there once per process (the modules remember their folder); the
// generated installation being measured is linked into that folder before
// each benchmark, so that one process can load every size.
#pragma once

#include <kxtmat/kxtmat.h>

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace kxt::bench {

// One file that a full load reads, with how many times it does.
struct LoadedFile {
  std::filesystem::path path;
  int reads = 1;
};

class BenchHost {
public:
  // The host folder with the generated installation `data` linked in and
  // KXT_REGISTRY_FILE pointing at its registry export. Throws
  // std::runtime_error when the modules cannot be copied or loaded.
  static BenchHost& Use(const std::filesystem::path& data);

  // The list of library files that the add-in hands to UpdateMaterials: the
  // standard and DIN libraries of the language folder, both copies of the
  // extras library, then the custom library.
  std::vector<std::u16string> HostList() const;
  // The custom library's path as the host lists it.
  std::u16string CustomLibrary() const;

  // A manager set up as the add-in sets it up (resources, host version, user
  // folder), not loaded yet.
  std::unique_ptr<kxtMaterialDBsManager> NewManager() const;

  // The XML files that UpdateMaterials with `flag` parses in English, each
  // with the number of times it does.
  std::vector<LoadedFile> ParsedFiles(int flag) const;
  // What OnCustomDBsModified of the custom library parses.
  std::vector<LoadedFile> CustomFiles() const;

  BenchHost(const BenchHost&) = delete;
  BenchHost& operator=(const BenchHost&) = delete;

private:
  BenchHost();
  void Link(const std::filesystem::path& data);

  std::filesystem::path root_;
  std::filesystem::path data_;
};

// The bytes of the files, once per parse (`perParse`) or once per file.
std::size_t Bytes(const std::vector<LoadedFile>& files, bool perParse);

// Resident memory that fn() needs, in bytes, above what the process held
// when it began: at its peak, and what stays once it has returned (Linux:
// VmHWM after /proc/self/clear_refs, and VmRSS; free heap memory is returned
// to the system before each reading so that it cannot hide a use). 0 where
// it cannot be measured.
struct ResidentGrowth {
  std::size_t peak = 0;
  std::size_t kept = 0;
};

template <class Fn>
ResidentGrowth MeasureResidentGrowth(Fn&& fn);

std::size_t ResidentBytes();
bool ResetPeakResident();
std::size_t PeakResidentBytes();
void ReturnFreeMemory();

template <class Fn>
ResidentGrowth MeasureResidentGrowth(Fn&& fn) {
  ReturnFreeMemory();
  const std::size_t before = ResidentBytes();
  if (!ResetPeakResident()) return {};
  fn();
  const std::size_t peak = PeakResidentBytes();
  ReturnFreeMemory();
  const std::size_t after = ResidentBytes();
  return {peak > before ? peak - before : 0, after > before ? after - before : 0};
}

}  // namespace kxt::bench
