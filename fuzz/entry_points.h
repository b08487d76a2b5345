// The fuzzed entry points: each takes arbitrary bytes, feeds them to one
// reader of untrusted input the way the module does, and checks the
// invariants that must hold whatever the bytes. The libFuzzer targets and the
// regression test that replays fuzz/regressions/ call the same functions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace kxt::fuzz {

// A broken invariant: abort, so that the fuzzer keeps the input.
inline void Require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

// An entry point: returns 0; a broken invariant aborts.
using EntryPoint = int (*)(const std::uint8_t* data, std::size_t size);

// A library file: read into a database of a type chosen by the input's size,
// then the language, sustainability-link and class-removal passes over it.
int FuzzLibraryReader(const std::uint8_t* data, std::size_t size);
// A process settings file applied to the sample standard library.
int FuzzProcessReader(const std::uint8_t* data, std::size_t size);
// A DIN mapping file applied to the sample standard and DIN libraries.
int FuzzDinMapping(const std::uint8_t* data, std::size_t size);
// A cost text and a unit text, split at the first '\n'.
int FuzzCostTexts(const std::uint8_t* data, std::size_t size);
// A registry export file, read for the favourites key and a key above it.
int FuzzRegistryFile(const std::uint8_t* data, std::size_t size);
// UTF-8, UTF-16 and ANSI conversions and the case helpers.
int FuzzTextConversions(const std::uint8_t* data, std::size_t size);
// A whole installation load: the input holds its library, process settings,
// mapping and registry files, separated by "\n=====\n".
int FuzzUpdateMaterials(const std::uint8_t* data, std::size_t size);
// A sequence of manager calls on a fixed installation (loads, custom library
// changes, favourites, queries), read from the input one operation at a time.
int FuzzManagerSequence(const std::uint8_t* data, std::size_t size);

// The entry point of a target name ("library_reader", ...); null when unknown.
EntryPoint EntryPointOf(std::string_view target);

}  // namespace kxt::fuzz
