#include "platform/memory.h"

namespace kxt::platform {

// The Windows heap merges freed blocks itself.
void MergeFreedBlocks() noexcept {}

}  // namespace kxt::platform
