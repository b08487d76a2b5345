// The well-formedness rules that pugixml leaves unchecked, applied to a
// parsed tree (see src/xml/README.md).
#pragma once

#include <cstddef>
#include <string_view>

#include <pugixml.hpp>

namespace kxt::xml::detail {

// The zero bytes that IsWellFormedTree may read past the end of parsed.
inline constexpr std::size_t kCheckReadAhead = 7;

// True when the tree parsed (as a fragment, without resolving references)
// is a well-formed document: one root element, no text beside it, no repeated
// attribute, only known references, no '<' in attribute values, no entity
// declarations. source_has_declaration: the text starts with "<?xml ".
// parsed: the buffer parsed in place; the strings of the tree inside it are
// read eight bytes at a time up to its end, so at least 7 bytes after the
// parsed text keep that fast to its last value. Walks without recursion.
bool IsWellFormedTree(const pugi::xml_document& document, bool source_has_declaration, std::string_view parsed);

}  // namespace kxt::xml::detail
