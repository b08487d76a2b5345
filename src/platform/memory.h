// What the C library's allocator is told while the model frees many records.
#pragma once

namespace kxt::platform {

// Has the C library's allocator merge the small blocks freed so far into
// its free lists now rather than at some later large request, so that
// freeing many small records in batches costs the same per record whatever
// their number. Never changes what the program computes; a no-op where the
// allocator merges freed blocks itself.
void MergeFreedBlocks() noexcept;

}  // namespace kxt::platform
