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

// Peak resident memory of fn() above what the process held when it began,
// in bytes (Linux: VmHWM after /proc/self/clear_refs; free heap memory is
// returned to the system first so that fn cannot reuse it unseen). 0 where
// it cannot be measured.
template <class Fn>
std::size_t PeakResidentGrowth(Fn&& fn);

std::size_t ResidentBytes();
bool ResetPeakResident();
std::size_t PeakResidentBytes();
void ReturnFreeMemory();

template <class Fn>
std::size_t PeakResidentGrowth(Fn&& fn) {
  ReturnFreeMemory();
  const std::size_t before = ResidentBytes();
  if (!ResetPeakResident()) return 0;
  fn();
  const std::size_t peak = PeakResidentBytes();
  return peak > before ? peak - before : 0;
}

}  // namespace kxt::bench
