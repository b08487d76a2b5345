// Writes a document tree as JSON (RFC 8259), indented by two spaces.
#pragma once

#include <string>

#include "document.h"

namespace kxt::cli {

// The JSON text of node, ending with a newline. Strings are written as UTF-8
// with '"', '\' and control characters escaped; a number that is not finite
// (which JSON cannot express) is written as null.
std::string WriteJson(const Node& node);

// Appends the JSON string literal of utf8 (quotes included) to out.
void AppendJsonString(std::string& out, std::string_view utf8);

}  // namespace kxt::cli
