// Environment variables of this process, read by the stand-in main module
// (KXT_LANGUAGE) and the registry layer (KXT_REGISTRY_FILE) when they run.
#pragma once

#include <optional>
#include <string>

namespace kxt::cli {

// The variable's value; nullopt when it is unset.
std::optional<std::string> GetEnvironment(const char* name);
// Sets the variable (UTF-8), replacing any earlier value.
void SetEnvironment(const char* name, const std::string& value);

}  // namespace kxt::cli
