#include "platform/process.h"

namespace kxt::platform {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
}

void WriteStandardStreamsAsBytes() noexcept {}

}  // namespace kxt::platform
