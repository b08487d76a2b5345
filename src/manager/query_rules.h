// Rules shared by the manager's queries: the first-hit walk over a list of
// databases, library names, and which material owns the processes.
#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "kxtmat/material_dbs_manager.h"
#include "model/library_name.h"
#include "platform/text.h"

namespace kxt::manager {

inline constexpr std::u16string_view kNativeLibrary = u"korvex materials";
inline constexpr std::u16string_view kDinLibrary = u"korvex din materials";

// A database list entry as a pointer; lists hold pointers or databases.
inline kxtMaterialDB* DatabaseOf(kxtMaterialDB* entry) noexcept { return entry; }
inline kxtMaterialDB* DatabaseOf(kxtMaterialDB& entry) noexcept { return &entry; }

// Calls visit with each database of the list in order, skipping null entries,
// and returns the first result that is not null (null when none is).
template <class Databases, class Visit>
auto FirstHit(Databases&& databases, Visit&& visit) {
    using Hit = decltype(visit(std::declval<kxtMaterialDB&>()));
    for (auto&& entry : databases) {
        kxtMaterialDB* db = DatabaseOf(entry);
        if (db == nullptr) continue;
        if (Hit hit = visit(*db)) return hit;
    }
    return Hit{};
}

// True when the database's library name (kxtMaterialDB::GetDbName) equals
// libraryName without regard to case.
inline bool IsLibraryNamed(const kxtMaterialDB& db, std::u16string_view libraryName) noexcept {
    return platform::EqualsNoCase(model::LibraryStem(db.GetPath()), libraryName);
}

// The first database of the list whose library name is libraryName; null when none.
template <class Databases>
kxtMaterialDB* FirstNamed(Databases&& databases, std::u16string_view libraryName) {
    return FirstHit(databases, [libraryName](kxtMaterialDB& db) {
        return IsLibraryNamed(db, libraryName) ? &db : nullptr;
    });
}

// True for the library names of the standard and the DIN library, in any case.
inline bool IsStandardLibrary(std::u16string_view libraryName) noexcept {
    return platform::EqualsNoCase(libraryName, kDinLibrary) || platform::EqualsNoCase(libraryName, kNativeLibrary);
}

// The first material of db named name (native or language name); null when none.
inline kxtMaterialBase* MaterialIn(const kxtMaterialDB& db, const std::u16string& name) {
    kxtMaterialBase* found = nullptr;
    db.GetMaterialByName(name, found, 0);
    return found;
}

// A visitor for FirstHit: the material named name in a database whose
// library name is libraryName. Both strings must outlive the visitor.
inline auto MaterialInLibrary(const std::u16string& name, std::u16string_view libraryName) {
    return [&name, libraryName](kxtMaterialDB& db) {
        return IsLibraryNamed(db, libraryName) ? MaterialIn(db, name) : nullptr;
    };
}

// Either standard library name: the standard list (native first); any other,
// the empty one included: the custom databases of that name.
inline kxtMaterialBase* FindByLibrary(kxtMaterialDBsManager& manager, const std::u16string& name,
                                      const std::u16string& libraryName) {
    return IsStandardLibrary(libraryName) ? manager.GetStandardMaterial(name)
                                          : manager.GetCustomMaterial(name, libraryName);
}

// True for a database of type eKxtSustainExtrasDB; false for null.
inline bool IsSustainExtras(const kxtMaterialDB* db) noexcept {
    return db != nullptr && db->GetDBType() == eKxtSustainExtrasDB;
}

// The material whose processes and environmental data count: its linked
// material when it has one, else itself.
inline kxtMaterialBase* LinkedFirst(kxtMaterialBase& material) noexcept {
    kxtMaterialBase* link = material.GetSageLink();
    return link != nullptr ? link : &material;
}

// The material whose names and processes stand for a custom material: for a
// material of type eKxtCustomMaterial outside a sustainability extras database
// its linked material (null without one), for every other material itself. A
// custom material without an owner class counts as outside such a database.
inline kxtMaterialBase* TypeDependentOwner(kxtMaterialBase& material) noexcept {
    if (material.GetType() != eKxtCustomMaterial) return &material;
    if (IsSustainExtras(material.GetDbOwner())) return &material;
    return material.GetSageLink();
}

}  // namespace kxt::manager
