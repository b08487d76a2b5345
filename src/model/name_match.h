// The name test shared by the lookups of classes and databases.
#pragma once

#include <string_view>

#include "kxtmat/material_base.h"
#include "platform/text.h"

namespace kxt::model {

// True when name equals, without regard to case, the material's native name
// (its GaBi name when byGabiName) or else its language name.
inline bool MaterialNamed(const kxtMaterialBase& material, std::u16string_view name, bool byGabiName = false) {
    const std::u16string& firstKey = byGabiName ? material.GetGabiName() : material.GetName();
    return platform::EqualsNoCase(name, firstKey) || platform::EqualsNoCase(name, material.GetLangName());
}

}  // namespace kxt::model
