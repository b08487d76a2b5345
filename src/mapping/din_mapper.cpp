#include "mapping/din_mapper.h"

#include <cstring>
#include <vector>

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

    // Neither question reads what the mapping changes, so every partner is
    // asked first and the standard database walked once per question kind,
    // each walk stopping once all its questions have their answers.
    struct Mapped {
        kxtMaterialBase* din;
        std::size_t partner;    // slot of the standard identifier
        std::size_t className;  // slot of the partner's name, once found
    };
    std::vector<Mapped> mapped;
    FirstMatchQuestions partners;
    ForEachMaterial(*dinDb_, [&](kxtMaterialBase& din, const kxtMaterialClass&) {
        const auto entry = mapping_.find(din.GetMaterialID());
        if (entry == mapping_.end() || entry->second.empty()) return;
        mapped.push_back(Mapped{&din, partners.Ask(entry->second), 0});
    });
    partners.Walk(*nativeDb_, MaterialKeys::kIdentifier);

    // The class name is FindMaterialGroupName's: that of the class of the
    // first material whose native name matches, or the language name of the
    // class of the first whose language name matches.
    FirstMatchQuestions classes;
    for (Mapped& m : mapped) {
        if (const kxtMaterialBase* standard = partners.Answer(m.partner)) m.className = classes.Ask(standard->GetName());
    }
    classes.Walk(*nativeDb_, MaterialKeys::kNameThenLangName);

    for (const Mapped& m : mapped) {
        const kxtMaterialBase* standard = partners.Answer(m.partner);
        if (standard == nullptr) continue;
        kxtMaterialBase& din = *m.din;
        din.SetGaBiName(standard->GetGabiName());
        din.SetEnvData(standard->GetEnvData());
        din.SetManufacturingTypes(standard->GetManufacturingTypes());
        din.SetManufacturingProcToEnergyParamMap(standard->GetManufacturingProcToEnergyParamMap());
        const kxtMaterialBase* named = classes.Answer(m.className);
        const kxtMaterialClass* group = classes.AnswerClass(m.className);
        if (named == nullptr) {
            din.SetNativeClassName(std::u16string());
        } else {
            const bool byNativeName = platform::EqualsNoCase(standard->GetName(), named->GetName());
            din.SetNativeClassName(byNativeName ? group->GetName() : group->GetLangName());
        }
        din.SetRecycledContentLimits(standard->GetRecycledContentMax(), standard->GetRecycledContentMin(),
                                     standard->GetTradeMix());
        din.SetRecycledContentAmount(standard->GetRecycledContentAmount());
    }
}

}  // namespace kxt::mapping
