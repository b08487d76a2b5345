// Memory exhaustion during a load: the N-th allocation fails, for every N
// through a whole UpdateMaterials of a small installation. Each run either
// completes or lets std::bad_alloc through; afterwards the manager holds only
// live objects and whole classes, leaks nothing, and loads normally again.
//
// This program replaces the global allocation functions with counting ones
// and routes pugixml's allocations through the same counter.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "hardening_support.h"

namespace {

// No threads run while a test arms the counter.
struct AllocationCounter {
    std::int64_t failAt = 0;  // the allocation that fails, counted from arming; 0: none
    std::int64_t made = 0;    // allocations since arming
    std::int64_t live = 0;    // allocated and not yet freed, since the program started
    std::int64_t pugixmlFailAt = 0;  // the same, for pugixml's own allocations only
    std::int64_t pugixmlMade = 0;
};
AllocationCounter counter;

void* Allocate(std::size_t size) noexcept {
    if (counter.failAt != 0 && ++counter.made == counter.failAt) return nullptr;
    void* p = std::malloc(size == 0 ? 1 : size);
    if (p != nullptr) ++counter.live;
    return p;
}

void Release(void* p) noexcept {
    if (p == nullptr) return;
    --counter.live;
    std::free(p);
}

void* AllocateOrThrow(std::size_t size) {
    if (void* p = Allocate(size)) return p;
    throw std::bad_alloc();
}

void* AllocateAligned(std::size_t size, std::align_val_t align) {
    if (counter.failAt != 0 && ++counter.made == counter.failAt) throw std::bad_alloc();
    const auto alignment = static_cast<std::size_t>(align);
    void* p = std::aligned_alloc(alignment, (size + alignment - 1) / alignment * alignment);
    if (p == nullptr) throw std::bad_alloc();
    ++counter.live;
    return p;
}

void* AllocateForPugixml(std::size_t size) noexcept {
    if (counter.pugixmlFailAt != 0 && ++counter.pugixmlMade == counter.pugixmlFailAt) return nullptr;
    return Allocate(size);
}

// pugixml reports exhaustion as a status; the DOM adapter must turn it into std::bad_alloc.
const bool pugixmlCounted = [] {
    pugi::set_memory_management_functions(AllocateForPugixml, Release);
    return true;
}();

}  // namespace

void* operator new(std::size_t size) { return AllocateOrThrow(size); }
void* operator new[](std::size_t size) { return AllocateOrThrow(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new(std::size_t size, std::align_val_t align) { return AllocateAligned(size, align); }
void* operator new[](std::size_t size, std::align_val_t align) { return AllocateAligned(size, align); }
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, std::size_t) noexcept { Release(p); }
void operator delete[](void* p, std::size_t) noexcept { Release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Release(p); }
void operator delete(void* p, std::align_val_t) noexcept { Release(p); }
void operator delete[](void* p, std::align_val_t) noexcept { Release(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { Release(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { Release(p); }

namespace {

using kxt::test::HoldsOnlyLiveObjects;
using kxt::test::SetUpAsHost;
using kxt::test::ShapeOf;
using kxt::test::SmallHostList;

// Runs a flag-0 load of the small installation with allocation failAt failing
// (0: none). Returns whether std::bad_alloc came out; madeOut: the allocations made.
bool LoadFailingAt(kxtMaterialDBsManager& manager, std::int64_t failAt, std::int64_t* madeOut = nullptr) {
    std::vector<std::u16string> files = SmallHostList();
    counter.made = 0;
    counter.failAt = failAt;
    bool threw = false;
    try {
        manager.UpdateMaterials(files, 0);
    } catch (const std::bad_alloc&) {
        threw = true;
    }
    counter.failAt = 0;
    if (madeOut != nullptr) *madeOut = counter.made;
    return threw;
}

// The process's open file descriptors (Linux); -1 where they cannot be listed.
int OpenDescriptorCount() {
    std::error_code error;
    int count = 0;
    for (std::filesystem::directory_iterator it("/proc/self/fd", error), end; !error && it != end; it.increment(error)) {
        ++count;
    }
    return error ? -1 : count;
}

// Each class that db holds is the class at the same position of reference, with all its materials.
::testing::AssertionResult HoldsWholeClassesOf(const kxtMaterialDB& db, const kxtMaterialDB& reference) {
    if (db.GetGroupCount() > reference.GetGroupCount()) return ::testing::AssertionFailure() << "extra classes";
    for (std::uint64_t i = 0; i < db.GetGroupCount(); ++i) {
        const kxtMaterialClass* group = db.GetMaterialClass(static_cast<int>(i));
        const kxtMaterialClass* expected = reference.GetMaterialClass(static_cast<int>(i));
        if (group->GetName() != expected->GetName() || group->GetMaterialCount() != expected->GetMaterialCount()) {
            return ::testing::AssertionFailure() << "class " << i << " is not whole";
        }
    }
    return ::testing::AssertionSuccess();
}

class AllocationFailureTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(pugixmlCounted);
        SetUpAsHost(keeper_);  // keeps the resource module loaded between managers
        SetUpAsHost(reference_);
        ASSERT_FALSE(LoadFailingAt(reference_, 0));
        referenceShape_ = ShapeOf(reference_);
        ASSERT_GE(reference_.GetDatabaseCount(), 4) << "the small installation did not load";
        ASSERT_FALSE(reference_.GetFavoritesMaterials().empty());
    }

    kxtMaterialDBsManager keeper_;
    kxtMaterialDBsManager reference_;
    std::vector<std::u16string> referenceShape_;
};

TEST_F(AllocationFailureTest, EveryFailedAllocationOfALoadPropagatesAndLeavesALoadableManager) {
    std::int64_t total = 0;
    {
        kxtMaterialDBsManager manager;
        SetUpAsHost(manager);
        ASSERT_FALSE(LoadFailingAt(manager, INT64_MAX, &total));
    }
    ASSERT_GT(total, 100);
    // Every allocation up to kEvery, then an even spread, to stay within minutes.
    constexpr std::int64_t kEvery = 6000;
    const std::int64_t stride = total <= kEvery ? 1 : (total + kEvery - 1) / kEvery;

    int failures = 0;
    for (std::int64_t n = 1; n <= total; n += (n < kEvery ? 1 : stride)) {
        SCOPED_TRACE("allocation " + std::to_string(n) + " of " + std::to_string(total));
        const int descriptorsBefore = OpenDescriptorCount();
        const std::int64_t liveBefore = counter.live;
        {
            kxtMaterialDBsManager manager;
            SetUpAsHost(manager);
            if (LoadFailingAt(manager, n)) ++failures;
            ASSERT_TRUE(HoldsOnlyLiveObjects(manager));
            ASSERT_TRUE(HoldsWholeClassesOf(*manager.GetKxNativeDB(), *reference_.GetKxNativeDB()));
            ASSERT_TRUE(HoldsWholeClassesOf(*manager.GetKxNativeDinDB(), *reference_.GetKxNativeDinDB()));
            const std::vector<kxtMaterialDB>& custom = manager.GetCustomDBs();
            for (std::size_t k = 0; k < custom.size() && k < reference_.GetCustomDBs().size(); ++k) {
                if (custom[k].GetDBType() != eKxtCustomDB) continue;
                ASSERT_TRUE(HoldsWholeClassesOf(custom[k], reference_.GetCustomDBs()[k]));
            }

            ASSERT_FALSE(LoadFailingAt(manager, 0));
            ASSERT_EQ(ShapeOf(manager), referenceShape_);
        }
        ASSERT_EQ(counter.live, liveBefore) << "a failed load leaked memory";
        ASSERT_EQ(OpenDescriptorCount(), descriptorsBefore) << "a failed load left a file or folder open";
    }
    RecordProperty("allocations", std::to_string(total));
    RecordProperty("failed_loads", std::to_string(failures));
    // Allocation number `total` is the last of a load, so at least that one failed.
    EXPECT_GT(failures, 0);
}

TEST_F(AllocationFailureTest, ParserExhaustionIsNotMistakenForAMalformedFile) {
    // pugixml's first allocation of a load serves the standard library: were
    // its failure read as a malformed file, the load would end normally
    // without the standard materials.
    kxtMaterialDBsManager manager;
    SetUpAsHost(manager);
    counter.pugixmlMade = 0;
    counter.pugixmlFailAt = 1;
    std::vector<std::u16string> files = SmallHostList();
    EXPECT_THROW(manager.UpdateMaterials(files, 0), std::bad_alloc);
    counter.pugixmlFailAt = 0;
    EXPECT_EQ(counter.pugixmlMade, 1);
    EXPECT_TRUE(HoldsOnlyLiveObjects(manager));
}

}  // namespace
