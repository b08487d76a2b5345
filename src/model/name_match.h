// The name test shared by the lookups of classes and databases, and the
// fingerprint that agrees with it.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
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

namespace detail {

// Four UTF-16 code units, packed into a word with the first in the low bits.
inline std::uint64_t PackUnits(const char16_t* units, std::size_t count) noexcept {
    std::uint64_t word = 0;
    for (std::size_t i = 0; i < count; ++i) word |= std::uint64_t{units[i]} << (16 * i);
    return word;
}

// FoldCase of each of the four code units of word. When all four are ASCII,
// the upper-case letters of every lane are found at once: a lane's bit 7
// after adding 0x3F says c >= 'A', after adding 0x25 that c > 'Z' (neither
// sum leaves its lane), and such a letter gains 0x20.
inline std::uint64_t FoldUnits(std::uint64_t word) noexcept {
    constexpr std::uint64_t kLanes = 0x0001000100010001ull;
    if ((word & (kLanes * 0xFF80)) == 0) {
        const std::uint64_t atLeastA = word + kLanes * 0x3F;
        const std::uint64_t beyondZ = word + kLanes * 0x25;
        return word | ((atLeastA & ~beyondZ & (kLanes * 0x80)) >> 2);
    }
    std::uint64_t folded = 0;
    for (int i = 0; i < 4; ++i) {
        const auto unit = static_cast<char16_t>(word >> (16 * i));
        folded |= std::uint64_t{platform::FoldCase(unit)} << (16 * i);
    }
    return folded;
}

}  // namespace detail

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
        std::uint64_t word;
        std::memcpy(&word, units, sizeof word);
        if constexpr (std::endian::native == std::endian::big) word = detail::PackUnits(units, 4);
        hash = (hash ^ detail::FoldUnits(word)) * kMultiplier;
        hash ^= hash >> 29;
    }
    if (left > 0) {
        hash = (hash ^ detail::FoldUnits(detail::PackUnits(units, left))) * kMultiplier;
        hash ^= hash >> 29;
    }
    hash *= 0xBF58476D1CE4E5B9ull;
    hash ^= hash >> 32;
    return static_cast<std::uint32_t>(hash);
}

}  // namespace kxt::model
