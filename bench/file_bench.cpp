// Baselines for the readers: getting the files' bytes into memory, and a bare
// DOM parse of them with default options.

#include <pugixml.hpp>
#include <string>
#include <vector>

#include "bench_data.h"

namespace {

using namespace kxt::bench;

void BM_ReadFile(benchmark::State& state) {
  const auto& folder = Installation(state);
  std::size_t bytes = 0;
  for (auto _ : state) {
    bytes = 0;
    for (const char* file : kLoadedFiles) {
      std::string content = ReadWhole(folder / file);
      bytes += content.size();
      benchmark::DoNotOptimize(content.data());
    }
  }
  SetCounters(state, bytes);
}

void BM_PugixmlParse(benchmark::State& state) {
  const auto& folder = Installation(state);
  std::vector<std::string> contents;
  std::size_t bytes = 0;
  for (const char* file : kLoadedFiles) {
    contents.push_back(ReadWhole(folder / file));
    bytes += contents.back().size();
  }
  for (auto _ : state) {
    for (const std::string& content : contents) {
      pugi::xml_document document;
      if (!document.load_buffer(content.data(), content.size())) state.SkipWithError("generated file does not parse");
      benchmark::DoNotOptimize(document.first_child());
    }
  }
  SetCounters(state, bytes);
}

BENCHMARK(BM_ReadFile)->Apply(Sizes);
BENCHMARK(BM_PugixmlParse)->Apply(Sizes);

}  // namespace
