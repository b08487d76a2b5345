// The favourite materials that the host keeps in its registry key, and the
// questions asked of them.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "kxtmat/material_dbs_manager.h"
#include "diag/findings.h"
#include "manager/query_rules.h"
#include "model/material_index.h"
#include "platform/registry.h"
#include "platform/text.h"

namespace kxt::manager {
namespace {

using platform::EqualsNoCase;
using platform::StartsWithNoCase;

// The host's buffer for one value: 255 characters with the terminating zero.
constexpr std::size_t kMaxValueBytes = 510;

// "Software\Korvex\Korvex <1992 + version>\Material"; the sum wraps as an
// unsigned 16-bit number does.
std::u16string FavouritesKey(unsigned short version) {
    const auto year = static_cast<unsigned short>(1992u + version);
    std::u16string key = u"Software\\Korvex\\Korvex ";
    for (char c : std::to_string(year)) key += static_cast<char16_t>(c);
    key += u"\\Material";
    return key;
}

constexpr std::u16string_view kFavouriteValuePrefix = u"_FavMaterial";

std::u16string ValueName(std::uint32_t index) {
    std::u16string name(kFavouriteValuePrefix);
    for (char c : std::to_string(index)) name += static_cast<char16_t>(c);
    return name;
}

// The indices i, ascending, for which the key holds a value that
// ValueName(i) reads (the prefix in any case, then i in decimal without
// leading zeros). Only these favourites can resolve, however large the stored
// count, so the reads are bounded by the values present, not by the count.
std::vector<std::int64_t> FavouriteIndices(const std::vector<std::u16string>& names) {
    constexpr std::int64_t kLargest = INT32_MAX;
    std::vector<std::int64_t> indices;
    for (const std::u16string& name : names) {
        const std::size_t prefix = kFavouriteValuePrefix.size();
        if (name.size() <= prefix || !StartsWithNoCase(name, kFavouriteValuePrefix))
            continue;
        if (name[prefix] == u'0') continue;
        std::int64_t index = 0;
        for (std::size_t i = prefix; i < name.size() && index <= kLargest; ++i) {
            if (name[i] < u'0' || name[i] > u'9') {
                index = 0;
                break;
            }
            index = index * 10 + (name[i] - u'0');
        }
        if (index > 0 && index <= kLargest) indices.push_back(index);
    }
    std::sort(indices.begin(), indices.end());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    return indices;
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
    std::u16string text =
        platform::Utf16LeToUtf16(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    text.resize(text.find(u'\0'));
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

// Answers what GetMaterialByName walks of the native database, of the DIN
// database or of the custom databases in order would answer. The standard
// databases answer from their own lookup index, which lives until they
// change, so that a load that keeps them (flag 1) does not walk them again;
// the questions about custom materials are asked first, then the custom
// databases are walked once.
class FavouriteLookup {
public:
    // The entry's texts must outlive the lookup.
    void Ask(const FavouriteEntry& entry) {
        if (SourceOf(entry) == kCustom) custom_.Ask(entry.material);
    }

    void Resolve(const kxtMaterialDB& native, const kxtMaterialDB& din, const std::vector<kxtMaterialDB>& custom) {
        standard_[kNative] = &native;
        standard_[kDin] = &din;
        for (const kxtMaterialDB& db : custom) custom_.Add(db);
    }

    // REQUIRES: Resolve was called.
    kxtMaterialBase* Find(const FavouriteEntry& entry) const {
        const std::size_t source = SourceOf(entry);
        if (source == kCustom) return custom_.Find(entry.material);
        kxtMaterialBase* found = nullptr;
        standard_[source]->GetMaterialByName(std::u16string(entry.material), found, 0);
        return found;
    }

private:
    enum : std::size_t { kNative, kDin, kCustom };

    static std::size_t SourceOf(const FavouriteEntry& entry) {
        return EqualsNoCase(entry.library, kNativeLibrary) ? kNative
               : EqualsNoCase(entry.library, kDinLibrary)  ? kDin
                                                            : kCustom;
    }

    const kxtMaterialDB* standard_[2] = {nullptr, nullptr};
    model::MaterialIndex custom_{model::MaterialKeys::kNameThenLangName, model::IndexScope::kAskedKeys};
};

// While a diagnostics sink is installed, reports a favourite that found no material.
void NoteUnresolvedFavourite(const std::u16string& text, const std::u16string& key) {
    diag::Sink* const sink = diag::CurrentSink();
    if (sink == nullptr) return;
    const FavouriteEntry entry = SplitFavourite(text);
    sink->Report(diag::Finding{platform::CurrentUserHiveName(), 0, 0, diag::Severity::kWarning, "favourite-unresolved",
                               diag::Text("the favourite ") + diag::Quote(text) + diag::Text(" of ") +
                                   diag::Quote(u"HKEY_CURRENT_USER\\" + key) +
                                   diag::Text(" resolves to no material; it is left out"),
                               std::nullopt, std::u16string(entry.material)});
}

}  // namespace
}  // namespace kxt::manager

const std::vector<kxtMaterialBase*>& kxtMaterialDBsManager::LoadFavoritesMaterialsFromRegistry() {
    using namespace kxt::manager;
    favorites_.clear();
    if (kxt::diag::Sink* sink = kxt::diag::CurrentSink()) sink->NoteFile(kxt::platform::CurrentUserHiveName());
    const std::u16string keyPath = FavouritesKey(kxVersion_);
    const std::optional<kxt::platform::RegistryKey> key = kxt::platform::RegistryKey::OpenCurrentUser(keyPath);
    if (!key) return favorites_;
    // A signed number: a count with the high bit set is not greater than 0.
    const auto count = static_cast<std::int32_t>(key->ReadDword(u"__NumOfFavs").value_or(0));

    if (count <= 0) return favorites_;

    // Every text first: the lookup keeps views into them.
    std::vector<std::u16string> texts;
    for (const std::int64_t i : FavouriteIndices(key->ValueNames())) {
        if (i > count) break;
        const std::optional<kxt::platform::RegistryValue> value = key->ReadValue(ValueName(static_cast<std::uint32_t>(i)));
        if (!value) continue;
        if (std::optional<std::u16string> text = FavouriteText(*value)) texts.push_back(std::move(*text));
    }

    FavouriteLookup lookup;
    for (const std::u16string& text : texts) lookup.Ask(SplitFavourite(text));
    lookup.Resolve(nativeDB_, nativeDinDB_, customDBs_);
    for (const std::u16string& text : texts) {
        if (kxtMaterialBase* found = lookup.Find(SplitFavourite(text))) {
            favorites_.push_back(found);
        } else {
            NoteUnresolvedFavourite(text, keyPath);
        }
    }
    return favorites_;
}

kxtMaterialBase* kxtMaterialDBsManager::GetFavoritesMaterial(const std::u16string& name) const {
    for (kxtMaterialBase* favourite : favorites_) {
        if (favourite != nullptr && kxt::model::MatchesKeys(*favourite, kxt::model::MaterialKeys::kNameThenLangName, name)) return favourite;
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
