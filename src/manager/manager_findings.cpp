// What the manager reports while a diagnostics sink is installed.
#include "diag/findings.h"
#include "manager/manager_internal.h"
#include "platform/files.h"

namespace kxt::manager {

void NoteIfMissing(const std::u16string& path, const char* instead) {
    diag::Sink* const sink = diag::CurrentSink();
    if (sink == nullptr) return;
    sink->NoteFile(path);
    if (platform::PathExists(path)) return;
    sink->Report(diag::Finding{path, 0, 0, diag::Severity::kWarning, "missing-file",
                               diag::Text("the file is absent; ") + diag::Text(instead), std::nullopt, std::nullopt});
}

}  // namespace kxt::manager
