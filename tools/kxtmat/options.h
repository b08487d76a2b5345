// The command line of kxtmat:
//   kxtmat [OPTIONS] [LIBRARY.kvxmat...] [COMMAND [ARGS]]
// Options may stand anywhere before "--", which ends them; an option's value
// is the next word or follows '=' in the option's own word. Custom library
// paths (ending in ".kvxmat") come before the command.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "command_args.h"
#include "commands.h"

namespace kxt::cli {

inline constexpr unsigned short kDefaultHostVersion = 33;

struct Options {
    std::optional<std::u16string> installDir;  // --install; default: the sample beside the executable
    std::optional<std::string> language;       // --language, as given (UTF-8)
    std::optional<std::u16string> userDataDir;  // --user-data; default: the sample's user/ folder
    std::optional<std::string> registryFile;    // --registry, as given (UTF-8)
    unsigned short hostVersion = kDefaultHostVersion;
    std::vector<std::u16string> libraries;  // custom library paths; empty: the sample's
    bool json = false;
    bool help = false;
    bool version = false;
    const CommandDef* command = nullptr;  // never null after parsing ("summary" by default)
    CommandArgs args;
};

// Parses the arguments after the program name (UTF-8).
// Throws CliError (exit 2) naming the offending word on a usage error.
Options ParseArguments(const std::vector<std::string>& arguments);

// The text of --help.
std::string HelpText();

}  // namespace kxt::cli
