// One translated string, loaded with a given resource module made current
// for that single load only.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "module/resources.h"

namespace kxt::mapping {

// String `id` of `module`; empty when the module lacks it. The previous
// current resource module is restored before the function returns.
inline std::u16string LoadTextFrom(module::ModuleHandle module, unsigned id) {
    module::ScopedResourceModule scope(module);
    return module::LoadResourceString(id);
}

// A table of translated texts under exact, case-sensitive keys.
using TextTable = std::map<std::u16string, std::u16string, std::less<>>;

// The text under exactly `key`; null when absent. Valid while the table is unchanged.
inline const std::u16string* FindText(const TextTable& table, std::u16string_view key) {
    const auto it = table.find(key);
    return it == table.end() ? nullptr : &it->second;
}

}  // namespace kxt::mapping
