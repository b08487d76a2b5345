// Brings a document's bytes into UTF-8, the form the parser reads.
#pragma once

#include <cstddef>
#include <string>

namespace kxt::xml::detail {

// Detects the encoding of the document in bytes (byte-order mark, else the
// encoding its XML declaration names, else UTF-8) and leaves its text in
// bytes as UTF-8 from offset start on, followed by one '\0'. Returns false
// when the named encoding is unknown or the bytes are invalid in it.
// Throws std::bad_alloc when memory is exhausted.
bool DecodeDocument(std::string& bytes, std::size_t& start);

}  // namespace kxt::xml::detail
