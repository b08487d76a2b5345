#include "mapping/din_mapper.h"

#include <cstring>
#include <utility>
#include <vector>

#include "diag/findings.h"
#include "model/material_index.h"
#include "platform/files.h"
#include "platform/text.h"

namespace kxt::mapping {
namespace {

constexpr std::size_t kChunkSize = 4095;

}  // namespace

void kxtDINMapper::LoadFile(const std::u16string& path) {
    diag::Sink* const sink = diag::CurrentSink();
    if (sink != nullptr) {
        path_ = path;
        sink->NoteFile(path);
    }
    platform::ChunkedFile file(path);
    if (!file.IsOpen()) {
        if (sink != nullptr) {
            sink->Report(diag::Finding{path, 0, 0, diag::Severity::kWarning, "missing-file",
                                       diag::Text("the DIN mapping file is absent or unreadable; the DIN materials "
                                                  "keep their own data"),
                                       std::nullopt, std::nullopt});
        }
        return;
    }

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
    line_ = 1;
    while (!rest.empty()) {
        const std::size_t end = rest.find(u'\n');
        const std::u16string_view line = rest.substr(0, end);
        if (!line.empty()) ParseLine(line);
        if (end == std::u16string_view::npos) break;
        rest.remove_prefix(end + 1);
        ++line_;
    }
    line_ = 0;
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

    if (mapping_.find(key) != mapping_.end()) return;
    mapping_.emplace(key, value);
    if (!path_.empty() && line_ != 0) {
        places_.emplace(key, Place{line_, static_cast<std::uint32_t>(keyStart + 1),
                                   static_cast<std::uint32_t>(valueStart + 1)});
    }
}

void kxtDINMapper::ReportUnmatchedLines(const model::MaterialIndex& partners) const {
    std::map<std::u16string_view, bool> dinFound;
    ForEachMaterial(*dinDb_, [&](const kxtMaterialBase& din) { dinFound.emplace(din.GetMaterialID(), true); });
    for (const auto& [key, value] : mapping_) {
        const bool found = dinFound.contains(key);
        if (!found || value.empty() || partners.Find(value) == nullptr) ReportUnmatched(key, value, found);
    }
}

void kxtDINMapper::ReportUnmatched(const std::u16string& key, const std::u16string& value, bool dinFound) const {
    diag::Sink* const sink = diag::CurrentSink();
    const auto place = places_.find(key);
    if (sink == nullptr || place == places_.end()) return;
    diag::Finding finding{path_, place->second.line, place->second.keyColumn, diag::Severity::kWarning,
                          "din-unmatched", {}, std::nullopt, key};
    if (!dinFound) {
        finding.message = diag::Text("no DIN material has the identifier ") + diag::Quote(key) +
                          diag::Text("; the line maps nothing");
    } else if (value.empty()) {
        finding.message = diag::Text("the line names no standard material; ") + diag::Quote(key) +
                          diag::Text(" keeps its own data");
    } else {
        finding.column = place->second.valueColumn;
        finding.message = diag::Text("no standard material has the identifier ") + diag::Quote(value) +
                          diag::Text("; ") + diag::Quote(key) + diag::Text(" keeps its own data");
    }
    sink->Report(std::move(finding));
}

void kxtDINMapper::MapDINMaterials() {
    if (nativeDb_ == nullptr || dinDb_ == nullptr || mapping_.empty()) return;

    // Every question is asked before its walk of the standard database; the
    // mapping changes nothing that either index reads.
    std::vector<std::pair<kxtMaterialBase*, std::u16string_view>> mapped;  // DIN material, partner identifier
    model::MaterialIndex partners(model::MaterialKeys::kIdentifier, model::IndexScope::kAskedKeys);
    ForEachMaterial(*dinDb_, [&](kxtMaterialBase& din) {
        const auto entry = mapping_.find(din.GetMaterialID());
        if (entry == mapping_.end() || entry->second.empty()) return;
        mapped.emplace_back(&din, entry->second);
        partners.Ask(entry->second);
    });
    partners.Add(*nativeDb_);

    // The class name is FindMaterialGroupName's: that of the class of the
    // first material whose native name matches, or the language name of the
    // class of the first whose language name matches.
    model::MaterialIndex named(model::MaterialKeys::kNameThenLangName, model::IndexScope::kAskedKeys);
    for (const auto& [din, partner] : mapped) {
        if (const kxtMaterialBase* standard = partners.Find(partner)) named.Ask(standard->GetName());
    }
    named.Add(*nativeDb_);

    if (!places_.empty() && diag::CurrentSink() != nullptr) ReportUnmatchedLines(partners);

    for (const auto& [din, partner] : mapped) {
        const kxtMaterialBase* standard = partners.Find(partner);
        if (standard == nullptr) continue;
        din->SetGaBiName(standard->GetGabiName());
        din->SetEnvData(standard->GetEnvData());
        din->SetManufacturingTypes(standard->GetManufacturingTypes());
        din->SetManufacturingProcToEnergyParamMap(standard->GetManufacturingProcToEnergyParamMap());
        const kxtMaterialBase* first = named.Find(standard->GetName());
        if (first == nullptr || first->GetGrOwner() == nullptr) {
            din->SetNativeClassName(std::u16string());
        } else {
            const bool byNativeName = platform::EqualsNoCase(standard->GetName(), first->GetName());
            din->SetNativeClassName(byNativeName ? first->GetGrOwner()->GetName() : first->GetGrOwner()->GetLangName());
        }
        din->SetRecycledContentLimits(standard->GetRecycledContentMax(), standard->GetRecycledContentMin(),
                                      standard->GetTradeMix());
        din->SetRecycledContentAmount(standard->GetRecycledContentAmount());
    }
}

}  // namespace kxt::mapping
