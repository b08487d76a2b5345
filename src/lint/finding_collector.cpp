#include "lint/finding_collector.h"

#include <utility>

namespace kxt::lint {

FindingCollector::Key FindingCollector::KeyOf(const diag::Finding& finding) {
    return {finding.file, finding.line, finding.column, finding.code, finding.message};
}

void FindingCollector::Report(diag::Finding finding) {
    Key key = KeyOf(finding);
    findings_.try_emplace(std::move(key), std::move(finding));
}

void FindingCollector::BeginPass(std::u16string_view file) { ++passes_[std::u16string(file)]; }

void FindingCollector::NoteFile(std::u16string_view file) {
    if (!file.empty()) files_.emplace(file);
}

void FindingCollector::ReportTentative(diag::Finding finding) {
    Key key = KeyOf(finding);
    auto [entry, added] = tentative_.try_emplace(std::move(key), std::move(finding), 0u);
    ++entry->second.second;
}

kxtLintReport FindingCollector::Result() const {
    std::map<Key, const diag::Finding*> settled;
    for (const auto& [key, finding] : findings_) settled.emplace(key, &finding);
    for (const auto& [key, entry] : tentative_) {
        const auto passes = passes_.find(entry.first.file);
        if (passes == passes_.end() || entry.second >= passes->second) settled.emplace(key, &entry.first);
    }
    kxtLintReport out;
    std::set<std::u16string, std::less<>> files = files_;
    out.findings.reserve(settled.size());
    for (const auto& [key, finding] : settled) {
        if (!finding->file.empty()) files.insert(finding->file);
        out.findings.push_back(kxtLintFinding{finding->file, finding->line, finding->column,
                                     finding->severity == diag::Severity::kError, finding->code, finding->message,
                                     finding->className, finding->material});
    }
    out.files.assign(files.begin(), files.end());
    return out;
}

}  // namespace kxt::lint
