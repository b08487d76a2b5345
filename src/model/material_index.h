// The first-match index: which material a walk of databases in order would
// find first for a text, answered without walking again.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include <kxtmat/kxtmat.h>

#include "platform/text.h"

namespace kxt::model {

// What a first-match walk tests as a material's keys, in the order it tests them.
enum class MaterialKeys : unsigned char {
    kIdentifier,           // GetMaterialID
    kNameThenLangName,     // GetName, else GetLangName
    kGabiNameThenLangName  // GetGabiName, else GetLangName
};

// The key of material that a walk by keys tests first: its identifier, its
// native name or its GaBi name. Name keys fall back on the language name.
const std::u16string& FirstKey(const kxtMaterialBase& material, MaterialKeys keys) noexcept;

// True when text equals, without regard to case, the material's first key
// or, for name keys, its language name.
inline bool MatchesKeys(const kxtMaterialBase& material, MaterialKeys keys, std::u16string_view text) noexcept {
    return platform::EqualsNoCase(text, FirstKey(material, keys)) ||
           (keys != MaterialKeys::kIdentifier && platform::EqualsNoCase(text, material.GetLangName()));
}

// The first material of db, in kxt::ForEachMaterial order, one of whose keys
// equals text without regard to case: what every index below answers.
kxtMaterialBase* FirstMaterialByKeys(const kxtMaterialDB& db, MaterialKeys keys, std::u16string_view text);

// Which keys an index answers: every key of the materials added, or only the
// keys asked (MaterialIndex::Ask) before the databases are added, whose walks
// then stop once each has its answer.
enum class IndexScope { kEveryKey, kAskedKeys };

// Text -> the first material, over the databases added in the order they were
// added (each in kxt::ForEachMaterial order), one of whose keys equals the
// text without regard to case; within a material the key tested first wins.
//
// Keys are views, into the asked texts and the materials' own strings: the
// index must not outlive them, and the materials added must neither change
// their keys nor be added, removed or freed while it is used. An index used
// after that is stale: it may miss, or answer a freed material.
class MaterialIndex {
public:
    explicit MaterialIndex(MaterialKeys keys, IndexScope scope = IndexScope::kEveryKey) noexcept
        : keys_(keys), asked_(scope == IndexScope::kAskedKeys) {}

    // Asks, before any database is added, for the first material whose key
    // equals key; asking twice is asking once. An index of every key ignores it.
    void Ask(std::u16string_view key);

    // Adds db's materials after those of the databases added before.
    void Add(const kxtMaterialDB& db);

    // The first material whose key equals key without regard to case; null when none.
    kxtMaterialBase* Find(std::u16string_view key) const;

private:
    // One entry of the open-addressing table: a key, its hash (0: an empty
    // slot) and its answer (null while an asked key has none).
    struct Slot {
        std::u16string_view key;
        std::size_t hash = 0;
        kxtMaterialBase* answer = nullptr;
    };

    // The position of the slot that holds key, or of the empty slot where it would go.
    std::size_t SlotOf(std::u16string_view key, std::size_t hash) const noexcept;
    // The slot that holds key; null when none does.
    const Slot* Lookup(std::u16string_view key) const noexcept;
    // Adds key unless present; true when it was added.
    bool Insert(std::u16string_view key, kxtMaterialBase* answer);
    // Records material as the answer to key unless an earlier one holds it.
    void Offer(std::u16string_view key, kxtMaterialBase& material);

    MaterialKeys keys_;
    bool asked_;            // answers the asked keys only
    std::size_t open_ = 0;  // asked keys still without an answer
    std::size_t size_ = 0;
    std::vector<Slot> slots_;  // a power of two in size, at most three quarters full
};

// An index of every key of db's materials.
MaterialIndex BuildIndex(const kxtMaterialDB& db, MaterialKeys keys);

}  // namespace kxt::model
