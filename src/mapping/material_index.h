// Walks over the materials of a database and a short-lived index that
// answers "the first material, in walk order, whose key equals this text
// without regard to case" in constant time instead of a scan per question.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <unordered_map>

#include <kxtmat/kxtmat.h>

#include "platform/text.h"

namespace kxt::mapping {

// Calls fn(kxtMaterialBase&, const kxtMaterialClass&) for every material of
// `db` and its class: classes in list order, then materials in list order;
// empty slots are skipped.
template <class Fn>
void ForEachMaterial(const kxtMaterialDB& db, Fn&& fn) {
    const std::uint64_t classCount = db.GetGroupCount();
    for (std::uint64_t i = 0; i < classCount; ++i) {
        const kxtMaterialClass* group = db.GetMaterialClass(static_cast<int>(i));
        if (group == nullptr) continue;
        const std::uint64_t materialCount = group->GetMaterialCount();
        for (std::uint64_t j = 0; j < materialCount; ++j) {
            if (kxtMaterialBase* material = group->GetMaterial(static_cast<unsigned>(j))) fn(*material, *group);
        }
    }
}

// Hash and equality that agree with platform::EqualsNoCase.
struct NoCaseHash {
    std::size_t operator()(std::u16string_view s) const noexcept;
};
struct NoCaseEqual {
    bool operator()(std::u16string_view a, std::u16string_view b) const noexcept {
        return platform::EqualsNoCase(a, b);
    }
};

// Folded key -> the first answer added under it. Keys are views into the
// records' own strings: the index must not outlive them, and the names it
// was built from must not change while it is used.
template <class Answer>
class FirstMatchIndex {
public:
    // Adds `answer` under `key` unless an earlier answer holds that key.
    void Add(std::u16string_view key, Answer answer) { index_.try_emplace(key, answer); }
    std::size_t Size() const noexcept { return index_.size(); }
    // Makes room for `keys` keys in all, so that adding them rehashes no more.
    void Reserve(std::size_t keys) { index_.reserve(keys); }
    // The first answer added under a key equal to `key` without regard to
    // case; a value-initialised Answer (null) when none.
    Answer Find(std::u16string_view key) const {
        const auto it = index_.find(key);
        return it == index_.end() ? Answer{} : it->second;
    }

private:
    std::unordered_map<std::u16string_view, Answer, NoCaseHash, NoCaseEqual> index_;
};

using MaterialIndex = FirstMatchIndex<kxtMaterialBase*>;

// What a first-match walk would use as a material's keys, in the order the
// walk tests them.
enum class MaterialKeys {
    kIdentifier,           // GetMaterialID
    kNameThenLangName,     // GetName, else GetLangName
    kGabiNameThenLangName  // GetGabiName, else GetLangName
};

// An index over every material of `db` that answers exactly what a walk of
// the database in list order testing `keys` would answer.
MaterialIndex BuildIndex(const kxtMaterialDB& db, MaterialKeys keys);

// Adds the materials of `db` after those already in `index`, so that an index
// filled database by database answers what a walk of the databases in that
// order would answer.
void AddToIndex(MaterialIndex& index, const kxtMaterialDB& db, MaterialKeys keys);

// Material name -> what db.FindMaterialGroupName(name) answers: the name of
// the class of the first material whose native name matches, or the
// language name of the class of the first whose language name matches.
FirstMatchIndex<const std::u16string*> BuildClassNameIndex(const kxtMaterialDB& db);

}  // namespace kxt::mapping
