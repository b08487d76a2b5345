// How a chart tells its classes apart: a colour each, from a palette that
// readers with any common colour-vision deficiency can tell apart first
// (Okabe-Ito), then further distinct hues, and a marker shape that changes
// with every eight colours so that neighbours in the palette differ twice.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace kxt::cli {

inline constexpr std::array<std::string_view, 26> kClassColours = {
    "#E69F00", "#56B4E9", "#009E73", "#F0E442", "#0072B2", "#D55E00", "#CC79A7", "#000000", "#332288",
    "#88CCEE", "#44AA99", "#117733", "#999933", "#DDCC77", "#CC6677", "#882255", "#AA4499", "#EE3377",
    "#BBCC33", "#77AADD", "#FFAABB", "#EE8866", "#994F00", "#5D3A9B", "#666666", "#AAAA00"};

enum class MarkerShape { kCircle, kSquare, kTriangle, kDiamond };

// The colour of the class at index (in the order the chart draws classes).
inline std::string_view ClassColour(std::size_t index) {
    return kClassColours[index % kClassColours.size()];
}

inline MarkerShape ClassMarker(std::size_t index) {
    return static_cast<MarkerShape>(index / 8 % 4);
}

}  // namespace kxt::cli
