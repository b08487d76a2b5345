// The favourite materials that the host keeps in its registry key, and the
// questions asked of them.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "kxtmat/material_dbs_manager.h"
#include "model/name_match.h"
#include "platform/registry.h"
#include "platform/text.h"

namespace kxt::manager {
namespace {

using platform::EqualsNoCase;

constexpr char16_t kNativeLibrary[] = u"korvex materials";
constexpr char16_t kDinLibrary[] = u"korvex din materials";

// The host's buffer for one value: 255 characters with the terminating zero.
constexpr std::size_t kMaxValueBytes = 510;

// Reading stops after this many missing entries in a row, so that a count
// far beyond the entries written ends in time rather than asking for every
// number up to it.
constexpr std::uint32_t kMaxMissingInARow = 1024;

// "Software\Korvex\Korvex <1992 + version>\Material"; the sum wraps as an
// unsigned 16-bit number does.
std::u16string FavouritesKey(unsigned short version) {
    const auto year = static_cast<unsigned short>(1992u + version);
    std::u16string key = u"Software\\Korvex\\Korvex ";
    for (char c : std::to_string(year)) key += static_cast<char16_t>(c);
    key += u"\\Material";
    return key;
}

std::u16string ValueName(std::uint32_t index) {
    std::u16string name = u"_FavMaterial";
    for (char c : std::to_string(index)) name += static_cast<char16_t>(c);
    return name;
}

// The text of a string value that fits the host's buffer and ends with its
// terminating zero; nothing for any other value. Zero bytes give an empty text.
std::optional<std::u16string> FavouriteText(const platform::RegistryValue& value) {
    if (value.type != platform::RegistryType::kString && value.type != platform::RegistryType::kExpandString)
        return std::nullopt;
    const std::vector<std::uint8_t>& bytes = value.data;
    if (bytes.size() > kMaxValueBytes || bytes.size() % 2 != 0) return std::nullopt;
    if (bytes.empty()) return std::u16string();
    if (bytes[bytes.size() - 2] != 0 || bytes[bytes.size() - 1] != 0) return std::nullopt;
    std::u16string text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto unit = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
        if (unit == 0) break;
        text += unit;
    }
    return text;
}

struct FavouriteEntry {
    std::u16string_view library;
    std::u16string_view material;
};

// "library|material[|ignored...]"; a text without a bar is a material name alone.
FavouriteEntry SplitFavourite(std::u16string_view text) {
    const auto bar = text.find(u'|');
    if (bar == std::u16string_view::npos) return {{}, text};
    std::u16string_view material = text.substr(bar + 1);
    material = material.substr(0, material.find(u'|'));
    return {text.substr(0, bar), material};
}

kxtMaterialBase* FindIn(const kxtMaterialDB& db, const std::u16string& name) {
    kxtMaterialBase* found = nullptr;
    db.GetMaterialByName(name, found, 0);
    return found;
}

}  // namespace
}  // namespace kxt::manager

const std::vector<kxtMaterialBase*>& kxtMaterialDBsManager::LoadFavoritesMaterialsFromRegistry() {
    using namespace kxt::manager;
    favorites_.clear();
    const std::optional<kxt::platform::RegistryKey> key =
        kxt::platform::RegistryKey::OpenCurrentUser(FavouritesKey(kxVersion_));
    if (!key) return favorites_;
    // A signed number: a count with the high bit set is not greater than 0.
    const auto count = static_cast<std::int32_t>(key->ReadDword(u"__NumOfFavs").value_or(0));

    std::uint32_t missingInARow = 0;
    for (std::int64_t i = 1; i <= count && missingInARow < kMaxMissingInARow; ++i) {
        const std::optional<kxt::platform::RegistryValue> value = key->ReadValue(ValueName(static_cast<std::uint32_t>(i)));
        missingInARow = value ? 0 : missingInARow + 1;
        if (!value) continue;
        const std::optional<std::u16string> text = FavouriteText(*value);
        if (!text) continue;

        const FavouriteEntry entry = SplitFavourite(*text);
        const std::u16string material(entry.material);
        kxtMaterialBase* found = nullptr;
        if (EqualsNoCase(entry.library, kNativeLibrary)) {
            found = FindIn(nativeDB_, material);
        } else if (EqualsNoCase(entry.library, kDinLibrary)) {
            found = FindIn(nativeDinDB_, material);
        } else {
            for (const kxtMaterialDB& db : customDBs_) {
                if ((found = FindIn(db, material)) != nullptr) break;
            }
        }
        if (found != nullptr) favorites_.push_back(found);
    }
    return favorites_;
}

kxtMaterialBase* kxtMaterialDBsManager::GetFavoritesMaterial(const std::u16string& name) const {
    for (kxtMaterialBase* favourite : favorites_) {
        if (favourite != nullptr && kxt::model::MaterialNamed(*favourite, name)) return favourite;
    }
    return nullptr;
}

int kxtMaterialDBsManager::HasFavoritesMaterial(const kxtMaterialBase* material) const {
    if (material == nullptr) return 0;
    for (const kxtMaterialBase* favourite : favorites_) {
        if (favourite != nullptr && favourite->GetGrOwner() == material->GetGrOwner() &&
            favourite->GetName() == material->GetName())
            return 1;
    }
    return 0;
}
