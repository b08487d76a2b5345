// What the loaders report about the files they read, for `kxtmat lint`. A
// load reports to the sink installed on its thread, if any: with none (a
// normal load) each report point costs one test of a thread-local pointer.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace kxt::diag {

enum class Severity { kError, kWarning };

// One finding: a fault of a file, or what a load does in spite of it.
struct Finding {
    std::u16string file;   // as the loader names it
    std::uint32_t line = 0;    // 1-based; 0 when the finding has no position
    std::uint32_t column = 0;  // 1-based, in characters; 0 with line 0
    Severity severity = Severity::kWarning;
    std::string code;  // "not-well-formed", "duplicate-material", ...
    std::u16string message;
    std::optional<std::u16string> className;
    std::optional<std::u16string> material;
};

// Receives the findings of the loads that run while it is installed.
class Sink {
public:
    virtual ~Sink() = default;
    virtual void Report(Finding finding) = 0;
    // Findings marked tentative stand only when every pass over their file
    // reports them; a reader that reads a file more than once (the process
    // settings, into two databases) tells each pass.
    virtual void BeginPass(std::u16string_view file) { static_cast<void>(file); }
    virtual void ReportTentative(Finding finding) { Report(std::move(finding)); }
    // A file that a load reads or looks for.
    virtual void NoteFile(std::u16string_view file) { static_cast<void>(file); }
};

// The sink of this thread; null when none is installed.
Sink* CurrentSink() noexcept;

// Installs a sink on this thread for the scope's lifetime; the one installed
// before it comes back when the scope ends.
class ScopedSink {
public:
    explicit ScopedSink(Sink& sink) noexcept;
    ~ScopedSink();
    ScopedSink(const ScopedSink&) = delete;
    ScopedSink& operator=(const ScopedSink&) = delete;

private:
    Sink* previous_;
};

// Message text from UTF-8 pieces and names of the data: Quote(name) puts a
// name in single quotes.
std::u16string Quote(std::u16string_view name);
std::u16string Text(std::string_view utf8);

}  // namespace kxt::diag
