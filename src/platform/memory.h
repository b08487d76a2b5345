// What the C library's allocator is told while the model frees many records.
#pragma once

namespace kxt::platform {

// Called every few records while a class frees its materials. glibc keeps
// small freed blocks unmerged in its fast bins until a larger request comes,
// and merging a whole library's blocks then, long after they left the
// caches, costs several times what merging them in small batches costs while
// they are still there. A request above the small sizes is that prompt.
// Elsewhere it does nothing.
void MergeFreedBlocks() noexcept;

}  // namespace kxt::platform
