#include "kxtmat/manufacturing_process.h"

#include <utility>

kxtManufacturingProcess::~kxtManufacturingProcess() = default;

void kxtManufacturingProcess::SetNativeName(std::u16string name) { nativeName_ = std::move(name); }
void kxtManufacturingProcess::SetLangName(std::u16string name) { langName_ = std::move(name); }
void kxtManufacturingProcess::SetGaBiName(std::u16string name) { gabiName_ = std::move(name); }
