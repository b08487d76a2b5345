#include "lint_command.h"

#include <algorithm>
#include <iostream>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include <kxtmat/kxtmat.h>

#include "cli_error.h"
#include "document.h"
#include "installation.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "platform/text.h"

namespace kxt::cli {
namespace {

// UTF-8, with the control characters a line of output cannot hold escaped.
std::string OneLine(std::u16string_view text) {
    std::string out;
    for (const char c : platform::Utf16ToUtf8(text)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7F) {
            out.push_back(c);
        } else {
            static constexpr char kHex[] = "0123456789abcdef";
            out += c == '\r' ? "\\r" : c == '\n' ? "\\n" : c == '\t' ? "\\t" : std::string("\\x") + kHex[byte >> 4] + kHex[byte & 15];
        }
    }
    return out;
}

const char* SeverityName(const kxtLintFinding& finding) { return finding.error ? "error" : "warning"; }

std::size_t CountErrors(const kxtLintReport& report) {
    std::size_t errors = 0;
    for (const kxtLintFinding& finding : report.findings) errors += finding.error ? 1 : 0;
    return errors;
}

// "1 file", "2 files".
std::string Counted(std::size_t count, std::string_view noun) {
    return std::to_string(count) + ' ' + std::string(noun) + (count == 1 ? "" : "s");
}

std::string WriteLintText(const kxtLintReport& report) {
    std::string out;
    for (const kxtLintFinding& f : report.findings) {
        out += OneLine(f.file) + ':' + std::to_string(f.line) + ':' + std::to_string(f.column) + ": " +
               SeverityName(f) + ": " + f.code + ": " + OneLine(f.message) + '\n';
    }
    const std::size_t errors = CountErrors(report);
    out += Counted(report.files.size(), "file") + " checked: " + Counted(errors, "error") + ", " +
           Counted(report.findings.size() - errors, "warning") + '\n';
    return out;
}

Json OptionalText(const std::optional<std::u16string>& text) { return text ? Json(*text) : Json(nullptr); }

std::string WriteLintJson(const kxtLintReport& report) {
    Json findings = Json::array();
    for (const kxtLintFinding& f : report.findings) {
        findings.push_back(Json{{"file", f.file},
                                {"line", f.line},
                                {"column", f.column},
                                {"severity", SeverityName(f)},
                                {"code", f.code},
                                {"message", f.message},
                                {"class", OptionalText(f.className)},
                                {"material", OptionalText(f.material)}});
    }
    const std::size_t errors = CountErrors(report);
    return WriteJson(Json{{"files", report.files.size()},
                          {"errors", errors},
                          {"warnings", report.findings.size() - errors},
                          {"findings", std::move(findings)}});
}

// The findings of every file, merged in the order of file, line, column.
kxtLintReport LintFiles(kxtMaterialDBsManager& manager, const std::vector<std::u16string>& files) {
    kxtLintReport all;
    for (const std::u16string& file : files) {
        kxtLintReport one = kxtLintFile(manager, file);
        all.files.insert(all.files.end(), one.files.begin(), one.files.end());
        all.findings.insert(all.findings.end(), one.findings.begin(), one.findings.end());
    }
    std::sort(all.files.begin(), all.files.end());
    all.files.erase(std::unique(all.files.begin(), all.files.end()), all.files.end());
    std::stable_sort(all.findings.begin(), all.findings.end(), [](const kxtLintFinding& a, const kxtLintFinding& b) {
        return std::tie(a.file, a.line, a.column) < std::tie(b.file, b.line, b.column);
    });
    return all;
}

}  // namespace

int RunLint(const Options& options) {
    const std::vector<std::u16string>& files = options.args.positionals;
    for (const std::u16string& file : files) {
        if (!platform::PathExists(file) || platform::IsDirectory(file) || !platform::ChunkedFile(file).IsOpen())
            throw CliError(kExitUsage, "cannot read " + Quoted(file));
        // Where the favourites come from the registry itself, an export file
        // would be checked against the registry instead of its own values.
        if (!platform::kRegistryIsAnExportFile && kxtLintFileKind(file) == "registry")
            throw CliError(kExitUsage, "cannot check the favourites of " + Quoted(file) +
                                           ": here they come from the registry itself (kxtmat lint without files checks them)");
    }
    Installation installation(options, !files.empty());
    kxtLintReport report;
    if (files.empty()) {
        std::vector<std::u16string> hostList = installation.HostList();
        report = kxtLintInstallation(installation.Manager(), hostList);
    } else {
        report = LintFiles(installation.Manager(), files);
    }
    std::cout << (options.json ? WriteLintJson(report) : WriteLintText(report));
    return report.findings.empty() ? kExitFound : kExitNotFound;
}

}  // namespace kxt::cli
