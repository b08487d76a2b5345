// The program's wide command line and its standard streams on Windows.
#include "platform/process.h"

#include <fcntl.h>
#include <io.h>
#include <stdio.h>

#include <memory>

#include "platform/text.h"
#include "platform/win32/windows_api.h"

#include <shellapi.h>

namespace kxt::platform {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    int count = 0;
    const std::unique_ptr<LPWSTR, decltype(&LocalFree)> wide(CommandLineToArgvW(GetCommandLineW(), &count), &LocalFree);
    if (wide == nullptr) return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
    std::vector<std::string> arguments;
    for (int i = 1; i < count; ++i) arguments.push_back(Utf16ToUtf8(reinterpret_cast<const char16_t*>(wide.get()[i])));
    return arguments;
}

void WriteStandardStreamsAsBytes() noexcept {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    SetConsoleOutputCP(CP_UTF8);  // fails harmlessly when no console is attached
}

}  // namespace kxt::platform
