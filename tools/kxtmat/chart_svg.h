// Draws a property chart as an SVG document.
#pragma once

#include <string>
#include <vector>

#include "chart_data.h"

namespace kxt::cli {

struct ChartStyle {
    std::string title;                // UTF-8; empty: "<y name> against <x name>"
    std::vector<double> guideSlopes;  // lines of constant y/x^slope, in order given
};

// The SVG text of the chart: a point per material, an envelope per class,
// the two axes, guide lines, a legend of the classes and a note counting the
// materials left out. The same data and style give the same bytes.
// REQUIRES: data.points is not empty.
std::string DrawChart(const ChartData& data, const ChartStyle& style);

}  // namespace kxt::cli
