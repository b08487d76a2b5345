// The well-formedness rules that pugixml leaves unchecked, applied to a
// parsed tree (see src/xml/README.md).
#pragma once

#include <pugixml.hpp>

namespace kxt::xml::detail {

// True when the tree parsed (as a fragment, without resolving references)
// is a well-formed document: one root element, no text beside it, no repeated
// attribute, only known references, no '<' in attribute values, no entity
// declarations. source_has_declaration: the text starts with "<?xml ".
// Walks the tree without recursion.
bool IsWellFormedTree(const pugi::xml_document& document, bool source_has_declaration);

}  // namespace kxt::xml::detail
