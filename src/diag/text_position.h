// Line and column of offsets in a text, as editors count them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace kxt::diag {

struct TextPosition {
    std::uint32_t line = 0;    // 1-based
    std::uint32_t column = 0;  // 1-based
};

// The positions of byte offsets in one UTF-8 text: lines end at a line feed,
// a carriage return and line feed, or a carriage return alone; the column
// counts characters (code points; a tab is one) from the line's start. An
// offset past the end counts as the end. Offsets asked in increasing order
// cost the text's length in all, whatever the number of questions.
// REQUIRES: the text outlives the object.
class TextPositions {
public:
    explicit TextPositions(std::string_view text);

    TextPosition At(std::size_t offset);

private:
    std::string_view text_;
    std::vector<std::size_t> lineStarts_;
    // The last answer, from which a later offset on its line counts on.
    std::size_t lastOffset_ = 0;
    TextPosition last_{1, 1};
};

}  // namespace kxt::diag
