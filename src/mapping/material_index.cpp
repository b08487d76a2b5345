#include "mapping/material_index.h"

#include "model/name_match.h"

namespace kxt::mapping {

std::size_t NoCaseHash::operator()(std::u16string_view s) const noexcept {
    // The databases' lookup tables fingerprint names the same way.
    return model::NoCaseFingerprint(s);
}

MaterialIndex BuildIndex(const kxtMaterialDB& db, MaterialKeys keys) {
    MaterialIndex index;
    AddToIndex(index, db, keys);
    return index;
}

namespace {

std::size_t MaterialCount(const kxtMaterialDB& db) {
    std::size_t count = 0;
    const std::uint64_t classCount = db.GetGroupCount();
    for (std::uint64_t i = 0; i < classCount; ++i) {
        if (const kxtMaterialClass* group = db.GetMaterialClass(static_cast<int>(i))) {
            count += static_cast<std::size_t>(group->GetMaterialCount());
        }
    }
    return count;
}

}  // namespace

void AddToIndex(MaterialIndex& index, const kxtMaterialDB& db, MaterialKeys keys) {
    const std::size_t keysPerMaterial = keys == MaterialKeys::kIdentifier ? 1 : 2;
    index.Reserve(index.Size() + keysPerMaterial * MaterialCount(db));
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
    index.Reserve(2 * MaterialCount(db));
    ForEachMaterial(db, [&](const kxtMaterialBase& material, const kxtMaterialClass& group) {
        index.Add(material.GetName(), &group.GetName());
        index.Add(material.GetLangName(), &group.GetLangName());
    });
    return index;
}

}  // namespace kxt::mapping
