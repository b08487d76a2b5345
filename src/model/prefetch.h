// A hint to the processor for walks over many heap-allocated records.
#pragma once

namespace kxt::model {

// Asks for the cache line holding address to be loaded; never changes a result.
inline void Prefetch(const void* address) noexcept {
#if defined(__GNUC__) || defined(__clang__)
    __builtin_prefetch(address);
#else
    static_cast<void>(address);
#endif
}

}  // namespace kxt::model
