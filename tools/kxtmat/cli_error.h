// Exit codes of kxtmat and the error that ends a run early.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/text.h"

namespace kxt::cli {

inline constexpr int kExitFound = 0;
inline constexpr int kExitNotFound = 1;
inline constexpr int kExitUsage = 2;  // usage error or unreadable input

// Ends the run: main() writes the message as one line on stderr and exits
// with the code.
class CliError : public std::runtime_error {
public:
    CliError(int exitCode, const std::string& message) : std::runtime_error(message), exitCode_(exitCode) {}
    int exitCode() const noexcept { return exitCode_; }

private:
    int exitCode_;
};

// A usage error (exit 2).
inline CliError UsageError(const std::string& message) {
    return CliError(kExitUsage, message);
}

// 'text' as UTF-8, for naming a word of the input in a message.
inline std::string Quoted(std::u16string_view text) {
    return "'" + platform::Utf16ToUtf8(text) + "'";
}

}  // namespace kxt::cli
