// The fingerprint table behind a database's material lookups by name and
// identifier: a compact copy of what those lookups compare, scanned in walk
// order instead of visiting every material record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <mutex>
#include <new>
#include <shared_mutex>
#include <string_view>
#include <vector>

#include "kxtmat/material_db.h"
#include "model/lookup_generation.h"
#include "model/name_match.h"
#include "platform/text.h"

// Which key of a material a lookup compares.
enum class kxtMaterialDB::LookupKey : unsigned char {
    kName,       // native name, else language name
    kGabiName,   // GaBi name, else language name
    kIdentifier  // identifier
};

// For every material of one database, in walk order: the fingerprints of its
// native, language and GaBi names and of its identifier, and the material.
// A lookup fingerprints the question once, scans the fingerprints in order
// and confirms each candidate with the real name test, so it answers exactly
// what a walk answers: a shared fingerprint costs one confirmation, never a
// wrong answer.
//
// The table is derived data. It is trusted only while the model's lookup
// generation still has the value read when it was built; the first lookup
// after a change walks the database, the next one rebuilds the table. Find
// may be called from several threads at once as long as no thread changes
// the model meanwhile: the table is rebuilt under an exclusive lock and
// scanned under a shared one.
class kxtMaterialDB::LookupTable {
public:
    // True when material's key equals text without regard to case, as the
    // lookups define it.
    static bool Matches(const kxtMaterialBase& material, LookupKey key, std::u16string_view text) {
        return key == LookupKey::kIdentifier ? kxt::platform::EqualsNoCase(text, material.GetMaterialID())
                                             : kxt::model::MaterialNamed(material, text, key == LookupKey::kGabiName);
    }

    // The first material, in walk order, whose key equals text; null when
    // none does. walk(match) must visit the database's materials in walk
    // order and return the first for which match(kxtMaterialBase&) holds.
    template <class Walk>
    kxtMaterialBase* Find(LookupKey key, std::u16string_view text, const Walk& walk);
    // The same answer from the walk alone.
    template <class Walk>
    static kxtMaterialBase* FindByWalk(LookupKey key, std::u16string_view text, const Walk& walk) {
        return walk([key, text](const kxtMaterialBase& material) { return Matches(material, key, text); });
    }

private:
    static constexpr std::uint64_t kNever = std::numeric_limits<std::uint64_t>::max();

    // The first listed material whose fingerprint matches and that Matches confirms.
    kxtMaterialBase* iScan(LookupKey key, std::u16string_view text) const;
    void iClear() noexcept;
    // Appends material's fingerprints. Throws std::bad_alloc.
    void iAdd(kxtMaterialBase& material);

    std::shared_mutex mutex_;
    // The generation the columns were built at, and the one the last lookup
    // that found them out of date saw; kNever before the first.
    std::uint64_t builtAt_ = kNever;
    std::uint64_t seenAt_ = kNever;
    // One entry per material, in walk order.
    std::vector<std::uint32_t> nameKeys_;
    std::vector<std::uint32_t> langKeys_;
    std::vector<std::uint32_t> gabiKeys_;
    std::vector<std::uint32_t> idKeys_;
    std::vector<kxtMaterialBase*> materials_;
};

template <class Walk>
kxtMaterialBase* kxtMaterialDB::LookupTable::Find(LookupKey key, std::u16string_view text, const Walk& walk) {
    const std::uint64_t now = kxt::model::LookupGeneration();
    {
        std::shared_lock lock(mutex_);
        if (builtAt_ == now) return iScan(key, text);
    }
    std::unique_lock lock(mutex_);
    if (builtAt_ != now) {
        bool built = false;
        // A model that changes between every two lookups never pays for a table.
        if (seenAt_ == now) {
            iClear();
            try {
                walk([this](kxtMaterialBase& material) {
                    iAdd(material);
                    return false;
                });
                builtAt_ = now;
                built = true;
            } catch (const std::bad_alloc&) {
                // Without memory for the table the walk still answers.
                iClear();
            }
        }
        seenAt_ = now;
        if (!built) {
            lock.unlock();
            return FindByWalk(key, text, walk);
        }
    }
    return iScan(key, text);
}
