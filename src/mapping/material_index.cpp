#include "mapping/material_index.h"

namespace kxt::mapping {

std::size_t NoCaseHash::operator()(std::u16string_view s) const noexcept {
    // FNV-1a over folded code units, so keys equal without case hash alike.
    std::uint64_t hash = 1469598103934665603ull;
    for (const char16_t c : s) {
        hash ^= static_cast<std::uint64_t>(platform::FoldCase(c));
        hash *= 1099511628211ull;
    }
    return static_cast<std::size_t>(hash);
}

MaterialIndex BuildIndex(const kxtMaterialDB& db, MaterialKeys keys) {
    MaterialIndex index;
    AddToIndex(index, db, keys);
    return index;
}

void AddToIndex(MaterialIndex& index, const kxtMaterialDB& db, MaterialKeys keys) {
    ForEachMaterial(db, [&](kxtMaterialBase& material, const kxtMaterialClass&) {
        switch (keys) {
            case MaterialKeys::kIdentifier:
                index.Add(material.GetMaterialID(), &material);
                break;
            case MaterialKeys::kNameThenLangName:
                index.Add(material.GetName(), &material);
                index.Add(material.GetLangName(), &material);
                break;
            case MaterialKeys::kGabiNameThenLangName:
                index.Add(material.GetGabiName(), &material);
                index.Add(material.GetLangName(), &material);
                break;
        }
    });
}

FirstMatchIndex<const std::u16string*> BuildClassNameIndex(const kxtMaterialDB& db) {
    FirstMatchIndex<const std::u16string*> index;
    ForEachMaterial(db, [&](const kxtMaterialBase& material, const kxtMaterialClass& group) {
        index.Add(material.GetName(), &group.GetName());
        index.Add(material.GetLangName(), &group.GetLangName());
    });
    return index;
}

}  // namespace kxt::mapping
