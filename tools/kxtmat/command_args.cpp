#include "command_args.h"

namespace kxt::cli {

const std::u16string* CommandArgs::Find(std::string_view name) const {
    const std::u16string* found = nullptr;
    for (const auto& [option, value] : options)
        if (option == name) found = &value;
    return found;
}

std::vector<std::u16string> CommandArgs::All(std::string_view name) const {
    std::vector<std::u16string> values;
    for (const auto& [option, value] : options)
        if (option == name) values.push_back(value);
    return values;
}

}  // namespace kxt::cli
