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

// Why a document is not well-formed, and where: `at` points into the parsed
// buffer (null when the fault has no place in it).
struct Fault {
    const char* reason = nullptr;
    const char* at = nullptr;
};

// True when the tree parsed (as a fragment, without resolving references)
// is a well-formed document: one root element, no text beside it, no
// document type, a well-formed XML declaration, no repeated attribute, only
// known references, no '<' in attribute values, every prefix declared. On
// false, fault holds the first fault found.
// source_has_declaration: the text starts with "<?xml ". may_have_prefixes:
// the text holds a ':' (without one, no name has a prefix).
// parsed: the buffer the tree was parsed from in place, with whatever follows
// the text; strings inside it are read in words of eight bytes while eight
// remain in it, the rest byte by byte. Walks without recursion.
bool IsWellFormedTree(const pugi::xml_document& document, bool source_has_declaration, bool may_have_prefixes,
                      std::string_view parsed, Fault& fault);

// Where node's markup begins in the buffer it was parsed from in place: its
// '<', or the first character of a text.
const char* NodeStart(pugi::xml_node node) noexcept;

// Removes the text nodes that hold only white space, except inside an element
// whose xml:space is "preserve" (inherited until an inner element says
// "default"). For a tree parsed with its white-space text kept.
void DropUnpreservedSpace(pugi::xml_node document);

}  // namespace kxt::xml::detail
