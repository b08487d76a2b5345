#include "support/live_objects.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace kxt::test {
namespace {

bool IsMaterialOf(const kxtMaterialDB& db, const kxtMaterialBase* material) {
    return FirstMaterial(db, [material](const kxtMaterialBase& m) { return &m == material; }) != nullptr;
}

}  // namespace

::testing::AssertionResult HoldsOnlyLiveObjects(kxtMaterialDBsManager& manager) {
    std::vector<kxtMaterialDB*> live{manager.GetKxNativeDB(), manager.GetKxNativeDinDB()};
    for (kxtMaterialDB& db : manager.GetCustomDBs()) live.push_back(&db);
    const int count = manager.GetDatabaseCount();
    if (count < 0 || static_cast<std::size_t>(count) > live.size()) {
        return ::testing::AssertionFailure() << "a database list of " << count << " entries";
    }
    for (int d = 0; d < count; ++d) {
        if (manager.GetDB(d) != live[static_cast<std::size_t>(d)]) {
            return ::testing::AssertionFailure() << "database list entry " << d << " is not the live database";
        }
    }
    live.push_back(manager.GetKxSustainExtrasDB());
    for (const kxtMaterialDB* db : live) {
        for (std::uint64_t i = 0; i < db->GetGroupCount(); ++i) {
            const kxtMaterialClass* group = db->GetMaterialClass(static_cast<int>(i));
            if (group == nullptr || group->GetDbOwner() != db) {
                return ::testing::AssertionFailure() << "class " << i << " does not belong to its database";
            }
            for (std::uint64_t j = 0; j < group->GetMaterialCount(); ++j) {
                const kxtMaterialBase* material = group->GetMaterial(static_cast<unsigned>(j));
                if (material == nullptr || material->GetGrOwner() != group) {
                    return ::testing::AssertionFailure() << "a material does not belong to its class";
                }
                const kxtMaterialBase* link = material->GetSageLink();
                if (link != nullptr && std::none_of(live.begin(), live.end(), [&](auto* other) { return IsMaterialOf(*other, link); }))
                    return ::testing::AssertionFailure() << "a link points to no live material";
            }
        }
    }
    for (const kxtMaterialBase* favourite : manager.GetFavoritesMaterials()) {
        if (std::none_of(live.begin(), live.end(), [&](auto* db) { return IsMaterialOf(*db, favourite); }))
            return ::testing::AssertionFailure() << "a favourite is not a live material";
    }
    return ::testing::AssertionSuccess();
}

}  // namespace kxt::test
