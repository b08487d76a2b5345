// What a program receives from and gives to the process that started it.
#pragma once

#include <string>
#include <vector>

namespace kxt::platform {

// The program's arguments after its name, in UTF-8. POSIX: argv as given;
// Windows: the wide command line, so that no character is lost to the ANSI
// code page that argv is converted to.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// Has standard output and error write bytes as given (Windows opens them in
// text mode, which turns each "\n" into "\r\n") and a Windows console show
// them as UTF-8; a no-op on POSIX.
void WriteStandardStreamsAsBytes() noexcept;

}  // namespace kxt::platform
