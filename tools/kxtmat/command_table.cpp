#include "commands.h"

namespace kxt::cli {

std::span<const CommandDef> Commands() {
    static const CommandDef commands[] = {
        {"summary", "summary", 0, 0, {}, {}, RunSummary},
        {"list", "list [--library NAME] [--class NAME]", 0, 0, {"--library", "--class"}, {}, RunList},
        {"show", "show MATERIAL [--library NAME]", 1, 1, {"--library"}, {}, RunShow},
        {"find", "find NAME [--library NAME]", 1, 1, {"--library"}, {}, RunFind},
        {"map", "map lang|native CLASS MATERIAL", 3, 3, {}, {}, RunMap},
        {"gabi", "gabi CLASS MATERIAL PROCESS", 3, 3, {}, {}, RunGabi},
        {"processes", "processes MATERIAL [--library NAME]", 1, 1, {"--library"}, {}, RunProcesses},
        {"default-process", "default-process CLASS", 1, 1, {}, {}, RunDefaultProcess},
        {"common", "common CLASS...", 1, kAnyCount, {}, {}, RunCommon},
        {"supported", "supported MATERIAL LIBRARY", 2, 2, {}, {}, RunSupported},
        {"sustainable", "sustainable", 0, 0, {}, {}, RunSustainable},
        {"search", "search --library NAME [--class NAME] --where EXPR... [--exclude NAME]", 0, 0,
         {"--library", "--class", "--exclude"}, "--where", RunSearch},
        {"chart", "chart X Y [--library NAME] [--class NAME]... [--out FILE] [--linear] [--guide SLOPE]... [--title TEXT]",
         2, 2, {"--library", "--class", "--out", "--guide", "--title"}, {}, RunChart, "--linear"},
        {"lint", "lint [FILE...]", 0, kAnyCount, {}, {}, nullptr},
    };
    return commands;
}

const CommandDef* FindCommand(std::string_view name) {
    for (const CommandDef& command : Commands())
        if (command.name == name) return &command;
    return nullptr;
}

}  // namespace kxt::cli
