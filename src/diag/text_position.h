// Line and column of an offset in a text, as editors count them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kxt::diag {

struct TextPosition {
    std::uint32_t line = 0;    // 1-based
    std::uint32_t column = 0;  // 1-based
};

// The position of byte `offset` of the UTF-8 text: lines end at a line feed,
// a carriage return and line feed, or a carriage return alone; the column
// counts characters (code points; a tab is one) from the line's start, each
// byte that is not valid UTF-8 as one. An offset past the end counts as the end.
TextPosition PositionInUtf8(std::string_view text, std::size_t offset) noexcept;

}  // namespace kxt::diag
