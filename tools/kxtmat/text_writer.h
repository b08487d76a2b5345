// Writes a document tree as readable, indented text: "key: value" lines,
// "- " before the items of a list, short lists of numbers on one line.
#pragma once

#include <string>

#include "document.h"

namespace kxt::cli {

std::string WriteText(const Node& node);

}  // namespace kxt::cli
