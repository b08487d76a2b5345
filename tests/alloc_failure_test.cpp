// For every N through a whole UpdateMaterials of the small installation, the N-th allocation fails. The load
// then lets std::bad_alloc through or holds all that a normal load holds; either way the manager holds only
// live objects and whole classes, nothing leaks, no file stays open, and the next load is normal. The global
// allocation functions (but the over-aligned ones, unused by the module) and pugixml's are counting ones here.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <new>
#include <unordered_set>

#include <pugixml.hpp>

#include "hardening_support.h"
#include "platform/text.h"
#ifdef _WIN32
#include "platform/win32/windows_api.h"
#endif

namespace {

// No threads run while the counter is armed.
std::int64_t failAt = 0;  // the allocation that fails, counted from arming; 0: none
std::int64_t made = 0;    // allocations since arming
std::int64_t live = 0;    // allocated and not yet freed

// The blocks made here. A DLL has allocation functions of its own, and a string that a stand-in module
// fills is freed here: only the blocks made here count. The set itself lives on malloc.
template <class T> struct MallocAllocator {
    using value_type = T;
    MallocAllocator() = default;
    template <class U> MallocAllocator(const MallocAllocator<U>&) noexcept {}
    T* allocate(std::size_t n) { void* p = std::malloc(n * sizeof(T)); return p != nullptr ? static_cast<T*>(p) : throw std::bad_alloc(); }
    void deallocate(T* p, std::size_t) noexcept { std::free(p); }
    bool operator==(const MallocAllocator&) const noexcept = default;
};
using BlockSet = std::unordered_set<void*, std::hash<void*>, std::equal_to<void*>, MallocAllocator<void*>>;
BlockSet& Blocks() {  // never destroyed: allocations go on after static destruction begins
    static BlockSet& blocks = *new (std::malloc(sizeof(BlockSet))) BlockSet();
    return blocks;
}

void* Allocate(std::size_t size) noexcept {
    void* p = failAt != 0 && ++made == failAt ? nullptr : std::malloc(size == 0 ? 1 : size);
    if (p != nullptr) ++live, Blocks().insert(p);
    return p;
}

void Release(void* p) noexcept {
    if (p != nullptr && Blocks().erase(p) != 0) --live;
    std::free(p);
}

}  // namespace

// The library's array and nothrow forms call these.
void* operator new(std::size_t size) {
    void* p = Allocate(size);
    return p != nullptr ? p : throw std::bad_alloc();
}
void operator delete(void* p) noexcept { Release(p); }
void operator delete(void* p, std::size_t) noexcept { Release(p); }

namespace {

// A flag-0 load of the small installation with allocation n failing (0: none); true when std::bad_alloc came out.
bool LoadFailingAt(kxtMaterialDBsManager& manager, std::int64_t n) {
    std::vector<std::u16string> files = kxt::test::SmallHostList();
    made = 0;
    failAt = n;
    bool threw = false;
    try {
        manager.UpdateMaterials(files, 0);
    } catch (const std::bad_alloc&) { threw = true; }
    failAt = 0;
    return threw;
}

std::u16string Number(std::size_t n) { return kxt::platform::Utf8ToUtf16(std::to_string(n)); }

// Per database its type, per class its name and per material what the load gave it; then the favourites.
std::vector<std::u16string> ShapeOf(kxtMaterialDBsManager& manager) {
    std::vector<std::u16string> shape;
    for (int d = 0; d < manager.GetDatabaseCount(); ++d) {
        shape.push_back(u"db type " + Number(manager.GetDB(d)->GetDBType()));
        kxt::ForEachMaterial(*manager.GetDB(d), [&](const kxtMaterialBase& m, const kxtMaterialClass& group) {
            shape.push_back(group.GetName() + u" / " + m.GetName() + u" / " + m.GetLangName() + u" / " + m.GetGabiName() + u" / processes " + Number(m.GetManufacturingTypes().size()) + (m.GetSageLink() ? u" / linked" : u""));
        });
    }
    for (const kxtMaterialBase* favourite : manager.GetFavoritesMaterials()) shape.push_back(u"favourite " + favourite->GetName());
    return shape;
}

// Per database other than the extras, its type and each class's name and material count.
std::vector<std::vector<std::u16string>> ClassesOf(kxtMaterialDBsManager& manager) {
    std::vector<const kxtMaterialDB*> dbs = {manager.GetKxNativeDB(), manager.GetKxNativeDinDB()};
    for (const kxtMaterialDB& db : manager.GetCustomDBs()) dbs.push_back(db.GetDBType() == eKxtCustomDB ? &db : nullptr);
    std::vector<std::vector<std::u16string>> classes;
    for (const kxtMaterialDB* db : dbs) {
        classes.emplace_back();
        if (db != nullptr) kxt::ForEachClass(*db, [&](const kxtMaterialClass& g) { classes.back().push_back(g.GetName() + Number(g.GetMaterialCount())); });
    }
    return classes;
}

#ifdef _WIN32
long OpenDescriptorCount() { DWORD count = 0; return GetProcessHandleCount(GetCurrentProcess(), &count) ? static_cast<long>(count) : -1; }
#else
auto OpenDescriptorCount() { return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}); }
#endif

TEST(AllocationFailureTest, EveryFailedAllocationOfALoadPropagatesAndLeavesALoadableManager) {
    pugi::set_memory_management_functions(Allocate, Release);  // pugixml reports exhaustion as a status; the DOM adapter throws
    kxtMaterialDBsManager keeper, reference;  // the keeper keeps the resource module loaded between managers
    for (kxtMaterialDBsManager* manager : {&keeper, &reference}) kxt::test::SetUpAsHost(*manager);
    ASSERT_FALSE(LoadFailingAt(reference, INT64_MAX));  // counts the allocations of a whole load
    const std::int64_t total = made;
    const std::vector<std::u16string> expected = ShapeOf(reference);
    const std::vector<std::vector<std::u16string>> whole = ClassesOf(reference);
    ASSERT_TRUE(reference.GetDatabaseCount() >= 4 && !reference.GetFavoritesMaterials().empty()) << "the small installation did not load";

    int failures = 0;
    for (std::int64_t n = 1; n <= total; ++n) {
        SCOPED_TRACE("allocation " + std::to_string(n) + " of " + std::to_string(total));
        const auto descriptorsBefore = OpenDescriptorCount();
        const std::int64_t liveBefore = live;
        {
            kxtMaterialDBsManager manager;
            kxt::test::SetUpAsHost(manager);
            const bool threw = LoadFailingAt(manager, n);
            failures += threw;
            ASSERT_TRUE(kxt::test::HoldsOnlyLiveObjects(manager));
            ASSERT_TRUE(threw || ShapeOf(manager) == expected) << "an exhausted load ended as if it were complete";
            // What a failed load leaves is whole classes: a prefix of each database's.
            const std::vector<std::vector<std::u16string>> classes = ClassesOf(manager);
            for (std::size_t d = 0; d < classes.size() && d < whole.size(); ++d)
                ASSERT_TRUE(classes[d].size() <= whole[d].size() && std::equal(classes[d].begin(), classes[d].end(), whole[d].begin())) << d;
            ASSERT_FALSE(LoadFailingAt(manager, 0));
            ASSERT_EQ(ShapeOf(manager), expected);
        }
        ASSERT_EQ(live, liveBefore) << "a failed load leaked memory";
        ASSERT_EQ(OpenDescriptorCount(), descriptorsBefore) << "a failed load left a file or folder open";
    }
    EXPECT_GT(failures, 0) << "no allocation of a load was counted";
}

}  // namespace
