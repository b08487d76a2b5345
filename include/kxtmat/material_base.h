// One material of a material library.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "kxtmat/enums.h"
#include "kxtmat/export.h"
#include "kxtmat/manufacturing_process.h"
#include "kxtmat/mat_phys_prop.h"
#include "kxtmat/material_cost_data.h"
#include "kxtmat/material_lang_data.h"

class kxtMaterialClass;
class kxtMaterialDB;

// A material: names, identifier, physical properties, manufacturing processes
// with their energy parameters, recycled content, cost and links.
//
// The record owns its strings, lists and map. The owner class and the linked
// (sage) material are non-owning pointers that the record never frees; a copy
// points to the same class and linked material as its source until its new
// holder re-points it. Lookups walk lists in insertion order and answer the
// first match; getters returning references answer a failed lookup with one
// module-wide empty string or default property. A change to the names,
// identifier, type or owner of a record drops its owner database's lookup
// index, so the owner class and its database must be alive while it changes.
class KXTMAT_API kxtMaterialBase {
public:
    using EnergyParamMap = std::map<std::u16string, std::vector<double>>;

    // A new record of type eKxtCustomMaterial held by `owner` (may be null).
    explicit kxtMaterialBase(kxtMaterialClass* owner = nullptr);
    // Copies every field, pointers included; the copy's property cursor is at
    // its end. A moved-from record is left valid but unspecified.
    kxtMaterialBase(const kxtMaterialBase& other);
    kxtMaterialBase(kxtMaterialBase&& other) noexcept;
    kxtMaterialBase& operator=(const kxtMaterialBase& other);
    kxtMaterialBase& operator=(kxtMaterialBase&& other) noexcept;
    virtual ~kxtMaterialBase();

    // Names and identifiers. Getters return references to the stored strings.
    const std::u16string& GetName() const { return name_; }
    void SetName(std::u16string name);
    const std::u16string& GetMaterialID() const { return materialId_; }
    void SetMaterialID(std::u16string id);
    const std::u16string& GetGabiName() const { return gabiName_; }
    void SetGaBiName(std::u16string name);
    const std::u16string& GetNativeClassName() const { return nativeClassName_; }
    void SetNativeClassName(std::u16string name);

    // Language names. A material of type eKxtCustomMaterial whose database is
    // not a sustainability extras database is "database-named": its native
    // name and its class's name serve as its language names and the setters
    // ignore the call. Every other material (a type-2 material without an
    // owner database included) keeps its own, possibly empty, language names.
    const std::u16string& GetLangName() const;
    void SetLangName(std::u16string name);
    const std::u16string& GetLangClassName() const;
    void SetLangCLassName(std::u16string name);

    int GetEnvData() const { return envData_; }
    void SetEnvData(int value);
    eKxtMaterialType GetType() const { return type_; }
    void SetMaterialType(eKxtMaterialType type);

    // Owners and links.
    kxtMaterialClass* GetGrOwner() const { return owner_.Get(); }
    void SetGrOwner(kxtMaterialClass* owner);
    // The owner class's name; the shared empty string without an owner class.
    const std::u16string& GetGrOwnerName() const;
    // The owner class's database; null without an owner class.
    kxtMaterialDB* GetDbOwner() const;
    // The owner database's path; the shared empty string without one.
    const std::u16string& GetOwnerDbPath() const;
    // out = the owner database's short name (kxtMaterialDB::GetDbName);
    // out is left as it was when there is no owner database.
    void GetOwnerDbName(std::u16string& out) const;
    kxtMaterialBase* GetSageLink() const { return sageLink_; }
    void SetSageLink(kxtMaterialBase* link);

    // Physical properties, keyed by abbreviation without regard to case.
    // Appends an entry (never replaces one) and rewinds the property cursor.
    void SetProperty(std::u16string abbreviation, const kxtMatPhysProp& property);
    void SetProperty(std::u16string abbreviation, kxtMatPhysProp&& property);
    // Makes room for `count` entries in all, so that a reader that knows how
    // many follow allocates the list once.
    void ReserveProperties(std::size_t count);
    // out = the first matching property; out is left as it was when none matches.
    void GetProperty(const std::u16string& abbreviation, kxtMatPhysProp& out) const;
    // The first matching property, modifiable in place; the shared default
    // property when none matches.
    kxtMatPhysProp& GetProperty(const std::u16string& abbreviation);
    // As the copying GetProperty; returns 1 when found, 0 when not.
    int FindElement(const std::u16string& abbreviation, kxtMatPhysProp& out) const;
    // Steps the property cursor: returns 1 with the next entry in the outputs,
    // or 0 (outputs unchanged) after the last entry, after which the next call
    // starts again at the first. Moves a cursor shared by all callers.
    int GetNextElement(std::u16string& abbreviation, kxtMatPhysProp& property) const;
    const std::vector<kxtMatPhysPropSet>& GetMatPhysPropSet() const { return properties_; }
    // out = the value of the first "DENS" entry and returns 1. With no
    // properties at all, a material of type eKxtCustomMaterial falls back to a
    // calculated density above 1.0. Otherwise returns 0 and leaves out.
    int GetDensity(double& out) const;
    double GetCalculatedDensity() const { return calculatedDensity_; }
    void SetCalculatedDensity(double density);

    // Manufacturing processes, in insertion order.
    std::uint64_t GetProcCount() const { return processes_.size(); }
    // The process at index, modifiable until the list next changes; null when out of range.
    kxtManufacturingProcess* GetProcType(unsigned int index);
    // Replaces the three names of the process at index; returns 1, or 0 when out of range.
    int SetProcType(unsigned int index, const kxtManufacturingProcess& process);
    void InsertProc(const kxtManufacturingProcess& process);
    void InsertProc(kxtManufacturingProcess&& process);
    // The first process whose language, native or GaBi name (tested in that
    // order) equals name without regard to case; null when none does.
    kxtManufacturingProcess* FindProcType(std::u16string name);
    const std::vector<kxtManufacturingProcess>& GetManufacturingTypes() const { return processes_; }
    void SetManufacturingTypes(const std::vector<kxtManufacturingProcess>& processes);

    // Energy parameters per process name, keyed case-sensitively. An entry
    // already present under exactly that name is kept and the new list dropped.
    void InsertManufacturingParams(const std::u16string& processName, const std::vector<double>& params);
    void InsertManufacturingParams(const std::u16string& processName, std::vector<double>&& params);
    // out = the list stored under exactly processName; out is left as it was otherwise.
    void GetManufacturingEnergyParams(std::vector<double>& out, const std::u16string& processName) const;
    const EnergyParamMap& GetManufacturingProcToEnergyParamMap() const { return energyParams_; }
    void SetManufacturingProcToEnergyParamMap(const EnergyParamMap& map);

    // Recycled content. The limits do not re-clamp the stored amount.
    void SetRecycledContentLimits(double maximum, double minimum, double tradeMix);
    double GetRecycledContentMax() const { return recycledMax_; }
    double GetRecycledContentMin() const { return recycledMin_; }
    double GetTradeMix() const { return tradeMix_; }
    // Stores the maximum when value exceeds it, else the minimum when that
    // exceeds value, else value (so before any limits are set, 0).
    void SetRecycledContentAmount(double value);
    double GetRecycledContentAmount() const { return recycledAmount_; }
    void SetIsEditableRecycledContentAmount(bool editable);
    bool GetIsEditableRecycledContentAmount() const { return amountEditable_; }

    // Cost. Parses an amount text ("12.50", "3.2 USD") and a unit text
    // ("EUR/kg"). A malformed amount changes nothing; a malformed unit or an
    // unknown mass unit leaves the cost at 0 and not defined. Fields that a
    // call does not reach keep their earlier values.
    void SetMaterialCostData(const std::u16string& costText, const std::u16string& unitText);
    void GetMaterialCostData(kxtMaterialCostData& out) const;
    double GetMaterialCostPerUnitMass() const { return cost_.costPerUnitMass; }
    std::u16string GetCurrency() const { return cost_.currency; }
    std::u16string GetUnitString() const { return cost_.unitString; }
    eKxtMassUnits GetMaterialCostMassUnits() const { return cost_.massUnits; }
    bool IsMaterialCostDefined() const { return cost_.defined; }

private:
    friend class kxtMaterialDB;  // the property search reads values in place

    // The property of the first entry whose abbreviation matches; null when none does.
    const kxtMatPhysProp* iFindProperty(std::u16string_view abbreviation) const;
    // True when the language names come from the database (see GetLangName).
    bool iIsDatabaseNamed() const;
    // Drops the lookup index of group's owner database; nothing without one.
    static void iDropIndexOf(const kxtMaterialClass* group) noexcept;

    // Where GetNextElement stands. Its end position stands both before the
    // first entry and after the last; a copied or assigned cursor is at its end.
    struct PropertyCursor {
        static constexpr std::size_t kEnd = static_cast<std::size_t>(-1);
        std::size_t position = kEnd;
        PropertyCursor() = default;
        PropertyCursor(const PropertyCursor&) noexcept {}
        PropertyCursor& operator=(const PropertyCursor& other) noexcept {
            if (this != &other) position = kEnd;
            return *this;
        }
    };

    // The owner class. An assignment to the record, or a move from it, may
    // change names that the owner database's lookup index holds: the link
    // drops that index (the old and the new owner's on assignment). The first
    // member, so that an assignment that throws partway has dropped it.
    class OwnerLink {
    public:
        explicit OwnerLink(kxtMaterialClass* group) noexcept : group_(group) {}
        OwnerLink(const OwnerLink& other) noexcept : group_(other.group_) {}
        OwnerLink(OwnerLink&& other) noexcept;
        OwnerLink& operator=(const OwnerLink& other) noexcept;
        OwnerLink& operator=(OwnerLink&& other) noexcept;
        ~OwnerLink() = default;
        kxtMaterialClass* Get() const noexcept { return group_; }

    private:
        kxtMaterialClass* group_;
    };
    OwnerLink owner_;

    std::u16string name_;
    std::u16string materialId_;
    int envData_ = 0;
    std::vector<kxtMatPhysPropSet> properties_;
    mutable PropertyCursor cursor_;
    std::vector<kxtManufacturingProcess> processes_;
    EnergyParamMap energyParams_;
    eKxtMaterialType type_ = eKxtCustomMaterial;
    double recycledAmount_ = 0.0;
    double tradeMix_ = 0.0;
    double recycledMax_ = 0.0;
    double recycledMin_ = 0.0;
    bool amountEditable_ = false;
    std::u16string gabiName_;
    std::u16string nativeClassName_;
    kxtMaterialLangDataDef langData_;
    kxtMaterialBase* sageLink_ = nullptr;
    double calculatedDensity_ = 1.0;
    kxtMaterialCostData cost_;
};
