// The geometry of a property chart: axis scales and their ticks, class
// envelopes and guide lines. Everything is computed in pixels of the drawing,
// whose y grows downwards.
#pragma once

#include <span>
#include <string>
#include <vector>

namespace kxt::cli {

struct Point {
    double x = 0.0;
    double y = 0.0;
};
using Polyline = std::vector<Point>;

// A value range mapped onto a pixel range. A logarithmic scale works in
// decades: its bounds are the exponents of powers of ten.
class Scale {
public:
    // The scale whose bounds enclose values (all positive when log), padded to
    // whole decades (log) or to round ticks (linear).
    // REQUIRES: values is not empty and holds finite numbers only.
    static Scale Around(std::span<const double> values, bool log);

    bool IsLog() const noexcept { return log_; }
    // The bounds in scale units: decades when log, values otherwise.
    double Low() const noexcept { return low_; }
    double High() const noexcept { return high_; }
    // The step between major ticks, in scale units.
    double Step() const noexcept { return step_; }
    // value in scale units (its decade when log).
    double Units(double value) const;
    void SetPixels(double atLow, double atHigh) noexcept;
    double Pixel(double value) const { return PixelOfUnits(Units(value)); }
    double PixelOfUnits(double units) const noexcept;

private:
    bool log_ = false;
    double low_ = 0.0;
    double high_ = 1.0;
    double step_ = 1.0;
    double atLow_ = 0.0;
    double atHigh_ = 1.0;
};

struct Tick {
    double units = 0.0;  // where, in scale units
    bool major = false;
    std::string label;  // UTF-8; empty for a minor tick
};

// Major ticks at every decade labelled "10ⁿ" and minor ticks at 2 and 5 of
// each decade (log), or at every step labelled in engineering notation with
// minor ticks half way (linear).
std::vector<Tick> TicksOf(const Scale& scale);

// "10" with the exponent in superscript digits: "10⁻³", "10¹²".
std::string PowerOfTen(int exponent);

// The convex hull of points, counter-clockwise in a y-up frame; collinear and
// repeated points dropped, so fewer than three points when all are collinear.
std::vector<Point> ConvexHull(std::vector<Point> points);

// The hull of points grown by margin on every side (rounded corners).
// REQUIRES: margin > 0.
std::vector<Point> GrownHull(std::span<const Point> points, double margin);

// An ellipse around one point (a circle of radius margin) or along the
// segment of two (reaching margin beyond each end).
struct Ellipse {
    Point centre;
    double rx = 0.0;
    double ry = 0.0;
    double degrees = 0.0;  // rotation of the rx axis
};
Ellipse EllipseAround(std::span<const Point> points, double margin);

// count lines of constant y/x^slope spread across the plot rectangle of the
// two scales, each given as its pieces inside the rectangle.
std::vector<std::vector<Polyline>> GuideLines(const Scale& x, const Scale& y, double slope, int count);

}  // namespace kxt::cli
