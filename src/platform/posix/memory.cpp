#include "platform/memory.h"

#include <cstdlib>

namespace kxt::platform {

void MergeFreedBlocks() noexcept {
#if defined(__GLIBC__)
    // Above the sizes that malloc serves from its per-thread cache and fast
    // bins, so that it merges the fast bins before serving it. Held in a
    // volatile so that the pair is not optimised away.
    constexpr std::size_t kAboveSmallRequests = 2048;
    void* volatile block = std::malloc(kAboveSmallRequests);
    std::free(block);
#endif
}

}  // namespace kxt::platform
