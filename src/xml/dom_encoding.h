// Brings a document's bytes into UTF-8, the form the parser reads.
#pragma once

#include <cstddef>
#include <string>

#include "platform/files.h"

namespace kxt::xml::detail {

enum class DecodeFault {
    kNone,
    kUnknownEncoding,  // the declared name is no encoding name, or no converter knows it
    kInvalidBytes,     // bytes that are invalid or truncated in the encoding
};

// Detects the encoding of the document in bytes (byte-order mark, else the
// encoding its XML declaration names, else UTF-8) and leaves its text in
// bytes as UTF-8 from offset start on, followed by one '\0'. encoding names
// the encoding read. Throws std::bad_alloc when memory is exhausted.
DecodeFault DecodeDocument(platform::FileBytes& bytes, std::size_t& start, std::string& encoding);

}  // namespace kxt::xml::detail
