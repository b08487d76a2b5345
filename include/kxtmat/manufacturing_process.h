// A manufacturing process of a material, named in three vocabularies.
#pragma once

#include <string>

#include "kxtmat/export.h"

// The native (English), user-interface language and GaBi names of one
// manufacturing process. A value type; copies are independent.
class KXTMAT_API kxtManufacturingProcess {
public:
    kxtManufacturingProcess() = default;
    kxtManufacturingProcess(const kxtManufacturingProcess&) = default;
    kxtManufacturingProcess(kxtManufacturingProcess&&) noexcept = default;
    kxtManufacturingProcess& operator=(const kxtManufacturingProcess&) = default;
    kxtManufacturingProcess& operator=(kxtManufacturingProcess&&) noexcept = default;
    virtual ~kxtManufacturingProcess();

    // The references stay valid while the record lives and the name is not replaced.
    const std::u16string& GetNativeName() const { return nativeName_; }
    const std::u16string& GetLangName() const { return langName_; }
    const std::u16string& GetGaBiName() const { return gabiName_; }

    void SetNativeName(std::u16string name);
    void SetLangName(std::u16string name);
    void SetGaBiName(std::u16string name);

private:
    std::u16string nativeName_;
    std::u16string langName_;
    std::u16string gabiName_;
};
