#include "model/lookup_index.h"

#include "kxtmat/material_walk.h"

using kxt::model::MaterialKeys;

kxtMaterialDB::LookupIndex::LookupIndex(const kxtMaterialDB& db) {
    walks_ = kxt::FirstMaterial(db, [&db](const kxtMaterialBase& material, const kxtMaterialClass& group) {
                 return material.GetGrOwner() != &group || group.GetDbOwner() != &db;
             }) != nullptr;
}

kxtMaterialBase* kxtMaterialDB::LookupIndex::Find(const kxtMaterialDB& db, MaterialKeys keys, std::u16string_view text) {
    if (walks_) return kxt::model::FirstMaterialByKeys(db, keys, text);
    std::optional<kxt::model::MaterialIndex>& index = byKeys_[static_cast<std::size_t>(keys)];
    if (!index) index = kxt::model::BuildIndex(db, keys);
    return index->Find(text);
}
