// Baselines for a full load: getting the bytes of the files it parses into
// memory, a bare DOM parse of them with default options, and the readers'
// own loading of them (read, parse and well-formedness checks, before any
// record is read), each file as many times as the specified passes parse it,
// and that loading once per distinct file.

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

// Calls fn(f) once per time the load parses file f, file by file.
template <class Fn>
void ForEachParse(const std::vector<LoadedFile>& files, Fn&& fn) {
  for (std::size_t f = 0; f < files.size(); ++f) {
    for (int parse = 0; parse < files[f].reads; ++parse) fn(f);
  }
}

// Times round() per iteration after one untimed round, as the load's
// benchmarks load once before timing: the timed rounds then reuse memory the
// process already has instead of faulting it in.
template <class Round>
void TimeWarmRounds(benchmark::State& state, Round&& round) {
  round();
  for (auto _ : state) round();
}

void BM_ReadFile(benchmark::State& state) {
  const std::vector<LoadedFile> files = BenchHost::Use(Installation(state)).ParsedFiles(0);
  for (auto _ : state) {
    ForEachParse(files, [&](std::size_t f) {
      std::string content = ReadWhole(files[f].path);
      benchmark::DoNotOptimize(content.data());
    });
  }
  SetCounters(state, Bytes(files, true));
}

void BM_PugixmlParse(benchmark::State& state) {
  const std::vector<LoadedFile> files = BenchHost::Use(Installation(state)).ParsedFiles(0);
  std::vector<std::string> contents;
  for (const LoadedFile& file : files) contents.push_back(ReadWhole(file.path));
  TimeWarmRounds(state, [&] {
    ForEachParse(files, [&](std::size_t f) {
      pugi::xml_document document;
      if (!document.load_buffer(contents[f].data(), contents[f].size()))
        state.SkipWithError("generated file does not parse");
      benchmark::DoNotOptimize(document.first_child());
    });
  });
  SetCounters(state, Bytes(files, true));
}

// What every reader does before it reads a record (as its base class does):
// the whole file read, then loaded as a document under the loading rules,
// for each parse of files.
void TimeDocumentLoads(benchmark::State& state, const std::vector<LoadedFile>& files) {
  TimeWarmRounds(state, [&] {
    ForEachParse(files, [&](std::size_t f) {
      std::optional<kxt::platform::FileBytes> bytes = kxt::platform::ReadFileBytes(files[f].path.u16string());
      kxt::xml::Document document;
      if (!bytes || !document.Load(std::move(*bytes))) state.SkipWithError("generated file does not load");
    });
  });
  SetCounters(state, Bytes(files, true));
}

// Each file as many times as the specified passes parse it.
void BM_DocumentLoad(benchmark::State& state) {
  TimeDocumentLoads(state, BenchHost::Use(Installation(state)).ParsedFiles(0));
}

// Each distinct file once, as a load that shares one document among the
// passes over a file loads it: no such load can cost less.
void BM_DocumentLoadOnce(benchmark::State& state) {
  std::vector<LoadedFile> files = BenchHost::Use(Installation(state)).ParsedFiles(0);
  for (LoadedFile& file : files) file.reads = 1;
  TimeDocumentLoads(state, files);
}

BENCHMARK(BM_ReadFile)->Apply(Sizes);
BENCHMARK(BM_PugixmlParse)->Apply(Sizes);
BENCHMARK(BM_DocumentLoad)->Apply(Sizes);
BENCHMARK(BM_DocumentLoadOnce)->Apply(Sizes);

}  // namespace
