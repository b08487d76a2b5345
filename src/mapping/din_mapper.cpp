#include "mapping/din_mapper.h"

#include <cstring>

#include "mapping/material_index.h"
#include "platform/files.h"
#include "platform/text.h"

namespace kxt::mapping {
namespace {

constexpr std::size_t kChunkSize = 4095;

}  // namespace

void kxtDINMapper::LoadFile(const std::u16string& path) {
    platform::ChunkedFile file(path);
    if (!file.IsOpen()) return;

    std::u16string text;
    char buffer[kChunkSize + 1];
    for (;;) {
        const std::size_t read = file.Read(buffer, kChunkSize);
        buffer[read] = '\0';
        // Each chunk converts on its own and stops at its first zero byte.
        text += platform::AnsiToUtf16(std::string_view(buffer, std::strlen(buffer)));
        if (read < kChunkSize) break;
    }

    std::u16string_view rest(text);
    while (!rest.empty()) {
        const std::size_t end = rest.find(u'\n');
        const std::u16string_view line = rest.substr(0, end);
        if (!line.empty()) ParseLine(line);
        if (end == std::u16string_view::npos) break;
        rest.remove_prefix(end + 1);
    }
}

void kxtDINMapper::ParseLine(std::u16string_view line) {
    std::size_t keyStart = line.find_first_not_of(u' ');
    if (keyStart == std::u16string_view::npos) keyStart = line.size();
    std::size_t keyEnd = line.find(u' ', keyStart);
    if (keyEnd == std::u16string_view::npos) keyEnd = line.size();
    const std::u16string_view key = line.substr(keyStart, keyEnd - keyStart);

    // The value is counted from the line's start, not from the key's.
    const std::size_t valueStart = key.size() + 1;
    const std::u16string_view value = valueStart < line.size() ? line.substr(valueStart) : std::u16string_view();

    if (mapping_.find(key) == mapping_.end()) mapping_.emplace(key, value);
}

void kxtDINMapper::MapDINMaterials() {
    if (nativeDb_ == nullptr || dinDb_ == nullptr || mapping_.empty()) return;

    const MaterialIndex standardById = BuildIndex(*nativeDb_, MaterialKeys::kIdentifier);
    const FirstMatchIndex<const std::u16string*> classByMaterialName = BuildClassNameIndex(*nativeDb_);
    ForEachMaterial(*dinDb_, [&](kxtMaterialBase& din, const kxtMaterialClass&) {
        const auto entry = mapping_.find(din.GetMaterialID());
        if (entry == mapping_.end() || entry->second.empty()) return;
        const kxtMaterialBase* standard = standardById.Find(entry->second);
        if (standard == nullptr) return;

        din.SetGaBiName(standard->GetGabiName());
        din.SetEnvData(standard->GetEnvData());
        din.SetManufacturingTypes(standard->GetManufacturingTypes());
        din.SetManufacturingProcToEnergyParamMap(standard->GetManufacturingProcToEnergyParamMap());
        const std::u16string* className = classByMaterialName.Find(standard->GetName());
        din.SetNativeClassName(className != nullptr ? *className : std::u16string());
        din.SetRecycledContentLimits(standard->GetRecycledContentMax(), standard->GetRecycledContentMin(),
                                     standard->GetTradeMix());
        din.SetRecycledContentAmount(standard->GetRecycledContentAmount());
    });
}

}  // namespace kxt::mapping
