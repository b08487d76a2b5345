// A class (material group) of a material database.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "kxtmat/export.h"
#include "kxtmat/material_base.h"

class kxtMaterialDB;

// A named group of materials. The class owns its materials, each a separate
// heap object, so a pointer to a material stays valid until the class is
// destroyed, assigned to or emptied, whatever is inserted later. The owner
// database is a non-owning pointer. After a copy or an assignment every
// material of the class has this class as its owner class. Every change to
// the list of materials, or to the owner, drops the owner database's lookup
// index, so the owner database must be alive while the class changes.
class KXTMAT_API kxtMaterialClass {
public:
    explicit kxtMaterialClass(kxtMaterialDB* owner = nullptr);
    // Deep copy: new materials with equal contents, re-pointed to the copy.
    kxtMaterialClass(const kxtMaterialClass& other);
    kxtMaterialClass& operator=(const kxtMaterialClass& other);
    // Takes over other's materials (same objects) and re-points them to this class.
    kxtMaterialClass(kxtMaterialClass&& other) noexcept;
    kxtMaterialClass& operator=(kxtMaterialClass&& other) noexcept;
    ~kxtMaterialClass();

    const std::u16string& GetName() const { return name_; }
    void SetName(std::u16string name);
    kxtMaterialDB* GetDbOwner() const { return owner_; }
    void SetDbOwner(kxtMaterialDB* owner);

    // Appends a heap copy of material. The copy keeps the argument's owner
    // class; only copying the class re-points owners.
    void InsertMaterial(const kxtMaterialBase& material);
    void InsertMaterial(kxtMaterialBase&& material);
    std::uint64_t GetMaterialCount() const { return materials_.size(); }
    // out = the material at index and returns 1; returns 0 and leaves out when out of range.
    int GetMaterial(unsigned int index, kxtMaterialBase*& out) const;
    // The material at index; null when out of range. The non-const overload
    // keeps GetMaterial(0u) on a modifiable class from reading as a null name.
    kxtMaterialBase* GetMaterial(unsigned int index) const;
    kxtMaterialBase* GetMaterial(unsigned int index) {
        return static_cast<const kxtMaterialClass&>(*this).GetMaterial(index);
    }
    // The first material whose native name, or else whose language name,
    // equals name without regard to case; null when none does.
    kxtMaterialBase* GetMaterial(const std::u16string& name);
    // The native / language name of the material at index; the shared empty
    // string when out of range.
    const std::u16string& GetMaterialName(unsigned int index) const;
    const std::u16string& GetLangMaterialName(unsigned int index) const;
    // The class's language name: the first material's language class name;
    // the shared empty string for an empty class.
    const std::u16string& GetLangName() const;
    // The process count of the first material; -1 for an empty class.
    int GetMfgProcessesCount() const;
    // The first material's process at index; null for an empty class or an
    // index out of range (every negative index).
    kxtManufacturingProcess* GetManufacturingProcess(int index);

private:
    // Destroys every material; name and owner database stay.
    void iFreeMaterials() noexcept;
    // Appends deep copies of other's materials and points them at this class.
    void iCopyMaterialsFrom(const kxtMaterialClass& other);
    // Drops the owner database's lookup index: called by every change to the
    // list of materials or to the owner.
    void iDropOwnerIndex() const noexcept;

    std::u16string name_;
    std::vector<std::unique_ptr<kxtMaterialBase>> materials_;
    kxtMaterialDB* owner_ = nullptr;
};
