// The index behind a database's lookups of materials by name, GaBi name and
// identifier.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>
#include <unordered_map>

#include "kxtmat/material_db.h"
#include "model/name_match.h"
#include "platform/text.h"

// Which key of a material a lookup compares.
enum class kxtMaterialDB::LookupKey : unsigned char {
    kName,       // native name, else language name
    kGabiName,   // GaBi name, else language name
    kIdentifier  // identifier
};

// Every text that a lookup of one database can match, without regard to
// case, with the first material in walk order that each key matches it by.
// Find answers what a first-match walk of the database answers as long as
// the index lives: the texts are views of the materials' own strings, so the
// database drops its index at every change that can alter an answer (see
// kxtMaterialDB::iDropLookupIndex). A database whose lists hold a class or
// material owned elsewhere would not hear of all such changes: its index
// answers by walking.
class kxtMaterialDB::LookupIndex {
public:
    // Indexes db's materials. Throws std::bad_alloc.
    explicit LookupIndex(const kxtMaterialDB& db);
    // The first material of db (the database indexed) whose key equals text; null when none.
    kxtMaterialBase* Find(const kxtMaterialDB& db, LookupKey key, std::u16string_view text) const;
    // The same answer from a walk of db.
    static kxtMaterialBase* Walk(const kxtMaterialDB& db, LookupKey key, std::u16string_view text);

private:
    struct NoCaseHash {
        std::size_t operator()(std::u16string_view text) const noexcept { return kxt::model::NoCaseFingerprint(text); }
    };
    struct NoCaseEqual {
        bool operator()(std::u16string_view a, std::u16string_view b) const noexcept {
            return kxt::platform::EqualsNoCase(a, b);
        }
    };
    // The first material per key (LookupKey's values as indexes).
    using FirstByKey = std::array<kxtMaterialBase*, 3>;

    std::unordered_map<std::u16string_view, FirstByKey, NoCaseHash, NoCaseEqual> first_;
    bool walks_ = false;
};
