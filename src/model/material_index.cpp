#include "model/material_index.h"

#include <cstdint>

#include <kxtmat/material_walk.h>

#include "model/prefetch.h"

namespace kxt::model {

namespace {

// A 32-bit hash of text after FoldCase: texts that EqualsNoCase finds equal
// hash alike. Every bit depends on every code unit, so that the table may
// use the low bits alone.
std::uint32_t NoCaseFingerprint(std::u16string_view text) noexcept {
    constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;
    std::uint64_t hash = text.size() * kMultiplier;
    const char16_t* units = text.data();
    std::size_t left = text.size();
    for (; left >= 4; units += 4, left -= 4) {
        hash = (hash ^ platform::FoldFourUnits(platform::LoadFourUnits(units))) * kMultiplier;
        hash ^= hash >> 29;
    }
    if (left > 0) {
        hash = (hash ^ platform::FoldFourUnits(platform::PackUnits(units, left))) * kMultiplier;
        hash ^= hash >> 29;
    }
    hash *= 0xBF58476D1CE4E5B9ull;
    hash ^= hash >> 32;
    return static_cast<std::uint32_t>(hash);
}

// Never 0, so that 0 marks an empty slot; equal without regard to case, equal hash.
std::size_t HashOf(std::u16string_view key) noexcept {
    const std::size_t hash = NoCaseFingerprint(key);
    return hash != 0 ? hash : 1;
}

}  // namespace

const std::u16string& FirstKey(const kxtMaterialBase& material, MaterialKeys keys) noexcept {
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

kxtMaterialBase* FirstMaterialByKeys(const kxtMaterialDB& db, MaterialKeys keys, std::u16string_view text) {
    return FirstMaterial(db, [keys, text](const kxtMaterialBase& material) { return MatchesKeys(material, keys, text); });
}

std::size_t MaterialIndex::SlotOf(std::u16string_view key, std::size_t hash) const noexcept {
    // The table is never full, so the probe ends.
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot& slot = slots_[i];
        if (slot.hash == 0 || (slot.hash == hash && platform::EqualsNoCase(slot.key, key))) return i;
    }
}

const MaterialIndex::Slot* MaterialIndex::Lookup(std::u16string_view key) const noexcept {
    if (slots_.empty()) return nullptr;
    const Slot& slot = slots_[SlotOf(key, HashOf(key))];
    return slot.hash != 0 ? &slot : nullptr;
}

bool MaterialIndex::Insert(std::u16string_view key, kxtMaterialBase* answer) {
    if ((size_ + 1) * 4 > slots_.size() * 3) {
        std::vector<Slot> old(slots_.empty() ? 16 : slots_.size() * 2);
        old.swap(slots_);
        for (const Slot& slot : old) {
            if (slot.hash != 0) slots_[SlotOf(slot.key, slot.hash)] = slot;
        }
    }
    const std::size_t hash = HashOf(key);
    Slot& slot = slots_[SlotOf(key, hash)];
    if (slot.hash != 0) return false;
    slot = Slot{key, hash, answer};
    ++size_;
    return true;
}

void MaterialIndex::Ask(std::u16string_view key) {
    if (asked_ && Insert(key, nullptr)) ++open_;
}

void MaterialIndex::Offer(std::u16string_view key, kxtMaterialBase& material) {
    if (!asked_) {
        Insert(key, &material);
        return;
    }
    if (slots_.empty()) return;
    Slot& question = slots_[SlotOf(key, HashOf(key))];
    if (question.hash == 0 || question.answer != nullptr) return;
    question.answer = &material;
    --open_;
}

void MaterialIndex::Add(const kxtMaterialDB& db) {
    const auto firstKey = [this](const kxtMaterialBase& material) -> const std::u16string& {
        return FirstKey(material, keys_);
    };
    // Records and their texts are separate heap blocks: each record is asked
    // for some materials ahead of the walk, its key texts a few later.
    FirstClass(db, [&](kxtMaterialClass& group) {
        return WalkMaterialsAhead<8, 4>(
                   group,
                   [&](const kxtMaterialBase& ahead) {
                       Prefetch(&firstKey(ahead));
                       Prefetch(&ahead.GetLangName());
                   },
                   [&](const kxtMaterialBase& ahead) {
                       Prefetch(firstKey(ahead).data());
                       if (keys_ != MaterialKeys::kIdentifier) Prefetch(ahead.GetLangName().data());
                   },
                   [&](kxtMaterialBase& material) {
                       if (asked_ && open_ == 0) return true;
                       Offer(firstKey(material), material);
                       if (keys_ != MaterialKeys::kIdentifier) Offer(material.GetLangName(), material);
                       return false;
                   }) != nullptr;
    });
}

kxtMaterialBase* MaterialIndex::Find(std::u16string_view key) const {
    const Slot* slot = Lookup(key);
    return slot != nullptr ? slot->answer : nullptr;
}

MaterialIndex BuildIndex(const kxtMaterialDB& db, MaterialKeys keys) {
    MaterialIndex index(keys);
    index.Add(db);
    return index;
}

}  // namespace kxt::model
