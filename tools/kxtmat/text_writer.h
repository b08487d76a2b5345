// Writes a document as readable, indented text: "key: value" lines, "- "
// before the items of a list, lists of numbers on one line, "(none)" for
// null, "yes"/"no" for booleans.
#pragma once

#include <string>

#include "document.h"

namespace kxt::cli {

std::string WriteText(const Json& node);

}  // namespace kxt::cli
