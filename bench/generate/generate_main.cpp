// kxtmat_generate: writes a synthetic installation for benchmarks and tests.
//   kxtmat_generate --materials N --classes C --out DIR [--seed S]

#include <charconv>
#include <chrono>
#include <cstdio>
#include <exception>
#include <optional>
#include <string_view>

#include "installation_generator.h"

namespace {

int Usage() {
  std::fputs("usage: kxtmat_generate --materials N --classes C --out DIR [--seed S]\n", stderr);
  return 2;
}

std::optional<std::uint64_t> ParseNumber(std::string_view text) {
  std::uint64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

}  // namespace

int main(int argc, char** argv) {
  kxt::bench::InstallationSpec layout;
  std::optional<std::uint64_t> materials;
  std::optional<std::uint64_t> classes;
  const char* out = nullptr;
  for (int i = 1; i < argc; ++i) {
    const std::string_view option = argv[i];
    if (i + 1 >= argc) return Usage();
    const std::string_view value = argv[++i];
    if (option == "--materials") {
      materials = ParseNumber(value);
      if (!materials) return Usage();
    } else if (option == "--classes") {
      classes = ParseNumber(value);
      if (!classes || *classes == 0) return Usage();
    } else if (option == "--seed") {
      const auto seed = ParseNumber(value);
      if (!seed) return Usage();
      layout.seed = *seed;
    } else if (option == "--out") {
      out = argv[i];
    } else {
      return Usage();
    }
  }
  if (!materials || !classes || out == nullptr || *out == '\0') return Usage();
  layout.materials = static_cast<std::size_t>(*materials);
  layout.classes = static_cast<std::size_t>(*classes);

  try {
    const auto start = std::chrono::steady_clock::now();
    const kxt::bench::InstallationSummary summary = kxt::bench::WriteInstallation(layout, out);
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    std::printf(
        "%s: %zu standard materials in %zu classes, %zu DIN, %zu extras, %zu custom (%zu links), %zu favourites;"
        " %.1f MB in %.2f s\n",
        out, summary.standard_materials, summary.standard_classes, summary.din_materials, summary.extras_materials,
        summary.custom_materials, summary.links_to_standard + summary.links_to_extras, summary.favourites,
        static_cast<double>(summary.bytes_written) / 1e6, seconds.count());
  } catch (const std::exception& error) {
    std::fprintf(stderr, "kxtmat_generate: %s\n", error.what());
    return 1;
  }
  return 0;
}
