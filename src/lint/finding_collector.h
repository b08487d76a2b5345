// The sink of one check: keeps each finding once, settles the tentative
// ones, and answers them in the order of the public API.
#pragma once

#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include <kxtmat/lint.h>

#include "diag/findings.h"

namespace kxt::lint {

class FindingCollector final : public diag::Sink {
public:
    void Report(diag::Finding finding) override;
    void BeginPass(std::u16string_view file) override;
    void ReportTentative(diag::Finding finding) override;
    void NoteFile(std::u16string_view file) override;

    // Every file noted or named by a finding; every finding once, the
    // tentative ones that every pass over their file reported, ordered by
    // file, line, column, code, message.
    kxtLintReport Result() const;

private:
    using Key = std::tuple<std::u16string, std::uint32_t, std::uint32_t, std::string, std::u16string>;
    static Key KeyOf(const diag::Finding& finding);

    std::map<Key, diag::Finding> findings_;
    std::map<std::u16string, unsigned, std::less<>> passes_;  // per file
    std::set<std::u16string, std::less<>> files_;
    std::map<Key, std::pair<diag::Finding, unsigned>> tentative_;  // with how many passes reported it
};

}  // namespace kxt::lint
