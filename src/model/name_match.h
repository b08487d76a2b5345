// The name test shared by the lookups of classes and databases, and the
// fingerprint that agrees with it.
#pragma once

#include <cstddef>
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

// A 32-bit hash of text after FoldCase: texts that EqualsNoCase finds equal
// have equal fingerprints, while different texts rarely share one. The
// folded code units are mixed four at a time (one multiplication per word,
// an ASCII word folded without a branch per unit), and the final mix makes
// every bit depend on every code unit, so that tables may use the low bits
// alone.
inline std::uint32_t NoCaseFingerprint(std::u16string_view text) noexcept {
    constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;
    std::uint64_t hash = text.size() * kMultiplier;
    const char16_t* units = text.data();
    std::size_t left = text.size();
    for (; left >= 4; units += 4, left -= 4) {
        hash = (hash ^ platform::FoldFourUnits(platform::LoadFourUnits(units))) * kMultiplier;
        hash ^= hash >> 29;
    }
    if (left > 0) {
        hash = (hash ^ platform::FoldFourUnits(platform::PackUnits(units, left))) * kMultiplier;
        hash ^= hash >> 29;
    }
    hash *= 0xBF58476D1CE4E5B9ull;
    hash ^= hash >> 32;
    return static_cast<std::uint32_t>(hash);
}

}  // namespace kxt::model
