// Walks over the materials of a database and a short-lived index that
// answers "the first material, in walk order, whose key equals this text
// without regard to case" in constant time instead of a scan per question.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include <kxtmat/kxtmat.h>

#include "platform/text.h"

namespace kxt::mapping {

// Calls stop(const kxtMaterialClass&) for the classes of `db` in list order
// until it returns true; true when it did.
template <class Stop>
bool AnyClass(const kxtMaterialDB& db, Stop&& stop) {
    const std::uint64_t classCount = db.GetGroupCount();
    for (std::uint64_t i = 0; i < classCount; ++i) {
        const kxtMaterialClass* group = db.GetMaterialClass(static_cast<int>(i));
        if (group != nullptr && stop(*group)) return true;
    }
    return false;
}

// Calls fn(const kxtMaterialClass&) for every class of `db` in list order.
template <class Fn>
void ForEachClass(const kxtMaterialDB& db, Fn&& fn) {
    AnyClass(db, [&fn](const kxtMaterialClass& group) {
        fn(group);
        return false;
    });
}

// Calls fn(kxtMaterialBase&, const kxtMaterialClass&) for every material of
// `db` and its class: classes in list order, then materials in list order;
// empty slots are skipped.
template <class Fn>
void ForEachMaterial(const kxtMaterialDB& db, Fn&& fn) {
    ForEachClass(db, [&fn](const kxtMaterialClass& group) {
        const std::uint64_t materialCount = group.GetMaterialCount();
        for (std::uint64_t j = 0; j < materialCount; ++j) {
            if (kxtMaterialBase* material = group.GetMaterial(static_cast<unsigned>(j))) fn(*material, group);
        }
    });
}

// A hash that agrees with platform::EqualsNoCase: keys equal without regard
// to case hash alike.
struct NoCaseHash {
    std::size_t operator()(std::u16string_view s) const noexcept;
};

// Folded key -> the first answer added under it. Keys are views into the
// records' own strings: the index must not outlive them, and the names it
// was built from must not change while it is used. An open-addressing table
// in one block: filling it allocates only when it grows, and a question
// reads neighbouring slots.
template <class Answer>
class FirstMatchIndex {
public:
    // Adds `answer` under `key` unless an earlier answer holds that key.
    void Add(std::u16string_view key, Answer answer) {
        if ((size_ + 1) * 4 > slots_.size() * 3) Grow(size_ + 1);
        const std::size_t hash = HashOf(key);
        Slot& slot = slots_[SlotOf(key, hash)];
        if (slot.hash != 0) return;
        slot = Slot{key, hash, answer};
        ++size_;
    }
    std::size_t Size() const noexcept { return size_; }
    // Makes room for `keys` keys in all, so that adding them grows no more.
    void Reserve(std::size_t keys) {
        if (keys * 4 > slots_.size() * 3) Grow(keys);
    }
    // The first answer added under a key equal to `key` without regard to
    // case; a value-initialised Answer (null) when none.
    Answer Find(std::u16string_view key) const {
        if (slots_.empty()) return Answer{};
        const Slot& slot = slots_[SlotOf(key, HashOf(key))];
        return slot.hash != 0 ? slot.answer : Answer{};
    }

private:
    struct Slot {
        std::u16string_view key;
        std::size_t hash = 0;  // 0: an empty slot
        Answer answer{};
    };

    // Never 0, so that 0 marks an empty slot.
    static std::size_t HashOf(std::u16string_view key) noexcept {
        const std::size_t hash = NoCaseHash{}(key);
        return hash != 0 ? hash : 1;
    }

    // The position of the slot that holds key, or of the empty slot where it
    // would go. The table is never full, so the probe ends.
    std::size_t SlotOf(std::u16string_view key, std::size_t hash) const noexcept {
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
            const Slot& slot = slots_[i];
            if (slot.hash == 0 || (slot.hash == hash && platform::EqualsNoCase(slot.key, key))) return i;
        }
    }

    // Rehashes into a power-of-two table that holds `keys` at most three quarters full.
    void Grow(std::size_t keys) {
        std::size_t capacity = 16;
        while (capacity * 3 < keys * 4) capacity *= 2;
        std::vector<Slot> old(capacity);
        old.swap(slots_);
        for (const Slot& slot : old) {
            if (slot.hash != 0) slots_[SlotOf(slot.key, slot.hash)] = slot;
        }
    }

    std::vector<Slot> slots_;
    std::size_t size_ = 0;
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

// The same answers as an index filled database by database, for a few
// questions over many materials: the questions are asked first, then each
// database is walked once, in order, and the walks stop once every question
// has its answer. Keys are views: the asked texts must outlive the object.
class FirstMatchQuestions {
public:
    // The slot of the answer to key; a key asked before keeps its slot.
    std::size_t Ask(std::u16string_view key);
    // Answers, from db's materials in walk order, the questions that the
    // databases walked before left open.
    void Walk(const kxtMaterialDB& db, MaterialKeys keys);
    // The first material whose key equals the slot's question; null when none.
    kxtMaterialBase* Answer(std::size_t slot) const { return answers_[slot].material; }
    // The class the walk found that material in; null when none.
    const kxtMaterialClass* AnswerClass(std::size_t slot) const { return answers_[slot].group; }

private:
    struct Found {
        kxtMaterialBase* material = nullptr;
        const kxtMaterialClass* group = nullptr;
    };
    FirstMatchIndex<std::size_t> slots_;  // question -> its slot + 1
    std::vector<Found> answers_;
    std::size_t unanswered_ = 0;
};

}  // namespace kxt::mapping
