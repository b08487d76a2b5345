#include "bench_data.h"

#include <cstdlib>
#include <fstream>
#include <map>
#include <stdexcept>
#include <system_error>
#include <utility>

namespace kxt::bench {
namespace {

namespace fs = std::filesystem;

constexpr std::uint64_t kSeed = 1;

std::string StampText(const InstallationSpec& layout) {
  return "format " + std::to_string(kInstallationFormat) + " seed " + std::to_string(layout.seed) + " materials " +
         std::to_string(layout.materials) + " classes " + std::to_string(layout.classes) + "\n";
}

}  // namespace

std::string ReadWhole(const fs::path& path) {
  std::ifstream file(path, std::ios::binary | std::ios::ate);
  if (!file) throw std::runtime_error("cannot read " + path.string());
  std::string content(static_cast<std::size_t>(file.tellg()), '\0');
  file.seekg(0);
  file.read(content.data(), static_cast<std::streamsize>(content.size()));
  if (!file) throw std::runtime_error("cannot read " + path.string());
  return content;
}

// A stamp file, written last, marks a complete installation of this format.
const fs::path& Installation(std::size_t materials, std::size_t classes) {
  static std::map<std::pair<std::size_t, std::size_t>, fs::path> ready;
  auto found = ready.find({materials, classes});
  if (found != ready.end()) return found->second;

  const InstallationSpec layout{materials, classes, kSeed};
  const fs::path folder = fs::path(KXTMAT_BENCH_DATA_DIR) / (std::to_string(materials) + "-" + std::to_string(classes));
  const fs::path stamp = folder / "complete";
  std::error_code error;
  if (!fs::exists(stamp, error) || ReadWhole(stamp) != StampText(layout)) {
    fs::remove(stamp, error);
    WriteInstallation(layout, folder);
    std::ofstream(stamp, std::ios::binary) << StampText(layout);
  }
  return ready.emplace(std::make_pair(materials, classes), folder).first->second;
}

std::size_t Classes() {
  static const std::size_t classes = [] {
    const char* value = std::getenv("KXTMAT_BENCH_CLASSES");
    const unsigned long parsed = value != nullptr ? std::strtoul(value, nullptr, 10) : 0;
    return parsed > 0 ? static_cast<std::size_t>(parsed) : std::size_t{20};
  }();
  return classes;
}

const fs::path& Installation(const benchmark::State& state) {
  return Installation(static_cast<std::size_t>(state.range(0)), Classes());
}

void SetCounters(benchmark::State& state, std::size_t bytes) {
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
  state.counters["per_material"] = benchmark::Counter(static_cast<double>(state.range(0)),
                                                      benchmark::Counter::kIsIterationInvariantRate |
                                                          benchmark::Counter::kInvert);
}

void Sizes(benchmark::internal::Benchmark* benchmark) {
  for (std::int64_t materials : {1000, 10000, 100000}) benchmark->Arg(materials);
  benchmark->Unit(benchmark::kMillisecond);
}

}  // namespace kxt::bench
