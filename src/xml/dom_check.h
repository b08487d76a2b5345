// The well-formedness rules that pugixml leaves unchecked, applied to a
// parsed tree (see src/xml/README.md).
#pragma once

#include <cstddef>
#include <string_view>

#include <pugixml.hpp>

namespace kxt::xml::detail {

// Zero bytes that a loader appends to the parsed text, so that
// IsWellFormedTree reads its last strings in whole words too.
inline constexpr std::size_t kCheckReadAhead = 7;

// True when the tree parsed (as a fragment, without resolving references)
// is a well-formed document: one root element, no text beside it, no repeated
// attribute, only known references, no '<' in attribute values, no entity
// declarations. source_has_declaration: the text starts with "<?xml ".
// parsed: the buffer the tree was parsed from in place, with whatever follows
// the text; strings inside it are read in words of eight bytes while eight
// remain in it, the rest byte by byte. Walks without recursion.
bool IsWellFormedTree(const pugi::xml_document& document, bool source_has_declaration, std::string_view parsed);

}  // namespace kxt::xml::detail
