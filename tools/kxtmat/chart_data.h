// What a property chart shows: the materials of some classes of one library,
// each a point of two property values, and the materials that could not be
// placed. Texts are UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include <kxtmat/kxtmat.h>

namespace kxt::cli {

struct ChartAxis {
    std::u16string property;  // as the search names it: an abbreviation or the cost criterion
    std::string name;         // the property's name in the user-interface language
    std::string title;        // the name with the abbreviation or the cost unit: "Mass Density (DENS)"
};

struct ChartPoint {
    std::size_t group = 0;  // index into ChartData::classes
    std::string material;
    double x = 0.0;
    double y = 0.0;
};

// Why a material has no point.
enum class LeftOutReason { kNoValue, kNotPositive };

struct LeftOut {
    std::string className;
    std::string material;
    LeftOutReason reason = LeftOutReason::kNoValue;
    bool onX = true;  // the value that failed: x, else y
};

struct ChartData {
    std::string library;
    ChartAxis x;
    ChartAxis y;
    bool log = true;
    std::vector<std::string> classes;  // the classes with at least one point, in library order
    std::vector<ChartPoint> points;    // in walk order
    std::vector<LeftOut> leftOut;      // in walk order
};

// The chart of the classes of db (every class when classes is empty) for the
// properties x and y. On logarithmic axes (log) a value <= 0 leaves its
// material out; a value that is not a finite number always does.
// REQUIRES: classes belong to db; x and y name properties as the search does.
ChartData GatherChart(const kxtMaterialDB& db, const std::vector<const kxtMaterialClass*>& classes,
                      const std::u16string& x, const std::u16string& y, bool log);

}  // namespace kxt::cli
