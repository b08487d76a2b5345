// Baselines for a full load: getting the bytes of the files it parses into
// memory, a bare DOM parse of them with default options, and the readers'
// own loading of them (read, parse and well-formedness checks, before any
// record is read), each file as many times as the load parses it.

#include <pugixml.hpp>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "bench_data.h"
#include "bench_host.h"
#include "platform/files.h"
#include "xml/dom.h"

namespace {

using namespace kxt::bench;

void BM_ReadFile(benchmark::State& state) {
  const std::vector<LoadedFile> files = BenchHost::Use(Installation(state)).ParsedFiles(0);
  for (auto _ : state) {
    for (const LoadedFile& file : files) {
      for (int read = 0; read < file.reads; ++read) {
        std::string content = ReadWhole(file.path);
        benchmark::DoNotOptimize(content.data());
      }
    }
  }
  SetCounters(state, Bytes(files, true));
}

void BM_PugixmlParse(benchmark::State& state) {
  const std::vector<LoadedFile> files = BenchHost::Use(Installation(state)).ParsedFiles(0);
  std::vector<std::string> contents;
  for (const LoadedFile& file : files) contents.push_back(ReadWhole(file.path));
  const auto parse_all = [&] {
    for (std::size_t f = 0; f < files.size(); ++f) {
      for (int parse = 0; parse < files[f].reads; ++parse) {
        pugi::xml_document document;
        if (!document.load_buffer(contents[f].data(), contents[f].size()))
          state.SkipWithError("generated file does not parse");
        benchmark::DoNotOptimize(document.first_child());
      }
    }
  };
  // Untimed, as the load's benchmarks load once before timing: the timed
  // parses then reuse memory the process already has instead of faulting it in.
  parse_all();
  for (auto _ : state) parse_all();
  SetCounters(state, Bytes(files, true));
}

// What every reader does before it reads a record (as its base class does):
// the whole file read, then loaded as a document under the loading rules.
// No load can cost less.
void BM_DocumentLoad(benchmark::State& state) {
  const std::vector<LoadedFile> files = BenchHost::Use(Installation(state)).ParsedFiles(0);
  const auto load_all = [&] {
    for (const LoadedFile& file : files) {
      for (int load = 0; load < file.reads; ++load) {
        std::optional<std::string> bytes = kxt::platform::ReadWholeFile(file.path.u16string());
        kxt::xml::Document document;
        if (!bytes || !document.Load(std::move(*bytes))) state.SkipWithError("generated file does not load");
      }
    }
  };
  // Untimed first, as for the bare parse.
  load_all();
  for (auto _ : state) load_all();
  SetCounters(state, Bytes(files, true));
}

BENCHMARK(BM_ReadFile)->Apply(Sizes);
BENCHMARK(BM_PugixmlParse)->Apply(Sizes);
BENCHMARK(BM_DocumentLoad)->Apply(Sizes);

}  // namespace
