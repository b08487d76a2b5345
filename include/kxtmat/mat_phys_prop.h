// Physical property records: one value with its names, and the keyed entry of
// a material's property list.
#pragma once

#include <string>

#include "kxtmat/export.h"

class kxtMaterialBase;

// One physical property value with its native and language names. A plain
// value type that owns its strings.
class KXTMAT_API kxtMatPhysProp {
public:
    // Both names empty, value 0.0.
    kxtMatPhysProp() = default;
    // The given native name and value; the language name stays empty.
    kxtMatPhysProp(std::u16string name, double value);

    void GetPropName(std::u16string& out) const;
    void SetPropName(std::u16string name);
    void GetLangPropName(std::u16string& out) const;
    void SetLangPropName(std::u16string name);
    double GetValue() const;
    void SetValue(double value);

private:
    std::u16string propName_;
    double value_ = 0.0;
    std::u16string langPropName_;
};

// A property together with the abbreviation under which a material lists it
// ("DENS" is density). Comparisons look at the abbreviation only, without
// regard to case.
class KXTMAT_API kxtMatPhysPropSet {
public:
    kxtMatPhysPropSet() = default;
    kxtMatPhysPropSet(const kxtMatPhysPropSet&) = default;
    kxtMatPhysPropSet(kxtMatPhysPropSet&&) noexcept = default;
    kxtMatPhysPropSet& operator=(const kxtMatPhysPropSet&) = default;
    kxtMatPhysPropSet& operator=(kxtMatPhysPropSet&&) noexcept = default;
    virtual ~kxtMatPhysPropSet();

    bool operator==(const kxtMatPhysPropSet& other) const;
    bool operator<(const kxtMatPhysPropSet& other) const;
    bool operator>(const kxtMatPhysPropSet& other) const;

    // Sets the abbreviation, the property name and the value; the property's
    // language name keeps what it held.
    void SetProperty(std::u16string abbreviation, std::u16string propName, double value);
    // Sets the abbreviation and copies all three fields of the property.
    void SetProperty(std::u16string abbreviation, const kxtMatPhysProp& property);

    void GetAbb(std::u16string& out) const;
    void GetProperty(kxtMatPhysProp& out) const;
    // The embedded property, modifiable in place.
    kxtMatPhysProp& GetProperty();

private:
    friend class kxtMaterialBase;  // its lookups read the abbreviation in place

    std::u16string abbreviation_;
    kxtMatPhysProp property_;
};
