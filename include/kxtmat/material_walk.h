// Ordered walks over a database: classes in list order, then each class's
// materials in list order, empty slots skipped. Every "first match in list
// order" question of the module and its callers is one of these walks.
#pragma once

#include <cstdint>
#include <type_traits>

#include "kxtmat/material_class.h"
#include "kxtmat/material_db.h"

namespace kxt {

// The first class of db, in list order, for which pred(kxtMaterialClass&)
// holds; null when none does.
template <class Pred>
kxtMaterialClass* FirstClass(const kxtMaterialDB& db, Pred&& pred) {
    const std::uint64_t count = db.GetGroupCount();
    for (std::uint64_t i = 0; i < count; ++i) {
        kxtMaterialClass* group = db.GetMaterialClass(static_cast<int>(i));
        if (group != nullptr && pred(*group)) return group;
    }
    return nullptr;
}

// Calls fn(kxtMaterialClass&) for every class of db in list order.
template <class Fn>
void ForEachClass(const kxtMaterialDB& db, Fn&& fn) {
    FirstClass(db, [&fn](kxtMaterialClass& group) {
        fn(group);
        return false;
    });
}

// The first material of group, in list order, for which
// pred(kxtMaterialBase&) holds; null when none does.
template <class Pred>
kxtMaterialBase* FirstMaterial(const kxtMaterialClass& group, Pred&& pred) {
    const std::uint64_t count = group.GetMaterialCount();
    for (std::uint64_t i = 0; i < count; ++i) {
        kxtMaterialBase* material = group.GetMaterial(static_cast<unsigned int>(i));
        if (material != nullptr && pred(*material)) return material;
    }
    return nullptr;
}

// The first material of db, in walk order, for which pred holds. pred takes
// (kxtMaterialBase&) or (kxtMaterialBase&, kxtMaterialClass&); null when none.
template <class Pred>
kxtMaterialBase* FirstMaterial(const kxtMaterialDB& db, Pred&& pred) {
    kxtMaterialBase* found = nullptr;
    FirstClass(db, [&](kxtMaterialClass& group) {
        found = FirstMaterial(group, [&](kxtMaterialBase& material) {
            if constexpr (std::is_invocable_v<Pred&, kxtMaterialBase&, kxtMaterialClass&>) {
                return static_cast<bool>(pred(material, group));
            } else {
                return static_cast<bool>(pred(material));
            }
        });
        return found != nullptr;
    });
    return found;
}

// Calls fn for every material of db in walk order; fn takes (kxtMaterialBase&)
// or (kxtMaterialBase&, kxtMaterialClass&).
template <class Fn>
void ForEachMaterial(const kxtMaterialDB& db, Fn&& fn) {
    FirstMaterial(db, [&fn](kxtMaterialBase& material, kxtMaterialClass& group) {
        if constexpr (std::is_invocable_v<Fn&, kxtMaterialBase&, kxtMaterialClass&>) {
            fn(material, group);
        } else {
            fn(material);
        }
        return false;
    });
}

// Calls fn(kxtMaterialBase&) for every material of group in list order.
template <class Fn>
void ForEachMaterial(const kxtMaterialClass& group, Fn&& fn) {
    FirstMaterial(group, [&fn](kxtMaterialBase& material) {
        fn(material);
        return false;
    });
}

}  // namespace kxt
