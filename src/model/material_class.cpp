#include "kxtmat/material_class.h"

#include <cstddef>
#include <utility>

#include "kxtmat/material_db.h"
#include "kxtmat/material_walk.h"
#include "model/material_index.h"
#include "model/shared_defaults.h"
#include "platform/memory.h"

kxtMaterialClass::kxtMaterialClass(kxtMaterialDB* owner) : owner_(owner) {}

kxtMaterialClass::kxtMaterialClass(const kxtMaterialClass& other) : name_(other.name_), owner_(other.owner_) {
    iCopyMaterialsFrom(other);
}

kxtMaterialClass& kxtMaterialClass::operator=(const kxtMaterialClass& other) {
    if (this == &other) return *this;
    iDropOwnerIndex();
    name_ = other.name_;
    owner_ = other.owner_;
    iDropOwnerIndex();
    iFreeMaterials();
    iCopyMaterialsFrom(other);
    return *this;
}

kxtMaterialClass::kxtMaterialClass(kxtMaterialClass&& other) noexcept
    : name_(std::move(other.name_)), materials_(std::move(other.materials_)), owner_(other.owner_) {
    iDropOwnerIndex();
    for (auto& material : materials_) material->SetGrOwner(this);
}

kxtMaterialClass& kxtMaterialClass::operator=(kxtMaterialClass&& other) noexcept {
    if (this == &other) return *this;
    iDropOwnerIndex();
    other.iDropOwnerIndex();
    name_ = std::move(other.name_);
    owner_ = other.owner_;
    materials_ = std::move(other.materials_);
    for (auto& material : materials_) material->SetGrOwner(this);
    return *this;
}

kxtMaterialClass::~kxtMaterialClass() { iFreeMaterials(); }

void kxtMaterialClass::iFreeMaterials() noexcept {
    // Keeps freeing a large class as cheap per record as freeing a small one.
    constexpr std::size_t kRecordsPerMerge = 16;
    for (std::size_t i = 0; i < materials_.size(); ++i) {
        materials_[i].reset();
        if ((i + 1) % kRecordsPerMerge == 0 || i + 1 == materials_.size()) kxt::platform::MergeFreedBlocks();
    }
    materials_.clear();
}

void kxtMaterialClass::iDropOwnerIndex() const noexcept {
    if (owner_ != nullptr) owner_->iDropLookupIndex();
}

void kxtMaterialClass::iCopyMaterialsFrom(const kxtMaterialClass& other) {
    materials_.reserve(materials_.size() + other.materials_.size());
    for (const auto& material : other.materials_) {
        materials_.push_back(std::make_unique<kxtMaterialBase>(*material));
        materials_.back()->SetGrOwner(this);
    }
}

void kxtMaterialClass::SetName(std::u16string name) { name_ = std::move(name); }
// The owner database's type decides whether custom materials take their language names from it.
void kxtMaterialClass::SetDbOwner(kxtMaterialDB* owner) {
    if (owner == owner_) return;
    iDropOwnerIndex();
    owner_ = owner;
    iDropOwnerIndex();
}

void kxtMaterialClass::InsertMaterial(const kxtMaterialBase& material) {
    materials_.push_back(std::make_unique<kxtMaterialBase>(material));
    iDropOwnerIndex();
}

void kxtMaterialClass::InsertMaterial(kxtMaterialBase&& material) {
    materials_.push_back(std::make_unique<kxtMaterialBase>(std::move(material)));
    iDropOwnerIndex();
}

int kxtMaterialClass::GetMaterial(unsigned int index, kxtMaterialBase*& out) const {
    if (index >= materials_.size()) return 0;
    out = materials_[index].get();
    return 1;
}

kxtMaterialBase* kxtMaterialClass::GetMaterial(unsigned int index) const {
    return index < materials_.size() ? materials_[index].get() : nullptr;
}

kxtMaterialBase* kxtMaterialClass::GetMaterial(const std::u16string& name) {
    return kxt::FirstMaterial(*this, [&name](const kxtMaterialBase& material) {
        return kxt::model::MatchesKeys(material, kxt::model::MaterialKeys::kNameThenLangName, name);
    });
}

const std::u16string& kxtMaterialClass::GetMaterialName(unsigned int index) const {
    return index < materials_.size() ? materials_[index]->GetName() : kxt::model::SharedEmptyString();
}

const std::u16string& kxtMaterialClass::GetLangMaterialName(unsigned int index) const {
    return index < materials_.size() ? materials_[index]->GetLangName() : kxt::model::SharedEmptyString();
}

const std::u16string& kxtMaterialClass::GetLangName() const {
    return materials_.empty() ? kxt::model::SharedEmptyString() : materials_.front()->GetLangClassName();
}

int kxtMaterialClass::GetMfgProcessesCount() const {
    return materials_.empty() ? -1 : static_cast<int>(materials_.front()->GetProcCount());
}

kxtManufacturingProcess* kxtMaterialClass::GetManufacturingProcess(int index) {
    // A negative index, taken as unsigned, is out of range.
    return materials_.empty() ? nullptr : materials_.front()->GetProcType(static_cast<unsigned int>(index));
}
