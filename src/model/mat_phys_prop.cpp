#include "kxtmat/mat_phys_prop.h"

#include <utility>

#include "platform/text.h"

kxtMatPhysProp::kxtMatPhysProp(std::u16string name, double value) : propName_(std::move(name)), value_(value) {}

void kxtMatPhysProp::GetPropName(std::u16string& out) const { out = propName_; }
void kxtMatPhysProp::SetPropName(std::u16string name) { propName_ = std::move(name); }
void kxtMatPhysProp::GetLangPropName(std::u16string& out) const { out = langPropName_; }
void kxtMatPhysProp::SetLangPropName(std::u16string name) { langPropName_ = std::move(name); }
double kxtMatPhysProp::GetValue() const { return value_; }
void kxtMatPhysProp::SetValue(double value) { value_ = value; }

kxtMatPhysPropSet::~kxtMatPhysPropSet() = default;

bool kxtMatPhysPropSet::operator==(const kxtMatPhysPropSet& other) const {
    return kxt::platform::EqualsNoCase(abbreviation_, other.abbreviation_);
}

bool kxtMatPhysPropSet::operator<(const kxtMatPhysPropSet& other) const {
    return kxt::platform::CompareNoCase(abbreviation_, other.abbreviation_) < 0;
}

bool kxtMatPhysPropSet::operator>(const kxtMatPhysPropSet& other) const {
    return kxt::platform::CompareNoCase(abbreviation_, other.abbreviation_) > 0;
}

void kxtMatPhysPropSet::SetProperty(std::u16string abbreviation, std::u16string propName, double value) {
    abbreviation_ = std::move(abbreviation);
    property_.SetPropName(std::move(propName));
    property_.SetValue(value);
}

void kxtMatPhysPropSet::SetProperty(std::u16string abbreviation, const kxtMatPhysProp& property) {
    abbreviation_ = std::move(abbreviation);
    property_ = property;
}

void kxtMatPhysPropSet::GetAbb(std::u16string& out) const { out = abbreviation_; }
void kxtMatPhysPropSet::GetProperty(kxtMatPhysProp& out) const { out = property_; }
kxtMatPhysProp& kxtMatPhysPropSet::GetProperty() { return property_; }
