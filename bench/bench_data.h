// Shared by the benchmarks: the cached synthetic installations and the
// counters every benchmark reports.
#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>
#include <filesystem>
#include <string>

#include "installation_generator.h"

namespace kxt::bench {

// The folder of the installation with `materials` standard materials in
// `classes` classes, written into the cache folder on first use (and again
// when the generator's format changed).
const std::filesystem::path& Installation(std::size_t materials, std::size_t classes);

// The number of classes of the standard library: 20, or the value of
// KXTMAT_BENCH_CLASSES (200 for the other shape).
std::size_t Classes();

// The installation with the benchmark's argument (materials) in Classes() classes.
const std::filesystem::path& Installation(const benchmark::State& state);

// The whole file, in one read. Throws std::runtime_error when it cannot be read.
std::string ReadWhole(const std::filesystem::path& path);

// Bytes per second for `bytes` per iteration, and time per standard material.
void SetCounters(benchmark::State& state, std::size_t bytes);

// The sizes every benchmark runs at: 1,000, 10,000 and 100,000 materials.
void Sizes(benchmark::internal::Benchmark* benchmark);

}  // namespace kxt::bench
