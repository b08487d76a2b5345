// The words that follow a command: its positional arguments and its options.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kxt::cli {

struct CommandArgs {
    std::vector<std::u16string> positionals;
    // Options in the order given, as ("--library", value).
    std::vector<std::pair<std::string, std::u16string>> options;

    // The value of the last occurrence of the option; null when absent.
    const std::u16string* Find(std::string_view name) const;
    // Every value given for the option, in order.
    std::vector<std::u16string> All(std::string_view name) const;
};

}  // namespace kxt::cli
