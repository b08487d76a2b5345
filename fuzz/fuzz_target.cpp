// One libFuzzer target: KXT_FUZZ_ENTRY names the entry point it drives.
#include <cstddef>
#include <cstdint>

#include "fuzz/entry_points.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return kxt::fuzz::KXT_FUZZ_ENTRY(data, size);
}
