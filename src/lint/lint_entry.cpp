// The exported checks: a sink installed for the duration of one load or one
// file's check, collecting what the loaders report.
#include <kxtmat/lint.h>

#include "diag/findings.h"
#include "lint/finding_collector.h"
#include "lint/single_file_checks.h"

kxtLintReport kxtLintInstallation(kxtMaterialDBsManager& manager, std::vector<std::u16string>& files) {
    kxt::lint::FindingCollector collector;
    {
        const kxt::diag::ScopedSink installed(collector);
        manager.UpdateMaterials(files, 0);
    }
    return collector.Result();
}

std::string kxtLintFileKind(const std::u16string& path) { return kxt::lint::FileKind(path); }

kxtLintReport kxtLintFile(kxtMaterialDBsManager& manager, const std::u16string& path) {
    kxt::lint::FindingCollector collector;
    const std::string kind = kxt::lint::FileKind(path);
    collector.NoteFile(path);
    {
        const kxt::diag::ScopedSink installed(collector);
        if (kind == "library") {
            kxt::lint::CheckLibrary(manager, path);
        } else if (kind == "process-settings") {
            kxt::lint::CheckProcessSettings(manager, path);
        } else if (kind == "din-mapping") {
            kxt::lint::CheckDinMapping(manager, path);
        } else if (kind == "registry") {
            kxt::lint::CheckRegistry(manager, path);
        } else if (!kxt::lint::IsBrokenXml(path)) {
            collector.Report(kxt::diag::Finding{
                path, 0, 0, kxt::diag::Severity::kWarning, "unknown-kind",
                kxt::diag::Text("not a material library, process settings, DIN mapping or registry export by its "
                                "name or content; not checked further"),
                std::nullopt, std::nullopt});
        }
    }
    return collector.Result();
}
