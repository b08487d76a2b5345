// The model's change count, which tells the lookup tables of the databases
// whether what they were built from may have changed.
#pragma once

#include <atomic>
#include <cstdint>

namespace kxt::model {

namespace detail {
extern std::atomic<std::uint64_t> gLookupGeneration;
}  // namespace detail

// Called by every change to a material, class or database that can change
// which material a lookup by name or identifier answers. One uncontended
// atomic increment: every call gives a value never seen before, so a table
// that remembers the value it was built at cannot be fooled by changes made
// on other threads to other databases.
inline void NoteLookupChange() noexcept { detail::gLookupGeneration.fetch_add(1, std::memory_order_relaxed); }

// The current value. A caller that follows a change (on its thread, or after
// the synchronisation that ordered the change before it) reads a value that
// differs from every value read before that change.
inline std::uint64_t LookupGeneration() noexcept {
    return detail::gLookupGeneration.load(std::memory_order_relaxed);
}

}  // namespace kxt::model
