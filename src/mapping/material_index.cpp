#include "mapping/material_index.h"

#include "model/name_match.h"
#include "model/prefetch.h"

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
    ForEachClass(db, [&count](const kxtMaterialClass& group) {
        count += static_cast<std::size_t>(group.GetMaterialCount());
    });
    return count;
}

// The key text that an index reads first from a material.
const std::u16string& FirstKey(const kxtMaterialBase& material, MaterialKeys keys) {
    switch (keys) {
        case MaterialKeys::kIdentifier:
            return material.GetMaterialID();
        case MaterialKeys::kGabiNameThenLangName:
            return material.GetGabiName();
        case MaterialKeys::kNameThenLangName:
            break;
    }
    return material.GetName();
}

// Calls fn(key) for each key text of material that a first-match walk tests,
// in the order it tests them.
template <class Fn>
void ForEachKey(const kxtMaterialBase& material, MaterialKeys keys, Fn&& fn) {
    fn(FirstKey(material, keys));
    if (keys != MaterialKeys::kIdentifier) fn(material.GetLangName());
}

// Calls visit(material, class) for every material of db in walk order until
// it returns true. The records are separate heap objects and their texts more
// of them: in a database larger than the caches, a plain walk would wait on
// memory at each material. This one asks for each record some steps ahead and
// for its key text a few steps later.
template <class Visit>
void ForEachMaterialAhead(const kxtMaterialDB& db, MaterialKeys keys, Visit&& visit) {
    AnyClass(db, [&](const kxtMaterialClass& group) {
        const kxtMaterialBase* stopped = model::WalkMaterialsAhead<8, 4>(
            group,
            [keys](const kxtMaterialBase& ahead) {
                // Addresses of members only: nothing is read from the record yet.
                model::Prefetch(&ahead.GetName());
                model::Prefetch(&FirstKey(ahead, keys));
                model::Prefetch(&ahead.GetNativeClassName());
            },
            [keys](const kxtMaterialBase& ahead) {
                ForEachKey(ahead, keys, [](const std::u16string& key) { model::Prefetch(key.data()); });
            },
            [&](kxtMaterialBase& material) { return visit(material, group); });
        return stopped != nullptr;
    });
}

}  // namespace

void AddToIndex(MaterialIndex& index, const kxtMaterialDB& db, MaterialKeys keys) {
    const std::size_t keysPerMaterial = keys == MaterialKeys::kIdentifier ? 1 : 2;
    index.Reserve(index.Size() + keysPerMaterial * MaterialCount(db));
    ForEachMaterialAhead(db, keys, [&](kxtMaterialBase& material, const kxtMaterialClass&) {
        ForEachKey(material, keys, [&](const std::u16string& key) { index.Add(key, &material); });
        return false;
    });
}

std::size_t FirstMatchQuestions::Ask(std::u16string_view key) {
    if (const std::size_t known = slots_.Find(key)) return known - 1;
    slots_.Add(key, answers_.size() + 1);
    answers_.emplace_back();
    ++unanswered_;
    return answers_.size() - 1;
}

void FirstMatchQuestions::Walk(const kxtMaterialDB& db, MaterialKeys keys) {
    if (unanswered_ == 0) return;
    ForEachMaterialAhead(db, keys, [&](kxtMaterialBase& material, const kxtMaterialClass& group) {
        ForEachKey(material, keys, [&](const std::u16string& key) {
            const std::size_t slot = slots_.Find(key);
            if (slot == 0 || answers_[slot - 1].material != nullptr) return;
            answers_[slot - 1] = Found{&material, &group};
            --unanswered_;
        });
        return unanswered_ == 0;
    });
}

}  // namespace kxt::mapping
