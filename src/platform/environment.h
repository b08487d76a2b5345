// Environment variables of this process. Values are UTF-8 (Windows converts
// them from and to the wide environment). A value set here is seen by every
// module of the process that reads the environment afterwards, the stand-in
// modules' getenv included.
#pragma once

#include <optional>
#include <string>

namespace kxt::platform {

// The variable's value; nullopt when it is unset (an empty value is returned
// as it is).
std::optional<std::string> GetEnvironmentValue(const char* name);

// Sets the variable, replacing any earlier value; false when the platform
// refuses (an invalid name, or memory exhausted). On Windows an empty value
// removes the variable.
bool SetEnvironmentValue(const char* name, const std::string& value);

// Removes the variable; true also when it was not set.
bool RemoveEnvironmentValue(const char* name);

}  // namespace kxt::platform
