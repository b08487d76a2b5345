#include "kxtmat/material_db.h"

#include <algorithm>
#include <new>
#include <utility>

#include "kxtmat/material_walk.h"
#include "model/library_name.h"
#include "model/lookup_index.h"
#include "model/prefetch.h"
#include "paths/sibling_services.h"
#include "platform/files.h"
#include "platform/text.h"

using kxt::model::MaterialKeys;
using kxt::platform::EqualsNoCase;

kxtMaterialDB::kxtMaterialDB() = default;

kxtMaterialDB::kxtMaterialDB(const kxtMaterialDB& other) : type_(other.type_), path_(other.path_) {
    iCopyGroupsFrom(other);
}

kxtMaterialDB& kxtMaterialDB::operator=(const kxtMaterialDB& other) {
    if (this == &other) return *this;
    iFreeGroups();
    iCopyGroupsFrom(other);
    path_ = other.path_;
    type_ = other.type_;
    iDropLookupIndex();
    return *this;
}

kxtMaterialDB::kxtMaterialDB(kxtMaterialDB&& other) noexcept
    : type_(other.type_), path_(std::move(other.path_)) {
    iTakeGroupsFrom(other);
    other.path_.clear();
}

kxtMaterialDB& kxtMaterialDB::operator=(kxtMaterialDB&& other) noexcept {
    if (this == &other) return *this;
    iFreeGroups();
    iTakeGroupsFrom(other);
    path_ = std::move(other.path_);
    other.path_.clear();
    type_ = other.type_;
    return *this;
}

kxtMaterialDB::~kxtMaterialDB() { iFreeGroups(); }

void kxtMaterialDB::iFreeGroups() {
    iDropLookupIndex();
    groups_.clear();
    erased_.clear();
}

void kxtMaterialDB::iDropLookupIndex() const noexcept { lookupIndex_.reset(); }

void kxtMaterialDB::iCopyGroupsFrom(const kxtMaterialDB& other) {
    groups_.reserve(groups_.size() + other.groups_.size());
    for (const auto& group : other.groups_) {
        InsertGroup(*group);
        groups_.back()->SetDbOwner(this);
    }
}

void kxtMaterialDB::iTakeGroupsFrom(kxtMaterialDB& other) noexcept {
    other.iDropLookupIndex();
    groups_ = std::move(other.groups_);
    erased_ = std::move(other.erased_);
    other.groups_.clear();
    other.erased_.clear();
    for (const auto& group : groups_) group->SetDbOwner(this);
    for (const auto& group : erased_) group->SetDbOwner(this);
    iDropLookupIndex();
}

// ---- identity ----

void kxtMaterialDB::SetDBType(eKxtMaterialBDType type) {
    // The type decides whether custom materials take their language names from the database.
    if (type == type_) return;
    type_ = type;
    iDropLookupIndex();
}
void kxtMaterialDB::SetPath(std::u16string path) { path_ = std::move(path); }

std::u16string kxtMaterialDB::GetDbName() const {
    return kxt::platform::ToLower(kxt::model::LibraryStem(path_));
}

void kxtMaterialDB::GetLangPath(std::u16string& out) const {
    if (type_ == eKxtCustomDB || type_ == eKxtSustainExtrasDB) {
        out = path_;
        return;
    }
    std::u16string path = kxt::paths::DefaultLangPath();
    path += u"kvxmaterials";
    path += kxt::platform::kPathSeparator;
    if (type_ == eKxtNativeDB) {
        path += u"korvex materials.kvxmat";
    } else if (type_ == eKxtNativeDinDB) {
        path += u"korvex din materials.kvxmat";
    }
    out = std::move(path);
}

// ---- classes ----

void kxtMaterialDB::InsertGroup(const kxtMaterialClass& group) {
    groups_.push_back(std::make_unique<kxtMaterialClass>(group));
    iDropLookupIndex();
}

void kxtMaterialDB::InsertGroup(kxtMaterialClass&& group) {
    groups_.push_back(std::make_unique<kxtMaterialClass>(std::move(group)));
    iDropLookupIndex();
}

kxtMaterialClass* kxtMaterialDB::GetMaterialClass(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= groups_.size()) return nullptr;
    return groups_[static_cast<std::size_t>(index)].get();
}

int kxtMaterialDB::GetMaterialGroupName(unsigned int index, std::u16string& out) const {
    if (index >= groups_.size()) return 0;
    out = groups_[index]->GetName();
    return 1;
}

kxtMaterialClass* kxtMaterialDB::FindMaterialGroup(const std::u16string& name) {
    return kxt::FirstClass(*this, [&name](const kxtMaterialClass& group) {
        return EqualsNoCase(name, group.GetName()) || EqualsNoCase(name, group.GetLangName());
    });
}

std::u16string kxtMaterialDB::FindMaterialGroupName(const std::u16string& materialName) {
    std::u16string found;
    // The answer is in the language of the name that matched.
    kxt::FirstMaterial(*this, [&](const kxtMaterialBase& material, const kxtMaterialClass& group) {
        if (EqualsNoCase(materialName, material.GetName())) {
            found = group.GetName();
        } else if (EqualsNoCase(materialName, material.GetLangName())) {
            found = group.GetLangName();
        } else {
            return false;
        }
        return true;
    });
    return found;
}

void kxtMaterialDB::EraseMaterialGroup(unsigned int index) {
    if (index >= groups_.size()) return;
    const auto position = groups_.begin() + index;
    erased_.push_back(std::move(*position));
    groups_.erase(position);
    iDropLookupIndex();
}

void kxtMaterialDB::Clear() { iFreeGroups(); }

// ---- materials ----

int kxtMaterialDB::GetMaterial(unsigned int classIndex, unsigned int materialIndex, kxtMaterialBase*& out) const {
    if (classIndex >= groups_.size()) return 0;
    return groups_[classIndex]->GetMaterial(materialIndex, out);
}

kxtMaterialBase* kxtMaterialDB::iFindByKeys(MaterialKeys keys, std::u16string_view text) const {
    try {
        if (lookupIndex_ == nullptr) lookupIndex_ = std::make_unique<LookupIndex>(*this);
        return lookupIndex_->Find(*this, keys, text);
    } catch (const std::bad_alloc&) {
        // Without memory for the index the walk still answers.
        return kxt::model::FirstMaterialByKeys(*this, keys, text);
    }
}

int kxtMaterialDB::GetMaterialByName(const std::u16string& name, kxtMaterialBase*& out, int byGabiName) const {
    kxtMaterialBase* found = iFindByKeys(byGabiName != 0 ? MaterialKeys::kGabiNameThenLangName : MaterialKeys::kNameThenLangName, name);
    if (found == nullptr) return 0;
    out = found;
    return 1;
}

int kxtMaterialDB::GetMaterialByName(const std::u16string& name, kxtMaterialBase*& out, unsigned short /*unused*/,
                                     int /*unused2*/) const {
    return GetMaterialByName(name, out, 0);
}

int kxtMaterialDB::GetMaterialByID(const std::u16string& id, kxtMaterialBase*& out) const {
    kxtMaterialBase* found = iFindByKeys(MaterialKeys::kIdentifier, id);
    if (found == nullptr) return 0;
    out = found;
    return 1;
}

kxtMaterialBase* kxtMaterialDB::FindMaterial(const std::u16string& className, const std::u16string& materialName) {
    kxtMaterialClass* group = FindMaterialGroup(className);
    return group != nullptr ? group->GetMaterial(materialName) : nullptr;
}

std::vector<std::u16string> kxtMaterialDB::GetAllProcessTypes() {
    std::vector<std::u16string> names;
    const auto isUnique = [&names](const std::u16string& name) {
        return std::none_of(names.begin(), names.end(),
                            [&name](const std::u16string& listed) { return EqualsNoCase(listed, name); });
    };
    // Each material's process list is a block of its own: the walk asks for
    // the list's place in the material, then for the list, ahead of reading it.
    for (const auto& group : groups_) {
        kxt::model::WalkMaterialsAhead<8, 4>(
            *group, [](const kxtMaterialBase& ahead) { kxt::model::Prefetch(&ahead.GetManufacturingTypes()); },
            [](const kxtMaterialBase& ahead) { kxt::model::PrefetchElements(ahead.GetManufacturingTypes()); },
            [&](const kxtMaterialBase& material) {
                for (const kxtManufacturingProcess& process : material.GetManufacturingTypes()) {
                    if (isUnique(process.GetLangName())) names.push_back(process.GetLangName());
                }
                return false;
            });
    }
    return names;
}
