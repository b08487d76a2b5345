#include "diag/text_position.h"

#include <algorithm>

namespace kxt::diag {

TextPositions::TextPositions(std::string_view text) : text_(text) {
    lineStarts_.push_back(0);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')))
            lineStarts_.push_back(i + 1);
    }
}

TextPosition TextPositions::At(std::size_t offset) {
    offset = std::min(offset, text_.size());
    const auto next = std::upper_bound(lineStarts_.begin(), lineStarts_.end(), offset);
    const auto line = static_cast<std::uint32_t>(next - lineStarts_.begin());
    std::size_t from = *(next - 1);
    TextPosition position{line, 1};
    if (last_.line == line && lastOffset_ >= from && lastOffset_ <= offset) {
        from = lastOffset_;
        position = last_;
    }
    for (std::size_t i = from; i < offset; ++i) {
        const auto byte = static_cast<unsigned char>(text_[i]);
        // A continuation byte belongs to the character before it; the CR of a CR LF ends no column.
        if ((byte & 0xC0) != 0x80 && byte != '\r') ++position.column;
    }
    lastOffset_ = offset;
    last_ = position;
    return position;
}

}  // namespace kxt::diag
