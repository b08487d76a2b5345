#include "chart_svg.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "chart_geometry.h"
#include "chart_palette.h"
#include "document.h"
#include "svg_writer.h"

namespace kxt::cli {
namespace {

// The plot rectangle and what lies around it, in pixels.
constexpr double kPlotLeft = 40.0;  // plus the width of the y axis labels and title
constexpr double kPlotTop = 66.0;
constexpr double kPlotWidth = 640.0;
constexpr double kPlotHeight = 480.0;
constexpr double kBelowPlot = 84.0;  // x labels, x title and the note
constexpr double kLegendGap = 28.0;
constexpr double kLegendRow = 18.0;
constexpr double kRightMargin = 16.0;
constexpr double kFontSize = 12.0;
constexpr double kEnvelopeMargin = 9.0;
constexpr double kMarkerSize = 4.0;
constexpr int kGuidesPerSlope = 5;
constexpr const char* kPlotClip = "url(#plot-area)";

using Attributes = SvgWriter::Attributes;

// About how wide utf8 is drawn at that font size: the drawing is fixed before
// any font is chosen, so this is an estimate by characters.
double TextWidth(std::string_view utf8, double fontSize = kFontSize) {
    const auto characters = std::ranges::count_if(utf8, [](char c) { return (c & 0xC0) != 0x80; });
    return static_cast<double>(characters) * fontSize * 0.58;
}

std::string PointList(std::span<const Point> points) {
    std::string text;
    for (const Point& p : points) {
        if (!text.empty()) text += ' ';
        text += SvgNumber(p.x) + "," + SvgNumber(p.y);
    }
    return text;
}

// The corners of a regular polygon centred on p, the first straight above it.
std::string RegularPolygon(Point p, double radius, int count) {
    std::vector<Point> corners;
    for (int i = 0; i < count; ++i) {
        const double angle = 2.0 * std::numbers::pi * i / count;
        corners.push_back({p.x + radius * std::sin(angle), p.y - radius * std::cos(angle)});
    }
    return PointList(corners);
}

// The marker of the class at index centred on p: its element and geometry,
// followed by extra attributes.
std::pair<std::string_view, Attributes> Marker(std::size_t index, Point p, Attributes extra) {
    const double s = kMarkerSize;
    std::pair<std::string_view, Attributes> marker;
    switch (ClassMarker(index)) {
    case MarkerShape::kCircle:
        marker = {"circle", {{"cx", SvgNumber(p.x)}, {"cy", SvgNumber(p.y)}, {"r", SvgNumber(s)}}};
        break;
    case MarkerShape::kSquare:
        marker = {"rect", {{"x", SvgNumber(p.x - 0.85 * s)}, {"y", SvgNumber(p.y - 0.85 * s)},
                           {"width", SvgNumber(1.7 * s)}, {"height", SvgNumber(1.7 * s)}}};
        break;
    case MarkerShape::kTriangle:
        marker = {"polygon", {{"points", RegularPolygon(p, 1.3 * s, 3)}}};
        break;
    case MarkerShape::kDiamond:
        marker = {"polygon", {{"points", RegularPolygon(p, 1.2 * s, 4)}}};
        break;
    }
    marker.second.emplace_back("fill", std::string(ClassColour(index)));
    marker.second.insert(marker.second.end(), extra.begin(), extra.end());
    return marker;
}

// The scale of one coordinate of every point.
Scale ScaleOf(const ChartData& data, double ChartPoint::*coordinate) {
    std::vector<double> values;
    values.reserve(data.points.size());
    for (const ChartPoint& point : data.points) values.push_back(point.*coordinate);
    return Scale::Around(values, data.log);
}

double LongestLabel(const std::vector<Tick>& ticks) {
    double longest = 0.0;
    for (const Tick& tick : ticks) longest = std::max(longest, TextWidth(tick.label));
    return longest;
}

// One axis: grid lines across the plot, ticks and labels outside it, and its
// title. Positions are "along" the axis and "out" from the plot's edge.
class AxisDrawing {
public:
    AxisDrawing(bool horizontal, double edge, double across) : horizontal_(horizontal), edge_(edge), across_(across) {}

    void Draw(SvgWriter& svg, const Scale& scale, const std::vector<Tick>& ticks, const std::string& title,
              double titleOut) const {
        svg.Open("g", {{"class", horizontal_ ? "axis x" : "axis y"}});
        for (const Tick& tick : ticks) {
            const double along = scale.PixelOfUnits(tick.units);
            Line(svg, along, 0.0, -across_, tick.major ? "grid major" : "grid minor",
                 tick.major ? "#d9d9d9" : "#efefef");
            Line(svg, along, 0.0, tick.major ? 6.0 : 3.0, tick.major ? "tick major" : "tick minor", "#333333");
            if (!tick.label.empty()) Label(svg, along, tick.label);
        }
        const double middle = (scale.PixelOfUnits(scale.Low()) + scale.PixelOfUnits(scale.High())) / 2.0;
        const Point at = At(middle, titleOut);
        Attributes attributes = {{"class", "axis-title"}, {"x", SvgNumber(at.x)}, {"y", SvgNumber(at.y)},
                                 {"text-anchor", "middle"}, {"font-size", "13"}};
        if (!horizontal_) attributes.emplace_back("transform", "rotate(-90 " + SvgNumber(at.x) + " " + SvgNumber(at.y) + ")");
        svg.Element("text", attributes, title);
        svg.Close();
    }

private:
    Point At(double along, double out) const {
        return horizontal_ ? Point{along, edge_ + out} : Point{edge_ - out, along};
    }

    void Line(SvgWriter& svg, double along, double from, double to, const char* name, const char* colour) const {
        const Point a = At(along, from), b = At(along, to);
        svg.Element("line", {{"class", name}, {"x1", SvgNumber(a.x)}, {"y1", SvgNumber(a.y)}, {"x2", SvgNumber(b.x)},
                             {"y2", SvgNumber(b.y)}, {"stroke", colour}});
    }

    void Label(SvgWriter& svg, double along, const std::string& label) const {
        const Point at = At(along, 9.0);
        svg.Element("text", {{"x", SvgNumber(at.x)}, {"y", SvgNumber(at.y)},
                             {"text-anchor", horizontal_ ? "middle" : "end"},
                             {"dy", horizontal_ ? "0.9em" : "0.35em"}}, label);
    }

    bool horizontal_;
    double edge_;    // the pixel of the plot's edge that the axis runs along
    double across_;  // the plot's extent across the axis
};

class ChartDrawing {
public:
    ChartDrawing(const ChartData& data, const ChartStyle& style)
        : data_(data), style_(style), x_(ScaleOf(data, &ChartPoint::x)), y_(ScaleOf(data, &ChartPoint::y)),
          xTicks_(TicksOf(x_)), yTicks_(TicksOf(y_)) {
        yLabelWidth_ = LongestLabel(yTicks_);
        left_ = kPlotLeft + yLabelWidth_ + 24.0;
        x_.SetPixels(left_, left_ + kPlotWidth);
        y_.SetPixels(kPlotTop + kPlotHeight, kPlotTop);
        legendRows_ = static_cast<std::size_t>(kPlotHeight / kLegendRow);
        for (const std::string& name : data.classes) legendColumn_ = std::max(legendColumn_, 22.0 + TextWidth(name));
        legendColumn_ += 12.0;
    }

    std::string Draw() const {
        const std::size_t columns = (data_.classes.size() + legendRows_ - 1) / legendRows_;
        const double width = LegendLeft() + static_cast<double>(columns) * legendColumn_ + kRightMargin;
        const double height = kPlotTop + kPlotHeight + kBelowPlot;
        SvgWriter svg(width, height, {{"font-family", "DejaVu Sans, Helvetica, Arial, sans-serif"},
                                      {"font-size", SvgNumber(kFontSize)}});
        svg.Element("title", {}, Title());
        svg.Element("rect", {{"width", SvgNumber(width)}, {"height", SvgNumber(height)}, {"fill", "#ffffff"}});
        DrawHeading(svg);
        svg.Open("defs", {});
        svg.Open("clipPath", {{"id", "plot-area"}});
        svg.Element("rect", PlotRect({}));
        svg.Close();
        svg.Close();
        AxisDrawing(true, kPlotTop + kPlotHeight, kPlotHeight).Draw(svg, x_, xTicks_, data_.x.title, 44.0);
        AxisDrawing(false, left_, kPlotWidth).Draw(svg, y_, yTicks_, data_.y.title, yLabelWidth_ + 24.0);
        DrawEnvelopes(svg);
        DrawGuides(svg);
        DrawPoints(svg);
        svg.Element("rect", PlotRect({{"class", "frame"}, {"fill", "none"}, {"stroke", "#333333"}}));
        DrawLegend(svg);
        DrawNote(svg, height - 12.0);
        return svg.Finish();
    }

private:
    std::string Title() const {
        return !style_.title.empty() ? style_.title : data_.y.name + " against " + data_.x.name;
    }

    Attributes PlotRect(Attributes attributes) const {
        attributes.insert(attributes.begin(), {{"x", SvgNumber(left_)}, {"y", SvgNumber(kPlotTop)},
                                               {"width", SvgNumber(kPlotWidth)}, {"height", SvgNumber(kPlotHeight)}});
        return attributes;
    }

    double LegendLeft() const { return left_ + kPlotWidth + kLegendGap; }

    Point PixelOf(const ChartPoint& point) const { return {x_.Pixel(point.x), y_.Pixel(point.y)}; }

    void DrawHeading(SvgWriter& svg) const {
        svg.Element("text", {{"class", "title"}, {"x", SvgNumber(left_)}, {"y", "28"}, {"font-size", "17"},
                             {"font-weight", "bold"}}, Title());
        const std::size_t count = data_.points.size();
        const std::string subtitle = data_.library + ": " + std::to_string(count) + (count == 1 ? " material" : " materials") +
                                     (data_.log ? ", logarithmic axes" : ", linear axes");
        svg.Element("text", {{"class", "subtitle"}, {"x", SvgNumber(left_)}, {"y", "48"}, {"fill", "#555555"}}, subtitle);
    }

    void DrawEnvelopes(SvgWriter& svg) const {
        svg.Open("g", {{"class", "envelopes"}, {"clip-path", kPlotClip}, {"fill-opacity", "0.13"},
                       {"stroke-opacity", "0.6"}});
        for (std::size_t group = 0; group < data_.classes.size(); ++group) {
            std::vector<Point> points;
            for (const ChartPoint& point : data_.points)
                if (point.group == group) points.push_back(PixelOf(point));
            const std::string& name = data_.classes[group];
            const std::string colour(ClassColour(group));
            const std::vector<Point> hull = ConvexHull(points);
            if (hull.size() >= 3) {
                svg.Titled("polygon", {{"class", "envelope"}, {"data-class", name},
                                       {"points", PointList(GrownHull(hull, kEnvelopeMargin))}, {"fill", colour},
                                       {"stroke", colour}}, name);
                continue;
            }
            const Ellipse e = EllipseAround(hull, kEnvelopeMargin);
            const std::string cx = SvgNumber(e.centre.x), cy = SvgNumber(e.centre.y);
            svg.Titled("ellipse", {{"class", "envelope"}, {"data-class", name}, {"cx", cx}, {"cy", cy},
                                   {"rx", SvgNumber(e.rx)}, {"ry", SvgNumber(e.ry)},
                                   {"transform", "rotate(" + SvgNumber(e.degrees) + " " + cx + " " + cy + ")"},
                                   {"fill", colour}, {"stroke", colour}}, name);
        }
        svg.Close();
    }

    void DrawGuides(SvgWriter& svg) const {
        if (style_.guideSlopes.empty()) return;
        std::vector<std::pair<Polyline, std::string>> labels;
        svg.Open("g", {{"class", "guides"}, {"clip-path", kPlotClip}, {"fill", "none"}, {"stroke", "#777777"},
                       {"stroke-dasharray", "6 4"}});
        for (const double slope : style_.guideSlopes) {
            for (const std::vector<Polyline>& line : GuideLines(x_, y_, slope, kGuidesPerSlope)) {
                for (const Polyline& piece : line) svg.Element("polyline", {{"class", "guide"}, {"points", PointList(piece)}});
                labels.emplace_back(line.back(), "slope " + FormatNumber(slope));
            }
        }
        svg.Close();
        svg.Open("g", {{"class", "guide-labels"}, {"font-size", "10"}, {"fill", "#555555"}, {"text-anchor", "end"}});
        for (const auto& [piece, label] : labels) GuideLabel(svg, piece, label);
        svg.Close();
    }

    // The label just short of the line's last end, along the line, on the
    // side of it that faces into the plot there.
    static void GuideLabel(SvgWriter& svg, const Polyline& piece, const std::string& label) {
        const Point& end = piece.back();
        const Point& before = piece[piece.size() - 2];
        const double length = std::hypot(end.x - before.x, end.y - before.y);
        if (length == 0.0) return;
        const Point at{end.x - 10.0 * (end.x - before.x) / length, end.y - 10.0 * (end.y - before.y) / length};
        const double degrees = std::atan2(end.y - before.y, end.x - before.x) * 180.0 / std::numbers::pi;
        const std::string x = SvgNumber(at.x), y = SvgNumber(at.y);
        svg.Element("text", {{"x", x}, {"y", y}, {"dy", end.y < before.y ? "1em" : "-0.4em"},
                             {"transform", "rotate(" + SvgNumber(degrees) + " " + x + " " + y + ")"}}, label);
    }

    void DrawPoints(SvgWriter& svg) const {
        svg.Open("g", {{"class", "materials"}, {"stroke", "#333333"}, {"stroke-width", "0.6"}});
        for (const ChartPoint& point : data_.points) {
            const std::string& name = data_.classes[point.group];
            const auto [element, attributes] = Marker(point.group, PixelOf(point), {{"class", "material"}, {"data-class", name}});
            svg.Titled(element, attributes, point.material + " (" + name + ")");
        }
        svg.Close();
    }

    void DrawLegend(SvgWriter& svg) const {
        svg.Open("g", {{"class", "legend"}, {"stroke", "#333333"}, {"stroke-width", "0.6"}});
        for (std::size_t group = 0; group < data_.classes.size(); ++group) {
            const double x = LegendLeft() + static_cast<double>(group / legendRows_) * legendColumn_;
            const double y = kPlotTop + 8.0 + static_cast<double>(group % legendRows_) * kLegendRow;
            const auto [element, attributes] = Marker(group, {x + 6.0, y}, {{"class", "legend-marker"}});
            svg.Element(element, attributes);
            svg.Element("text", {{"x", SvgNumber(x + 18.0)}, {"y", SvgNumber(y)}, {"dy", "0.35em"}, {"stroke", "none"}},
                        data_.classes[group]);
        }
        svg.Close();
    }

    void DrawNote(SvgWriter& svg, double baseline) const {
        std::string note;
        for (const LeftOutReason reason : {LeftOutReason::kNoValue, LeftOutReason::kNotPositive}) {
            for (const bool onX : {true, false}) {
                const auto count = std::ranges::count_if(data_.leftOut, [&](const LeftOut& out) {
                    return out.reason == reason && out.onX == onX;
                });
                if (count == 0) continue;
                const ChartAxis& axis = onX ? data_.x : data_.y;
                note += note.empty() ? "Left out: " : "; ";
                note += std::to_string(count) + (count == 1 ? " material " : " materials ");
                note += reason == LeftOutReason::kNoValue ? "without " + axis.title
                                                          : "with " + axis.name + " \u2264 0 (logarithmic axis)";
            }
        }
        if (note.empty()) return;
        svg.Element("text", {{"class", "note"}, {"x", SvgNumber(left_)}, {"y", SvgNumber(baseline)},
                             {"font-size", "11"}, {"fill", "#444444"}}, note + ".");
    }

    const ChartData& data_;
    const ChartStyle& style_;
    Scale x_;
    Scale y_;
    std::vector<Tick> xTicks_;
    std::vector<Tick> yTicks_;
    double yLabelWidth_ = 0.0;
    double left_ = 0.0;
    std::size_t legendRows_ = 1;
    double legendColumn_ = 0.0;
};

}  // namespace

std::string DrawChart(const ChartData& data, const ChartStyle& style) {
    return ChartDrawing(data, style).Draw();
}

}  // namespace kxt::cli
