#include "model/lookup_index.h"

#include "kxtmat/material_walk.h"

kxtMaterialDB::LookupIndex::LookupIndex(const kxtMaterialDB& db) {
    kxt::ForEachMaterial(db, [this, &db](kxtMaterialBase& material, kxtMaterialClass& group) {
        walks_ = walks_ || material.GetGrOwner() != &group || group.GetDbOwner() != &db;
        const auto add = [this, &material](std::u16string_view text, LookupKey key) {
            kxtMaterialBase*& first = first_[text][static_cast<std::size_t>(key)];
            if (first == nullptr) first = &material;
        };
        add(material.GetName(), LookupKey::kName);
        add(material.GetGabiName(), LookupKey::kGabiName);
        add(material.GetLangName(), LookupKey::kName);
        add(material.GetLangName(), LookupKey::kGabiName);
        add(material.GetMaterialID(), LookupKey::kIdentifier);
    });
    if (walks_) first_.clear();
}

kxtMaterialBase* kxtMaterialDB::LookupIndex::Find(const kxtMaterialDB& db, LookupKey key,
                                                  std::u16string_view text) const {
    if (walks_) return Walk(db, key, text);
    const auto found = first_.find(text);
    return found != first_.end() ? found->second[static_cast<std::size_t>(key)] : nullptr;
}

kxtMaterialBase* kxtMaterialDB::LookupIndex::Walk(const kxtMaterialDB& db, LookupKey key, std::u16string_view text) {
    return kxt::FirstMaterial(db, [key, text](const kxtMaterialBase& material) {
        if (key == LookupKey::kIdentifier) return kxt::platform::EqualsNoCase(text, material.GetMaterialID());
        return kxt::model::MaterialNamed(material, text, key == LookupKey::kGabiName);
    });
}
