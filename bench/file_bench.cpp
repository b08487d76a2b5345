// Reading benchmarks over synthetic installations of 1,000 to 100,000
// materials. Each installation is written once into a cache folder
// (KXTMAT_BENCH_DATA_DIR/<materials>-<classes>/) outside the timed code.

#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <pugixml.hpp>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "installation_generator.h"

namespace {

namespace fs = std::filesystem;
using kxt::bench::InstallationSpec;

constexpr std::uint64_t kSeed = 1;

// The files that a load reads whole: the standard library, the process
// settings file and the custom library.
constexpr std::array<const char*, 3> kReadFiles = {kxt::bench::kStandardLibraryFile,
                                                   kxt::bench::kProcessSettingsFile,
                                                   kxt::bench::kCustomLibraryFile};

std::string StampText(const InstallationSpec& spec) {
  return "format " + std::to_string(kxt::bench::kInstallationFormat) + " seed " + std::to_string(spec.seed) +
         " materials " + std::to_string(spec.materials) + " classes " + std::to_string(spec.classes) + "\n";
}

std::string ReadWhole(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw std::runtime_error("cannot read " + path.string());
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// The installation folder for `materials` and `classes`, written on first use.
// A stamp file, written last, marks a complete installation of this format.
const fs::path& Installation(std::size_t materials, std::size_t classes) {
  static std::map<std::pair<std::size_t, std::size_t>, fs::path> ready;
  auto found = ready.find({materials, classes});
  if (found != ready.end()) return found->second;

  const InstallationSpec spec{materials, classes, kSeed};
  const fs::path folder = fs::path(KXTMAT_BENCH_DATA_DIR) / (std::to_string(materials) + "-" + std::to_string(classes));
  const fs::path stamp = folder / "complete";
  std::error_code error;
  if (!fs::exists(stamp, error) || ReadWhole(stamp) != StampText(spec)) {
    fs::remove(stamp, error);
    kxt::bench::WriteInstallation(spec, folder);
    std::ofstream(stamp, std::ios::binary) << StampText(spec);
  }
  return ready.emplace(std::make_pair(materials, classes), folder).first->second;
}

void SetCounters(benchmark::State& state, std::size_t bytes_per_iteration) {
  const auto materials = static_cast<double>(state.range(0));
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes_per_iteration) * state.iterations());
  state.counters["per_material"] =
      benchmark::Counter(materials, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

std::size_t Materials(const benchmark::State& state) { return static_cast<std::size_t>(state.range(0)); }
std::size_t Classes(const benchmark::State& state) { return static_cast<std::size_t>(state.range(1)); }

// Baseline: the cost of getting the bytes into memory.
void BM_ReadFile(benchmark::State& state) {
  const fs::path& folder = Installation(Materials(state), Classes(state));
  std::size_t bytes = 0;
  for (auto _ : state) {
    bytes = 0;
    for (const char* file : kReadFiles) {
      std::string content = ReadWhole(folder / file);
      bytes += content.size();
      benchmark::DoNotOptimize(content.data());
    }
  }
  SetCounters(state, bytes);
}

// Baseline: a bare DOM parse of the same files, default options.
void BM_PugixmlParse(benchmark::State& state) {
  const fs::path& folder = Installation(Materials(state), Classes(state));
  std::vector<std::string> contents;
  std::size_t bytes = 0;
  for (const char* file : kReadFiles) {
    contents.push_back(ReadWhole(folder / file));
    bytes += contents.back().size();
  }
  for (auto _ : state) {
    for (const std::string& content : contents) {
      pugi::xml_document document;
      const pugi::xml_parse_result result = document.load_buffer(content.data(), content.size());
      if (!result) state.SkipWithError("generated file does not parse");
      benchmark::DoNotOptimize(document.first_child());
    }
  }
  SetCounters(state, bytes);
}

void Sizes(benchmark::internal::Benchmark* benchmark) {
  for (std::int64_t classes : {20, 200}) {
    for (std::int64_t materials : {1000, 10000, 100000}) benchmark->Args({materials, classes});
  }
  benchmark->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_ReadFile)->Apply(Sizes);
BENCHMARK(BM_PugixmlParse)->Apply(Sizes);

}  // namespace

BENCHMARK_MAIN();
