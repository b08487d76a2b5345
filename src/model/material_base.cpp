#include "kxtmat/material_base.h"

#include <utility>

#include "kxtmat/material_class.h"
#include "kxtmat/material_db.h"
#include "model/shared_defaults.h"
#include "platform/text.h"

using kxt::platform::EqualsNoCase;

namespace {
constexpr std::u16string_view kDensityAbbreviation = u"DENS";
}  // namespace

kxtMaterialBase::kxtMaterialBase(kxtMaterialClass* owner) : owner_(owner) {}

kxtMaterialBase::kxtMaterialBase(const kxtMaterialBase& other) = default;
kxtMaterialBase::kxtMaterialBase(kxtMaterialBase&& other) noexcept = default;
kxtMaterialBase& kxtMaterialBase::operator=(const kxtMaterialBase& other) = default;
kxtMaterialBase& kxtMaterialBase::operator=(kxtMaterialBase&& other) noexcept = default;

kxtMaterialBase::~kxtMaterialBase() = default;

kxtMaterialBase::OwnerLink::OwnerLink(OwnerLink&& other) noexcept : group_(other.group_) { iDropIndexOf(group_); }

kxtMaterialBase::OwnerLink& kxtMaterialBase::OwnerLink::operator=(const OwnerLink& other) noexcept {
    iDropIndexOf(group_);
    group_ = other.group_;
    iDropIndexOf(group_);
    return *this;
}

kxtMaterialBase::OwnerLink& kxtMaterialBase::OwnerLink::operator=(OwnerLink&& other) noexcept {
    iDropIndexOf(other.group_);
    return *this = other;
}

void kxtMaterialBase::iDropIndexOf(const kxtMaterialClass* group) noexcept {
    if (group != nullptr && group->GetDbOwner() != nullptr) group->GetDbOwner()->iDropLookupIndex();
}

void kxtMaterialBase::SetName(std::u16string name) {
    name_ = std::move(name);
    iDropIndexOf(owner_.Get());
}

void kxtMaterialBase::SetMaterialID(std::u16string id) {
    materialId_ = std::move(id);
    iDropIndexOf(owner_.Get());
}

void kxtMaterialBase::SetGaBiName(std::u16string name) {
    gabiName_ = std::move(name);
    iDropIndexOf(owner_.Get());
}

void kxtMaterialBase::SetNativeClassName(std::u16string name) { nativeClassName_ = std::move(name); }
void kxtMaterialBase::SetEnvData(int value) { envData_ = value; }
// The type and the owner class decide whether the language name is the native name.
void kxtMaterialBase::SetMaterialType(eKxtMaterialType type) {
    if (type == type_) return;
    type_ = type;
    iDropIndexOf(owner_.Get());
}

void kxtMaterialBase::SetGrOwner(kxtMaterialClass* owner) {
    if (owner != owner_.Get()) owner_ = OwnerLink(owner);
}

void kxtMaterialBase::SetSageLink(kxtMaterialBase* link) { sageLink_ = link; }
void kxtMaterialBase::SetCalculatedDensity(double density) { calculatedDensity_ = density; }
void kxtMaterialBase::SetIsEditableRecycledContentAmount(bool editable) { amountEditable_ = editable; }

// ---- language names ----

bool kxtMaterialBase::iIsDatabaseNamed() const {
    if (type_ != eKxtCustomMaterial) return false;
    const kxtMaterialDB* db = GetDbOwner();
    return db != nullptr && db->GetDBType() != eKxtSustainExtrasDB;
}

const std::u16string& kxtMaterialBase::GetLangName() const {
    return iIsDatabaseNamed() ? name_ : langData_.langName_;
}

const std::u16string& kxtMaterialBase::GetLangClassName() const {
    // A database-named material always has an owner class (its database is reached through it).
    return iIsDatabaseNamed() ? owner_.Get()->GetName() : langData_.langClassName_;
}

void kxtMaterialBase::SetLangName(std::u16string name) {
    if (iIsDatabaseNamed()) return;
    langData_.langName_ = std::move(name);
    iDropIndexOf(owner_.Get());
}

void kxtMaterialBase::SetLangCLassName(std::u16string name) {
    if (!iIsDatabaseNamed()) langData_.langClassName_ = std::move(name);
}

// ---- owners ----

const std::u16string& kxtMaterialBase::GetGrOwnerName() const {
    return owner_.Get() != nullptr ? owner_.Get()->GetName() : kxt::model::SharedEmptyString();
}

kxtMaterialDB* kxtMaterialBase::GetDbOwner() const { return owner_.Get() != nullptr ? owner_.Get()->GetDbOwner() : nullptr; }

const std::u16string& kxtMaterialBase::GetOwnerDbPath() const {
    const kxtMaterialDB* db = GetDbOwner();
    return db != nullptr ? db->GetPath() : kxt::model::SharedEmptyString();
}

void kxtMaterialBase::GetOwnerDbName(std::u16string& out) const {
    if (const kxtMaterialDB* db = GetDbOwner()) out = db->GetDbName();
}

// ---- physical properties ----

const kxtMatPhysProp* kxtMaterialBase::iFindProperty(std::u16string_view abbreviation) const {
    for (const kxtMatPhysPropSet& entry : properties_) {
        if (EqualsNoCase(entry.abbreviation_, abbreviation)) return &entry.property_;
    }
    return nullptr;
}

void kxtMaterialBase::SetProperty(std::u16string abbreviation, const kxtMatPhysProp& property) {
    SetProperty(std::move(abbreviation), kxtMatPhysProp(property));
}

void kxtMaterialBase::SetProperty(std::u16string abbreviation, kxtMatPhysProp&& property) {
    if (properties_.size() < properties_.capacity()) {
        // Nothing moves: the entry is filled in its place.
        kxtMatPhysPropSet& entry = properties_.emplace_back();
        entry.abbreviation_ = std::move(abbreviation);
        entry.property_ = std::move(property);
    } else {
        // The entry is complete before the list grows: the property may be
        // one of this material's own, which growing the list would move.
        kxtMatPhysPropSet entry;
        entry.abbreviation_ = std::move(abbreviation);
        entry.property_ = std::move(property);
        properties_.push_back(std::move(entry));
    }
    cursor_.position = PropertyCursor::kEnd;
}

void kxtMaterialBase::ReserveProperties(std::size_t count) { properties_.reserve(count); }

void kxtMaterialBase::GetProperty(const std::u16string& abbreviation, kxtMatPhysProp& out) const {
    FindElement(abbreviation, out);
}

kxtMatPhysProp& kxtMaterialBase::GetProperty(const std::u16string& abbreviation) {
    if (const kxtMatPhysProp* property = iFindProperty(abbreviation)) {
        // The property lives in this non-const record's own list.
        return const_cast<kxtMatPhysProp&>(*property);
    }
    return kxt::model::SharedDefaultProperty();
}

int kxtMaterialBase::FindElement(const std::u16string& abbreviation, kxtMatPhysProp& out) const {
    const kxtMatPhysProp* property = iFindProperty(abbreviation);
    if (property == nullptr) return 0;
    out = *property;
    return 1;
}

int kxtMaterialBase::GetNextElement(std::u16string& abbreviation, kxtMatPhysProp& property) const {
    const std::size_t next = cursor_.position == PropertyCursor::kEnd ? 0 : cursor_.position + 1;
    if (next >= properties_.size()) {
        cursor_.position = PropertyCursor::kEnd;
        return 0;
    }
    cursor_.position = next;
    abbreviation = properties_[next].abbreviation_;
    property = properties_[next].property_;
    return 1;
}

int kxtMaterialBase::GetDensity(double& out) const {
    if (const kxtMatPhysProp* density = iFindProperty(kDensityAbbreviation)) {
        out = density->GetValue();
        return 1;
    }
    // Only a material without any listed property falls back to a density the host calculated.
    if (properties_.empty() && type_ == eKxtCustomMaterial && calculatedDensity_ > 1.0) {
        out = calculatedDensity_;
        return 1;
    }
    return 0;
}

// ---- manufacturing processes ----

kxtManufacturingProcess* kxtMaterialBase::GetProcType(unsigned int index) {
    return index < processes_.size() ? &processes_[index] : nullptr;
}

int kxtMaterialBase::SetProcType(unsigned int index, const kxtManufacturingProcess& process) {
    if (index >= processes_.size()) return 0;
    processes_[index] = process;
    return 1;
}

void kxtMaterialBase::InsertProc(const kxtManufacturingProcess& process) { processes_.push_back(process); }
void kxtMaterialBase::InsertProc(kxtManufacturingProcess&& process) { processes_.push_back(std::move(process)); }

kxtManufacturingProcess* kxtMaterialBase::FindProcType(std::u16string name) {
    for (kxtManufacturingProcess& process : processes_) {
        if (EqualsNoCase(name, process.GetLangName()) || EqualsNoCase(name, process.GetNativeName()) ||
            EqualsNoCase(name, process.GetGaBiName())) {
            return &process;
        }
    }
    return nullptr;
}

void kxtMaterialBase::SetManufacturingTypes(const std::vector<kxtManufacturingProcess>& processes) {
    processes_ = processes;  // self-assignment of a vector is a no-op
}

void kxtMaterialBase::InsertManufacturingParams(const std::u16string& processName, const std::vector<double>& params) {
    energyParams_.try_emplace(processName, params);
}

void kxtMaterialBase::InsertManufacturingParams(const std::u16string& processName, std::vector<double>&& params) {
    energyParams_.try_emplace(processName, std::move(params));
}

void kxtMaterialBase::GetManufacturingEnergyParams(std::vector<double>& out, const std::u16string& processName) const {
    const auto found = energyParams_.find(processName);
    if (found != energyParams_.end()) out = found->second;
}

void kxtMaterialBase::SetManufacturingProcToEnergyParamMap(const EnergyParamMap& map) { energyParams_ = map; }

// ---- recycled content ----

void kxtMaterialBase::SetRecycledContentLimits(double maximum, double minimum, double tradeMix) {
    recycledMax_ = maximum;
    recycledMin_ = minimum;
    tradeMix_ = tradeMix;
}

void kxtMaterialBase::SetRecycledContentAmount(double value) {
    // The maximum is tested first, so inverted limits answer with the maximum above it.
    if (value > recycledMax_) {
        recycledAmount_ = recycledMax_;
    } else if (recycledMin_ > value) {
        recycledAmount_ = recycledMin_;
    } else {
        recycledAmount_ = value;
    }
}
