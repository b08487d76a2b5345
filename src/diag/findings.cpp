#include "diag/findings.h"

#include "platform/text.h"

namespace kxt::diag {
namespace {

thread_local Sink* t_sink = nullptr;

}  // namespace

Sink* CurrentSink() noexcept { return t_sink; }

ScopedSink::ScopedSink(Sink& sink) noexcept : previous_(t_sink) { t_sink = &sink; }

ScopedSink::~ScopedSink() { t_sink = previous_; }

std::u16string Quote(std::u16string_view name) {
    std::u16string quoted;
    quoted.reserve(name.size() + 2);
    quoted.push_back(u'\'');
    quoted.append(name);
    quoted.push_back(u'\'');
    return quoted;
}

std::u16string Text(std::string_view utf8) { return platform::Utf8ToUtf16(utf8); }

}  // namespace kxt::diag
