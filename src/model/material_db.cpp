#include "kxtmat/material_db.h"

#include <algorithm>
#include <new>
#include <utility>

#include "model/library_name.h"
#include "model/lookup_generation.h"
#include "model/material_lookup.h"
#include "model/name_match.h"
#include "model/prefetch.h"
#include "paths/sibling_services.h"
#include "platform/files.h"
#include "platform/text.h"

using kxt::model::NoteLookupChange;
using kxt::model::kNoPrefetch;
using kxt::model::Prefetch;
using kxt::model::PrefetchElements;
using kxt::model::WalkMaterialsAhead;
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
    NoteLookupChange();
    return *this;
}

kxtMaterialDB::kxtMaterialDB(kxtMaterialDB&& other) noexcept
    : type_(other.type_), path_(std::move(other.path_)), lookupTable_(other.lookupTable_.exchange(nullptr)) {
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

kxtMaterialDB::~kxtMaterialDB() {
    iFreeGroups();
    delete lookupTable_.load(std::memory_order_relaxed);
}

void kxtMaterialDB::iFreeGroups() {
    groups_.clear();
    erased_.clear();
    NoteLookupChange();
}

void kxtMaterialDB::iCopyGroupsFrom(const kxtMaterialDB& other) {
    groups_.reserve(groups_.size() + other.groups_.size());
    for (const auto& group : other.groups_) {
        InsertGroup(*group);
        groups_.back()->SetDbOwner(this);
    }
}

void kxtMaterialDB::iTakeGroupsFrom(kxtMaterialDB& other) noexcept {
    groups_ = std::move(other.groups_);
    erased_ = std::move(other.erased_);
    other.groups_.clear();
    other.erased_.clear();
    for (const auto& group : groups_) group->SetDbOwner(this);
    for (const auto& group : erased_) group->SetDbOwner(this);
    NoteLookupChange();
}

// ---- identity ----

void kxtMaterialDB::SetDBType(eKxtMaterialBDType type) {
    // The type decides whether custom materials take their language names from the database.
    if (type == type_) return;
    type_ = type;
    NoteLookupChange();
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
    NoteLookupChange();
}

void kxtMaterialDB::InsertGroup(kxtMaterialClass&& group) {
    groups_.push_back(std::make_unique<kxtMaterialClass>(std::move(group)));
    NoteLookupChange();
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
    for (const auto& group : groups_) {
        if (EqualsNoCase(name, group->GetName()) || EqualsNoCase(name, group->GetLangName())) return group.get();
    }
    return nullptr;
}

std::u16string kxtMaterialDB::FindMaterialGroupName(const std::u16string& materialName) {
    for (const auto& group : groups_) {
        const auto count = static_cast<unsigned int>(group->GetMaterialCount());
        for (unsigned int j = 0; j < count; ++j) {
            // The answer is in the language of the name that matched.
            if (EqualsNoCase(materialName, group->GetMaterialName(j))) return group->GetName();
            if (EqualsNoCase(materialName, group->GetLangMaterialName(j))) return group->GetLangName();
        }
    }
    return {};
}

void kxtMaterialDB::EraseMaterialGroup(unsigned int index) {
    if (index >= groups_.size()) return;
    const auto position = groups_.begin() + index;
    erased_.push_back(std::move(*position));
    groups_.erase(position);
    NoteLookupChange();
}

void kxtMaterialDB::Clear() { iFreeGroups(); }

// ---- materials ----

template <class Match>
kxtMaterialBase* kxtMaterialDB::iFirstMaterial(Match match) const {
    // Every material is a heap object of its own, so a walk of a large
    // database would wait on memory at each one: ask for the members that
    // the name tests read (names, identifier, type) a few materials ahead.
    const auto askAhead = [](const kxtMaterialBase& ahead) {
        Prefetch(&ahead.name_);
        Prefetch(&ahead.type_);
        Prefetch(&ahead.langData_);
    };
    for (const auto& group : groups_) {
        if (kxtMaterialBase* found = WalkMaterialsAhead<8, 0>(*group, askAhead, kNoPrefetch, match)) return found;
    }
    return nullptr;
}

int kxtMaterialDB::GetMaterial(unsigned int classIndex, unsigned int materialIndex, kxtMaterialBase*& out) const {
    if (classIndex >= groups_.size()) return 0;
    return groups_[classIndex]->GetMaterial(materialIndex, out);
}

kxtMaterialDB::LookupTable* kxtMaterialDB::iLookupTable() const noexcept {
    LookupTable* table = lookupTable_.load(std::memory_order_acquire);
    if (table != nullptr) return table;
    auto* created = new (std::nothrow) LookupTable();
    if (created == nullptr) return nullptr;
    // Readers may race to create it: the first one's table is kept.
    if (lookupTable_.compare_exchange_strong(table, created, std::memory_order_acq_rel, std::memory_order_acquire)) {
        return created;
    }
    delete created;
    return table;
}

kxtMaterialBase* kxtMaterialDB::iFindByKey(LookupKey key, std::u16string_view text) const {
    const auto walk = [this](auto match) { return iFirstMaterial(match); };
    if (LookupTable* table = iLookupTable()) return table->Find(key, text, walk);
    return LookupTable::FindByWalk(key, text, walk);
}

int kxtMaterialDB::GetMaterialByName(const std::u16string& name, kxtMaterialBase*& out, int byGabiName) const {
    kxtMaterialBase* found = iFindByKey(byGabiName != 0 ? LookupKey::kGabiName : LookupKey::kName, name);
    if (found == nullptr) return 0;
    out = found;
    return 1;
}

int kxtMaterialDB::GetMaterialByName(const std::u16string& name, kxtMaterialBase*& out, unsigned short /*unused*/,
                                     int /*unused2*/) const {
    return GetMaterialByName(name, out, 0);
}

int kxtMaterialDB::GetMaterialByID(const std::u16string& id, kxtMaterialBase*& out) const {
    kxtMaterialBase* found = iFindByKey(LookupKey::kIdentifier, id);
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
    // Each material's process list is a block of its own: ask for the list's
    // place in the material, then for the list, a few materials ahead.
    for (const auto& group : groups_) {
        WalkMaterialsAhead<8, 4>(
            *group, [](const kxtMaterialBase& ahead) { Prefetch(&ahead.GetManufacturingTypes()); },
            [](const kxtMaterialBase& ahead) { PrefetchElements(ahead.GetManufacturingTypes()); },
            [&](const kxtMaterialBase& material) {
                for (const kxtManufacturingProcess& process : material.GetManufacturingTypes()) {
                    if (isUnique(process.GetLangName())) names.push_back(process.GetLangName());
                }
                return false;
            });
    }
    return names;
}
