// The name test shared by the lookups of classes and databases, and the
// fingerprint that agrees with it.
#pragma once

#include <cstdint>
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

// A 32-bit FNV-1a hash of text after FoldCase: texts that EqualsNoCase finds
// equal have equal fingerprints, while different texts rarely share one.
// The final mix makes every bit depend on every code unit, so that tables
// may use the low bits alone.
inline std::uint32_t NoCaseFingerprint(std::u16string_view text) noexcept {
    std::uint32_t hash = 2166136261u;
    for (const char16_t c : text) {
        hash ^= platform::FoldCase(c);
        hash *= 16777619u;
    }
    hash ^= hash >> 16;
    hash *= 0x85ebca6bu;
    hash ^= hash >> 13;
    return hash;
}

}  // namespace kxt::model
