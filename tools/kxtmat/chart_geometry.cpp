#include "chart_geometry.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>
#include <optional>
#include <utility>

namespace kxt::cli {
namespace {

// How far beyond its extreme values a logarithmic axis reaches at least, in
// decades, so that no point sits on the frame.
constexpr double kDecadePadding = 0.05;
// The same for a linear axis, as a share of the data's span.
constexpr double kLinearPadding = 0.03;
// About how many steps a linear axis has.
constexpr double kLinearSteps = 6.0;
// At most this many labelled decades; beyond it every second (third, ...) one.
constexpr int kMaxDecadeLabels = 16;
// Corners of the polygon that stands in for the circle around a hull vertex.
constexpr int kCircleCorners = 24;
// Samples of a guide line that is not straight (any linear axis).
constexpr int kCurveSamples = 97;

// The smallest of 1, 2, 5 times a power of ten that is not below raw.
double NiceStep(double raw) {
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double factor : {1.0, 2.0, 5.0})
        if (raw <= factor * power) return factor * power;
    return 10.0 * power;
}

std::string Fixed(double value, int decimals) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    return std::string(buffer, result.ptr);
}

// The labels of a linear axis: every tick in one engineering exponent (a
// multiple of three, chosen by the largest bound), with as many decimals as
// the step needs ("0", "50×10⁹", "1.5").
class EngineeringLabels {
public:
    explicit EngineeringLabels(const Scale& scale) {
        const double largest = std::max(std::abs(scale.Low()), std::abs(scale.High()));
        exponent_ = largest > 0.0 ? 3 * static_cast<int>(std::floor(std::log10(largest) / 3.0)) : 0;
        const int stepExponent = static_cast<int>(std::floor(std::log10(scale.Step()) + 1e-9));
        decimals_ = std::max(0, exponent_ - stepExponent);
        zero_ = 0.5 * std::pow(10.0, -decimals_);
    }

    std::string operator()(double value) const {
        const double mantissa = value / std::pow(10.0, exponent_);
        if (std::abs(mantissa) < zero_) return "0";
        std::string label = Fixed(mantissa, decimals_);
        if (exponent_ != 0) label += "\u00D7" + PowerOfTen(exponent_);
        return label;
    }

private:
    int exponent_ = 0;
    int decimals_ = 0;
    double zero_ = 0.0;
};

double Cross(const Point& o, const Point& a, const Point& b) {
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

struct Rect {
    double left, right, top, bottom;
};

Rect PlotRect(const Scale& x, const Scale& y) {
    const double left = x.PixelOfUnits(x.Low()), right = x.PixelOfUnits(x.High());
    const double top = y.PixelOfUnits(y.High()), bottom = y.PixelOfUnits(y.Low());
    return {std::min(left, right), std::max(left, right), std::min(top, bottom), std::max(top, bottom)};
}

// The part of segment a-b inside the rectangle (Liang-Barsky); nullopt when none.
std::optional<std::pair<Point, Point>> Clip(const Point& a, const Point& b, const Rect& rect) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    double t0 = 0.0, t1 = 1.0;
    const std::pair<double, double> edges[] = {
        {-dx, a.x - rect.left}, {dx, rect.right - a.x}, {-dy, a.y - rect.top}, {dy, rect.bottom - a.y}};
    for (const auto& [p, q] : edges) {
        if (p == 0.0) {
            if (q < 0.0) return std::nullopt;
            continue;
        }
        const double t = q / p;
        if (p < 0.0) t0 = std::max(t0, t);
        else t1 = std::min(t1, t);
        if (t0 > t1) return std::nullopt;
    }
    return std::pair(Point{a.x + t0 * dx, a.y + t0 * dy}, Point{a.x + t1 * dx, a.y + t1 * dy});
}

// The pieces of the polyline through points inside the rectangle; a point
// that is not finite breaks the line.
std::vector<Polyline> ClipPolyline(const Polyline& points, const Rect& rect) {
    std::vector<Polyline> pieces;
    const auto finite = [](const Point& p) { return std::isfinite(p.x) && std::isfinite(p.y); };
    for (std::size_t i = 1; i < points.size(); ++i) {
        if (!finite(points[i - 1]) || !finite(points[i])) continue;
        const auto clipped = Clip(points[i - 1], points[i], rect);
        if (!clipped) continue;
        const bool continues = !pieces.empty() && pieces.back().back().x == clipped->first.x &&
                               pieces.back().back().y == clipped->first.y;
        if (!continues) pieces.push_back({clipped->first});
        pieces.back().push_back(clipped->second);
    }
    return pieces;
}

// The line y = 10^decade * x^slope sampled across the x axis, in pixels.
Polyline GuideSamples(const Scale& x, const Scale& y, double slope, double decade) {
    const int samples = x.IsLog() && y.IsLog() ? 2 : kCurveSamples;
    Polyline points;
    for (int i = 0; i < samples; ++i) {
        const double units = x.Low() + (x.High() - x.Low()) * i / (samples - 1);
        const double xDecade = x.IsLog() ? units : std::log10(units);
        const double yDecade = decade + slope * xDecade;
        const double yUnits = y.IsLog() ? yDecade : std::pow(10.0, yDecade);
        points.push_back({x.PixelOfUnits(units), y.PixelOfUnits(yUnits)});
    }
    return points;
}

}  // namespace

Scale Scale::Around(std::span<const double> values, bool log) {
    const auto [lowest, highest] = std::ranges::minmax(values);
    Scale scale;
    scale.log_ = log;
    if (log) {
        scale.low_ = std::floor(std::log10(lowest) - kDecadePadding);
        scale.high_ = std::ceil(std::log10(highest) + kDecadePadding);
        return scale;
    }
    double span = highest - lowest;
    if (span == 0.0) span = lowest != 0.0 ? std::abs(lowest) : 1.0;
    // The padding never crosses zero: data on one side of it keeps to that side.
    const double low = lowest >= 0.0 ? std::max(0.0, lowest - kLinearPadding * span) : lowest - kLinearPadding * span;
    const double high = highest <= 0.0 ? std::min(0.0, highest + kLinearPadding * span) : highest + kLinearPadding * span;
    scale.step_ = NiceStep((high - low) / kLinearSteps);
    scale.low_ = std::floor(low / scale.step_) * scale.step_;
    scale.high_ = std::ceil(high / scale.step_) * scale.step_;
    return scale;
}

double Scale::Units(double value) const {
    return log_ ? std::log10(value) : value;
}

void Scale::SetPixels(double atLow, double atHigh) noexcept {
    atLow_ = atLow;
    atHigh_ = atHigh;
}

double Scale::PixelOfUnits(double units) const noexcept {
    return atLow_ + (units - low_) / (high_ - low_) * (atHigh_ - atLow_);
}

std::vector<Tick> TicksOf(const Scale& scale) {
    std::vector<Tick> ticks;
    const int steps = static_cast<int>(std::lround((scale.High() - scale.Low()) / scale.Step()));
    if (scale.IsLog()) {
        const int low = static_cast<int>(scale.Low());
        const int every = (steps + kMaxDecadeLabels - 1) / kMaxDecadeLabels;
        for (int i = 0; i <= steps; ++i) {
            ticks.push_back({low + i + 0.0, true, i % every == 0 ? PowerOfTen(low + i) : std::string()});
            if (i == steps) break;
            for (const double factor : {2.0, 5.0}) ticks.push_back({low + i + std::log10(factor), false, {}});
        }
        return ticks;
    }
    const EngineeringLabels label(scale);
    for (int i = 0; i <= steps; ++i) {
        const double units = scale.Low() + i * scale.Step();
        ticks.push_back({units, true, label(units)});
        if (i < steps) ticks.push_back({units + scale.Step() / 2.0, false, {}});
    }
    return ticks;
}

std::string PowerOfTen(int exponent) {
    static constexpr const char* kDigits[] = {"\u2070", "\u00B9", "\u00B2", "\u00B3", "\u2074",
                                              "\u2075", "\u2076", "\u2077", "\u2078", "\u2079"};
    std::string text = "10";
    if (exponent < 0) text += "\u207B";
    for (const char digit : std::to_string(std::abs(exponent))) text += kDigits[digit - '0'];
    return text;
}

std::vector<Point> ConvexHull(std::vector<Point> points) {
    const auto less = [](const Point& a, const Point& b) { return a.x != b.x ? a.x < b.x : a.y < b.y; };
    std::ranges::sort(points, less);
    const auto [first, last] = std::ranges::unique(points, [](const Point& a, const Point& b) {
        return a.x == b.x && a.y == b.y;
    });
    points.erase(first, last);
    if (points.size() < 3) return points;

    // Andrew's monotone chain: the lower half left to right, the upper half back.
    std::vector<Point> hull(2 * points.size());
    std::size_t size = 0;
    const auto add = [&](const Point& p, std::size_t floor) {
        while (size > floor && Cross(hull[size - 2], hull[size - 1], p) <= 0.0) --size;
        hull[size++] = p;
    };
    for (const Point& p : points) add(p, 1);
    const std::size_t lower = size;
    for (auto p = points.rbegin() + 1; p != points.rend(); ++p) add(*p, lower);
    hull.resize(size - 1);
    return hull;
}

std::vector<Point> GrownHull(std::span<const Point> points, double margin) {
    // The circumscribed polygon keeps every side at least margin away.
    const double radius = margin / std::cos(std::numbers::pi / kCircleCorners);
    std::vector<Point> around;
    for (const Point& p : ConvexHull({points.begin(), points.end()})) {
        for (int i = 0; i < kCircleCorners; ++i) {
            const double angle = 2.0 * std::numbers::pi * i / kCircleCorners;
            around.push_back({p.x + radius * std::cos(angle), p.y + radius * std::sin(angle)});
        }
    }
    return ConvexHull(std::move(around));
}

Ellipse EllipseAround(std::span<const Point> points, double margin) {
    const Point& a = points.front();
    const Point& b = points.back();
    const double dx = b.x - a.x, dy = b.y - a.y;
    return {{(a.x + b.x) / 2.0, (a.y + b.y) / 2.0},
            std::hypot(dx, dy) / 2.0 + margin,
            margin,
            std::atan2(dy, dx) * 180.0 / std::numbers::pi};
}

std::vector<std::vector<Polyline>> GuideLines(const Scale& x, const Scale& y, double slope, int count) {
    // Each line passes through one of count points spread along the plot's
    // diagonal that runs across the lines: from top left to bottom right for
    // rising lines, else from bottom left to top right.
    const Rect rect = PlotRect(x, y);
    std::vector<std::vector<Polyline>> lines;
    for (int i = 0; i < count; ++i) {
        const double t = (i + 0.5) / count;
        const double xUnits = x.Low() + t * (x.High() - x.Low());
        const double yUnits = slope > 0.0 ? y.High() - t * (y.High() - y.Low()) : y.Low() + t * (y.High() - y.Low());
        const double xValue = x.IsLog() ? std::pow(10.0, xUnits) : xUnits;
        const double yValue = y.IsLog() ? std::pow(10.0, yUnits) : yUnits;
        if (xValue <= 0.0 || yValue <= 0.0) continue;
        const double decade = std::log10(yValue) - slope * std::log10(xValue);
        std::vector<Polyline> pieces = ClipPolyline(GuideSamples(x, y, slope, decade), rect);
        if (!pieces.empty()) lines.push_back(std::move(pieces));
    }
    return lines;
}

}  // namespace kxt::cli
