// Hints to the processor for walks over many heap-allocated records.
#pragma once

#include <cstddef>
#include <vector>

namespace kxt::model {

// Asks for the cache line holding address to be loaded; never changes a result.
inline void Prefetch(const void* address) noexcept {
#if defined(__GNUC__) || defined(__clang__)
    __builtin_prefetch(address);
#else
    static_cast<void>(address);
#endif
}

// Asks for every cache line of the bytes [begin, end).
inline void PrefetchRange(const void* begin, const void* end) noexcept {
    constexpr std::size_t kLine = 64;
    for (auto* line = static_cast<const char*>(begin); line < static_cast<const char*>(end); line += kLine) {
        Prefetch(line);
    }
}

// Asks for every cache line of a list's elements.
template <class T>
void PrefetchElements(const std::vector<T>& items) noexcept {
    PrefetchRange(items.data(), items.data() + items.size());
}

// A stage of a walk that asks for nothing.
inline constexpr auto kNoPrefetch = [](const auto&) noexcept {};

// Visits the positions 0 .. count-1 in order, stopping at the first one for
// which visit returns true. Before visiting position i it calls far(i + kFar)
// and near(i + kNear) for the positions that exist: far asks for the members
// of a record, near for the blocks they point at, which have arrived by then.
// A walk over records larger than the caches then rarely waits on memory.
// Returns the position where the walk stopped, or count.
template <std::size_t kFar, std::size_t kNear, class Far, class Near, class Visit>
std::size_t WalkAhead(std::size_t count, Far&& far, Near&& near, Visit&& visit) {
    static_assert(kFar > kNear, "a record is asked for before the blocks it points at");
    for (std::size_t i = 0; i < count; ++i) {
        if (i + kFar < count) far(i + kFar);
        if (i + kNear < count) near(i + kNear);
        if (visit(i)) return i;
    }
    return count;
}

// WalkAhead over the materials of one class (a type with GetMaterialCount()
// and GetMaterial(unsigned)): far, near and visit receive the material.
// Returns the material at which visit stopped the walk, or null.
template <std::size_t kFar, std::size_t kNear, class Class, class Far, class Near, class Visit>
auto* WalkMaterialsAhead(const Class& group, Far&& far, Near&& near, Visit&& visit) {
    const auto at = [&group](std::size_t j) { return group.GetMaterial(static_cast<unsigned int>(j)); };
    const auto count = static_cast<std::size_t>(group.GetMaterialCount());
    const std::size_t stop = WalkAhead<kFar, kNear>(
        count, [&](std::size_t j) { far(*at(j)); }, [&](std::size_t j) { near(*at(j)); },
        [&](std::size_t j) { return visit(*at(j)); });
    return stop < count ? at(stop) : nullptr;
}

}  // namespace kxt::model
