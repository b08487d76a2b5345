// A material database: the content of one material library file.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "kxtmat/enums.h"
#include "kxtmat/export.h"
#include "kxtmat/material_base.h"
#include "kxtmat/material_class.h"
#include "kxtmat/search_criteria.h"

namespace kxt::model {
enum class MaterialKeys : unsigned char;
}  // namespace kxt::model

// The type, the file path and the classes of one library. The database owns
// its classes, each a separate heap object owning its materials, so pointers
// to classes and materials stay valid until the database is destroyed,
// assigned to or cleared. Lookups walk classes and then materials in
// insertion order and answer the first match. After a copy or an assignment
// every class has this database as its owner database.
//
// GetMaterialByName and GetMaterialByID answer from an index of the names
// or identifiers that the first of them by that key builds after a change to the
// database, to one of its classes or to one of their materials, and that the
// next such change drops. Const lookups may run on several threads at once
// while nobody changes the database, once the index is built: the first
// lookup by each key after a change must not run at the same time as
// another. A class, and a material, tells its owner database of its
// changes: while it changes, its owners must be alive.
class KXTMAT_API kxtMaterialDB {
public:
    // Type eKxtNativeDB, no classes, empty path.
    kxtMaterialDB();
    // Deep copy: new classes and materials, re-pointed to the copy.
    kxtMaterialDB(const kxtMaterialDB& other);
    kxtMaterialDB& operator=(const kxtMaterialDB& other);
    // Takes over other's classes (the same objects, so pointers to them and to
    // their materials stay valid) and makes this database their owner; other
    // is left empty. Lets a list of databases grow or shrink without moving
    // any class or material.
    kxtMaterialDB(kxtMaterialDB&& other) noexcept;
    kxtMaterialDB& operator=(kxtMaterialDB&& other) noexcept;
    ~kxtMaterialDB();

    void SetDBType(eKxtMaterialBDType type);
    eKxtMaterialBDType GetDBType() const { return type_; }
    void SetPath(std::u16string path);
    const std::u16string& GetPath() const { return path_; }
    // The short (library) name: the file name of the path without folder and
    // extension, in lower case. The platform's separator ('\' on Windows,
    // '/' elsewhere) ends a folder.
    std::u16string GetDbName() const;
    // out = the path of this library in the user-interface language's folder
    // ("<language folder>kvxmaterials<sep><file>") for the standard and DIN
    // databases; the path itself for custom and sustainability extras ones.
    void GetLangPath(std::u16string& out) const;

    // Appends a heap copy of group, which keeps group's owner database; the
    // copy's materials point to the copy. The rvalue form moves the materials.
    void InsertGroup(const kxtMaterialClass& group);
    void InsertGroup(kxtMaterialClass&& group);
    std::uint64_t GetGroupCount() const { return groups_.size(); }
    // The class at index; null when index is negative or out of range.
    kxtMaterialClass* GetMaterialClass(int index) const;
    // out = the name of the class at index and returns 1; 0 and out unchanged when out of range.
    int GetMaterialGroupName(unsigned int index, std::u16string& out) const;
    // The first class whose name, or else whose language name, equals name
    // without regard to case; null when none does.
    kxtMaterialClass* FindMaterialGroup(const std::u16string& name);
    // The class of the first material whose native name (answered with the
    // class's name) or language name (answered with the class's language
    // name) equals materialName without regard to case; empty when none does.
    std::u16string FindMaterialGroupName(const std::u16string& materialName);
    // Removes the class at index from the list; nothing happens when out of
    // range. The class is not destroyed: it stays alive, reachable through
    // pointers taken before, until the database is destroyed, assigned to or
    // cleared.
    void EraseMaterialGroup(unsigned int index);
    // Destroys every class with its materials; type and path stay.
    void Clear();

    // out = material materialIndex of class classIndex and returns 1; 0 and out unchanged otherwise.
    int GetMaterial(unsigned int classIndex, unsigned int materialIndex, kxtMaterialBase*& out) const;
    // The first material whose native name (GaBi name when byGabiName is
    // non-zero), or else whose language name, equals name without regard to
    // case: out = it and returns 1; 0 and out unchanged when none does.
    int GetMaterialByName(const std::u16string& name, kxtMaterialBase*& out, int byGabiName) const;
    // The same search by native name; the last two arguments have no effect.
    int GetMaterialByName(const std::u16string& name, kxtMaterialBase*& out, unsigned short unused,
                          int unused2) const;
    // The first material whose identifier equals id without regard to case.
    int GetMaterialByID(const std::u16string& id, kxtMaterialBase*& out) const;
    // FindMaterialGroup(className), then that class's GetMaterial(materialName); null when either fails.
    kxtMaterialBase* FindMaterial(const std::u16string& className, const std::u16string& materialName);
    // The language names of all processes of all materials, each once without
    // regard to case, in order of first appearance and in that letter case.
    std::vector<std::u16string> GetAllProcessTypes();

    // Property search. Appends to results every material of the searched
    // classes that satisfies all criteria of the set (or every one when
    // includeAll is non-zero), except a material whose native name equals a
    // non-empty excludedName. Appended materials get their type from the
    // database type. The results list is never emptied; the criterion named
    // as the framework's "material cost" string tests the cost per unit mass
    // when a material has no property of that name (when the string is not
    // available, it reads as empty: a criterion with an empty name is then
    // the cost criterion).
    //
    // Searches the class at the set's class index (the given class instead,
    // when not null), or every class when the index is -1. Returns 1 when
    // results is non-empty afterwards, else 0.
    int SearchMaterials(const kxtSearchCriterionsSet& criteria, std::vector<kxtMaterialBase*>& results,
                        const std::u16string& excludedName, kxtMaterialClass* group) const;
    // Searches the given class, or the class at classIndex when group is null
    // (returns 0 when that is out of range). Returns 1 when anything was appended.
    int SearchInGroup(const kxtSearchCriterionsSet& criteria, int classIndex, std::vector<kxtMaterialBase*>& results,
                      int includeAll, const std::u16string& excludedName, kxtMaterialClass* group) const;

private:
    // Relative tolerance of eApproximately: five per cent of the criterion value.
    static constexpr double iAPPROXIMATELY_TOL = 0.05;

    // 1 when the material value v satisfies condition against the criterion value c.
    static int iIsSatisfied(kxtPhysPropSearchCriterionDef::eSearchCondition condition, double v, double c);
    // Destroys every class, erased ones included.
    void iFreeGroups();
    // Appends deep copies of other's classes and points them at this database.
    void iCopyGroupsFrom(const kxtMaterialDB& other);
    // Takes other's classes, erased ones included, and points them at this database.
    void iTakeGroupsFrom(kxtMaterialDB& other) noexcept;
    // Classes and materials drop the index when they change.
    friend class kxtMaterialBase;
    friend class kxtMaterialClass;
    // The index of the lookups by name and identifier (model/lookup_index.h).
    class LookupIndex;
    // Forgets the index; called by every change that can alter what a lookup
    // by name or identifier answers.
    void iDropLookupIndex() const noexcept;
    // The first material whose key equals text, as a walk would answer it.
    kxtMaterialBase* iFindByKeys(kxt::model::MaterialKeys keys, std::u16string_view text) const;
    // The cost criterion's name, fetched at most once per search.
    class CostCriterionName;
    // SearchInGroup with the cost criterion's name shared by every class of one search.
    int iSearchInGroup(const kxtSearchCriterionsSet& criteria, int classIndex, std::vector<kxtMaterialBase*>& results,
                       int includeAll, const std::u16string& excludedName, kxtMaterialClass* group,
                       CostCriterionName& costName) const;

    eKxtMaterialBDType type_ = eKxtNativeDB;
    std::vector<std::unique_ptr<kxtMaterialClass>> groups_;
    std::u16string path_;
    // Classes removed by EraseMaterialGroup, kept alive for pointers taken before.
    std::vector<std::unique_ptr<kxtMaterialClass>> erased_;
    // Built by the first lookup after a change; null until then.
    mutable std::unique_ptr<LookupIndex> lookupIndex_;
};
