#include "diag/text_position.h"

namespace kxt::diag {

TextPosition PositionInUtf8(std::string_view text, std::size_t offset) noexcept {
    if (offset > text.size()) offset = text.size();
    TextPosition position{1, 1};
    for (std::size_t i = 0; i < offset; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte == '\n' || (byte == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))) {
            ++position.line;
            position.column = 1;
        } else if (byte != '\r' && (byte & 0xC0) != 0x80) {
            ++position.column;  // a continuation byte belongs to the character before it
        }
    }
    return position;
}

}  // namespace kxt::diag
