// The readers at work: a library file into a fresh database, and the process
// settings file onto a database that holds the standard library. Time per
// material should stay flat from 1,000 to 100,000 materials.

#include <kxtmat/kxtmat.h>

#include <filesystem>
#include <memory>

#include "bench_data.h"
#include "platform/modules.h"
#include "xml/phys_prop_parser.h"
#include "xml/process_parser.h"

namespace {

using namespace kxt::bench;
namespace fs = std::filesystem;

// The English resource module, which gives the process name map its texts.
kxt::platform::ModuleHandle ResourceModule() {
  static const kxt::platform::ModuleHandle module =
      kxt::platform::LoadModuleForResources(fs::path(KXTMAT_RESOURCE_MODULE).u16string());
  return module;
}

std::unique_ptr<kxtMaterialDB> ReadStandardLibrary(const fs::path& folder) {
  auto database = std::make_unique<kxtMaterialDB>();
  database->SetDBType(eKxtNativeDB);
  kxt::xml::kxtXMLPhysPropParser parser((folder / kStandardLibraryFile).u16string());
  parser.Parse(database.get());
  return database;
}

void BM_ReadLibrary(benchmark::State& state) {
  const fs::path& folder = Installation(state);
  const std::u16string path = (folder / kStandardLibraryFile).u16string();
  if (ReadStandardLibrary(folder)->GetGroupCount() != static_cast<std::uint64_t>(Classes())) {
    state.SkipWithError("the library reader does not find the generated classes");
    return;
  }
  for (auto _ : state) {
    state.PauseTiming();
    auto database = std::make_unique<kxtMaterialDB>();
    database->SetDBType(eKxtNativeDB);
    state.ResumeTiming();
    kxt::xml::kxtXMLPhysPropParser parser(path);
    benchmark::DoNotOptimize(parser.Parse(database.get()));
    state.PauseTiming();
    database.reset();
    state.ResumeTiming();
  }
  SetCounters(state, fs::file_size(folder / kStandardLibraryFile));
}

void BM_ReadProcessSettings(benchmark::State& state) {
  const fs::path& folder = Installation(state);
  const std::u16string path = (folder / kProcessSettingsFile).u16string();
  if (ResourceModule() == nullptr) {
    state.SkipWithError("the English resource module does not load");
    return;
  }
  const std::unique_ptr<kxtMaterialDB> standard = ReadStandardLibrary(folder);
  {
    kxtMaterialDB probe(*standard);
    kxt::xml::kxtXMLProcessParser parser(path, ResourceModule());
    if (parser.Parse(&probe) != 1 || probe.GetAllProcessTypes().empty()) {
      state.SkipWithError("the process settings reader finds no process");
      return;
    }
  }
  for (auto _ : state) {
    state.PauseTiming();
    auto database = std::make_unique<kxtMaterialDB>(*standard);
    state.ResumeTiming();
    kxt::xml::kxtXMLProcessParser parser(path, ResourceModule());
    benchmark::DoNotOptimize(parser.Parse(database.get()));
    state.PauseTiming();
    database.reset();
    state.ResumeTiming();
  }
  SetCounters(state, fs::file_size(folder / kProcessSettingsFile));
}

BENCHMARK(BM_ReadLibrary)->Apply(Sizes);
BENCHMARK(BM_ReadProcessSettings)->Apply(Sizes);

}  // namespace
