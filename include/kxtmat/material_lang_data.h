// The names of a material in the user-interface language. Internal to
// kxtMaterialBase, which holds one by value and alone reads and writes it.
#pragma once

#include <string>

class kxtMaterialBase;

class kxtMaterialLangDataDef {
public:
    kxtMaterialLangDataDef() = default;
    kxtMaterialLangDataDef(const kxtMaterialLangDataDef&) = default;
    kxtMaterialLangDataDef(kxtMaterialLangDataDef&&) noexcept = default;
    kxtMaterialLangDataDef& operator=(const kxtMaterialLangDataDef&) = default;
    kxtMaterialLangDataDef& operator=(kxtMaterialLangDataDef&&) noexcept = default;
    virtual ~kxtMaterialLangDataDef() = default;

private:
    friend class kxtMaterialBase;
    std::u16string langName_;
    std::u16string langClassName_;
};
