#include "model/material_lookup.h"

using kxt::model::NoCaseFingerprint;

void kxtMaterialDB::LookupTable::iClear() noexcept {
    builtAt_ = kNever;
    nameKeys_.clear();
    langKeys_.clear();
    gabiKeys_.clear();
    idKeys_.clear();
    materials_.clear();
}

void kxtMaterialDB::LookupTable::iAdd(kxtMaterialBase& material) {
    nameKeys_.push_back(NoCaseFingerprint(material.GetName()));
    langKeys_.push_back(NoCaseFingerprint(material.GetLangName()));
    gabiKeys_.push_back(NoCaseFingerprint(material.GetGabiName()));
    idKeys_.push_back(NoCaseFingerprint(material.GetMaterialID()));
    materials_.push_back(&material);
}

kxtMaterialBase* kxtMaterialDB::LookupTable::iScan(LookupKey key, std::u16string_view text) const {
    const std::uint32_t wanted = NoCaseFingerprint(text);
    kxtMaterialBase* const* materials = materials_.data();
    const std::size_t count = materials_.size();
    const auto firstConfirmed = [&](auto isCandidate) -> kxtMaterialBase* {
        for (std::size_t i = 0; i < count; ++i) {
            if (isCandidate(i) && Matches(*materials[i], key, text)) return materials[i];
        }
        return nullptr;
    };
    if (key == LookupKey::kIdentifier) {
        const std::uint32_t* ids = idKeys_.data();
        return firstConfirmed([ids, wanted](std::size_t i) { return ids[i] == wanted; });
    }
    // A material is a candidate by either of its two names.
    const std::uint32_t* names = (key == LookupKey::kGabiName ? gabiKeys_ : nameKeys_).data();
    const std::uint32_t* langs = langKeys_.data();
    return firstConfirmed([names, langs, wanted](std::size_t i) { return (names[i] == wanted) | (langs[i] == wanted); });
}
