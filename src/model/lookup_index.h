// The index behind a database's lookups of materials by name, GaBi name and
// identifier.
#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "kxtmat/material_db.h"
#include "model/material_index.h"

// One MaterialIndex of the database per kind of key, each built by the first
// lookup by that key. Find answers what a first-match walk of the database
// answers as long as the index lives: the index holds views of the
// materials' own strings, so the database drops it at every change that can
// alter an answer (kxtMaterialDB::iDropLookupIndex). A database whose lists
// hold a class or material owned elsewhere would not hear of all such
// changes: its index answers by walking.
class kxtMaterialDB::LookupIndex {
public:
    explicit LookupIndex(const kxtMaterialDB& db);
    // The first material of db (the database indexed) whose keys match text.
    // Throws std::bad_alloc when the index of those keys cannot be built.
    kxtMaterialBase* Find(const kxtMaterialDB& db, kxt::model::MaterialKeys keys, std::u16string_view text);

private:
    bool walks_ = false;
    std::array<std::optional<kxt::model::MaterialIndex>, 3> byKeys_;
};
