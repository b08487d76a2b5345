// The commands of kxtmat: what each one accepts, and the functions that run
// them against a loaded manager. Each command group lives in its own file.
#pragma once

#include <cstddef>
#include <array>
#include <span>
#include <string>
#include <string_view>

#include <kxtmat/kxtmat.h>

#include "command_args.h"
#include "document.h"

namespace kxt::cli {

struct Context {
    kxtMaterialDBsManager& manager;
    bool json = false;  // --json: answer data rather than text or drawings
};

// A command's answer. When notFound is not empty the run exits with 1 and
// writes it on stderr; the document is written when it is not null.
// A command that draws answers its output as it stands instead.
struct Result {
    Json document;
    std::string notFound;
    std::string output{};
};

using CommandFunction = Result (*)(Context&, const CommandArgs&);

struct CommandDef {
    std::string_view name;
    std::string_view usage;      // the synopsis after "kxtmat ", for --help and usage errors
    std::size_t minPositionals;  // how many positional arguments it takes
    std::size_t maxPositionals;
    std::array<std::string_view, 5> options;  // options that take one value each (empty: unused)
    std::string_view listOption;  // an option that takes every following word up to the next option
    CommandFunction run;  // null for lint, which main() runs on an installation of its own
    std::string_view flag{};  // an option that takes no value
};

inline constexpr std::size_t kAnyCount = static_cast<std::size_t>(-1);

// Every command, in the order --help lists them.
std::span<const CommandDef> Commands();
// The command of that name; null when there is none.
const CommandDef* FindCommand(std::string_view name);

// Database commands (database_commands.cpp).
Result RunSummary(Context& context, const CommandArgs& args);
Result RunList(Context& context, const CommandArgs& args);
Result RunSustainable(Context& context, const CommandArgs& args);
// Material commands (material_commands.cpp).
Result RunShow(Context& context, const CommandArgs& args);
Result RunFind(Context& context, const CommandArgs& args);
Result RunSupported(Context& context, const CommandArgs& args);
// Name mapping commands (mapping_commands.cpp).
Result RunMap(Context& context, const CommandArgs& args);
Result RunGabi(Context& context, const CommandArgs& args);
// Process commands (process_commands.cpp).
Result RunProcesses(Context& context, const CommandArgs& args);
Result RunDefaultProcess(Context& context, const CommandArgs& args);
Result RunCommon(Context& context, const CommandArgs& args);
// Property search (search_command.cpp).
Result RunSearch(Context& context, const CommandArgs& args);
// Property charts (chart_command.cpp).
Result RunChart(Context& context, const CommandArgs& args);

}  // namespace kxt::cli
