// kxtmat chart run as the user runs it: the SVG is checked against the
// sample library file itself and against a small library made for the test.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <numbers>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <pugixml.hpp>
#ifdef KXTMAT_HAVE_PNG
#include <png.h>
#endif

#include "support/kxtmat_run.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using kxt::test::Kxtmat, kxt::test::KxtmatJson, kxt::test::Outcome, kxt::test::TempDir;

const fs::path kStandardLibrary = fs::path(KXTMAT_SOURCE_DIR) / "data/sample/lang/english/kvxmaterials/Korvex Materials.kvxmat";

// A library with names XML must escape, a tenfold density, a class of one and
// of two materials (ellipses), and materials without a usable yield strength.
std::string OddLibrary() {
    const auto material = [](const std::string& name, const std::string& density, const std::string& yield) {
        return "<material name=\"" + name + "\"><physicalproperties><DENS displayname=\"Mass Density\" value=\"" + density + "\"/>" +
               (yield.empty() ? "" : "<YLD displayname=\"Yield Strength\" value=\"" + yield + "\"/>") + "</physicalproperties></material>";
    };
    return "<materials><classification name=\"R&amp;D &lt;lab&gt;\">" + material("Tom&apos;s &quot;A&amp;B&quot; &lt;1&gt;", "100", "1000000") +
           material("Tenfold", "1000", "1000000") + material("Third", "300", "5000000") + material("No yield", "300", "") + material("Zero yield", "300", "0") +
           "</classification><classification name=\"Single\">" + material("Alone", "2000", "30000000") + "</classification><classification name=\"Pair\">" +
           material("Ü1", "5000", "20000000") + material("Ü2", "7000", "90000000") + "</classification></materials>";
}

pugi::xml_document ParsedSvg(const std::string& svg) {
    pugi::xml_document doc;
    EXPECT_TRUE(doc.load_string(svg.c_str())) << svg.substr(0, 300);
    return doc;
}

pugi::xpath_node_set ByClass(const pugi::xml_document& doc, const std::string& name) { return doc.select_nodes(("//*[@class='" + name + "']").c_str()); }

// "Name (Class)" of every material of the library file in the classes (all
// when empty) with both properties above zero.
std::multiset<std::string> Plottable(const fs::path& library, const std::set<std::string>& classes) {
    pugi::xml_document doc;
    EXPECT_TRUE(doc.load_file(library.c_str()));
    std::multiset<std::string> titles;
    for (const pugi::xpath_node& found : doc.select_nodes("//classification/material")) {
        const pugi::xml_node material = found.node(), properties = material.child("physicalproperties");
        const std::string group = material.parent().attribute("name").value();
        const auto positive = [&](const char* abbreviation) { return properties.child(abbreviation).attribute("value").as_double() > 0; };
        if ((classes.empty() || classes.contains(group)) && positive("DENS") && positive("YLD"))
            titles.insert(material.attribute("name").value() + std::string(" (") + group + ")");
    }
    return titles;
}

// The corners of a <polygon>.
std::vector<std::pair<double, double>> Corners(const pugi::xml_node& polygon) {
    std::vector<std::pair<double, double>> corners;
    std::istringstream points(polygon.attribute("points").value());
    double x = 0, y = 0;
    for (char comma = 0; points >> x >> comma >> y;) corners.emplace_back(x, y);
    return corners;
}

struct Marker { std::string title, group; double x = 0.0, y = 0.0; };

// The centre of every material's marker (circle, square or polygon).
std::vector<Marker> Markers(const pugi::xml_document& doc) {
    std::vector<Marker> markers;
    for (const pugi::xpath_node& found : ByClass(doc, "material")) {
        const pugi::xml_node node = found.node();
        Marker m{node.child_value("title"), node.attribute("data-class").value()};
        const auto at = [&](const char* name) { return node.attribute(name).as_double(); };
        if (node.attribute("cx")) m.x = at("cx"), m.y = at("cy");
        else if (node.attribute("width")) m.x = at("x") + at("width") / 2, m.y = at("y") + at("height") / 2;
        else
            for (const auto corners = Corners(node); const auto& [x, y] : corners) m.x += x / corners.size(), m.y += y / corners.size();
        markers.push_back(m);
    }
    return markers;
}

// Whether (x, y) lies inside the envelope: an ellipse or a polygon.
bool Inside(const pugi::xml_node& envelope, double x, double y) {
    const auto at = [&](const char* name) { return envelope.attribute(name).as_double(); };
    if (std::string(envelope.name()) == "ellipse") {
        double degrees = 0;
        std::sscanf(envelope.attribute("transform").value(), "rotate(%lf", &degrees);
        const double a = -degrees * std::numbers::pi / 180, dx = x - at("cx"), dy = y - at("cy");
        const double u = dx * std::cos(a) - dy * std::sin(a), v = dx * std::sin(a) + dy * std::cos(a);
        return std::pow(u / at("rx"), 2) + std::pow(v / at("ry"), 2) < 1;
    }
    const auto c = Corners(envelope);
    bool inside = false;  // even-odd rule
    for (std::size_t i = 0, j = c.size() - 1; i < c.size(); j = i++)
        if ((c[i].second > y) != (c[j].second > y) && x < (c[j].first - c[i].first) * (y - c[i].second) / (c[j].second - c[i].second) + c[i].first)
            inside = !inside;
    return inside;
}

void ExpectEveryPointInItsEnvelope(const pugi::xml_document& doc) {
    std::map<std::string, pugi::xml_node> envelopes;
    for (const pugi::xpath_node& found : ByClass(doc, "envelope")) envelopes[found.node().attribute("data-class").value()] = found.node();
    for (const Marker& m : Markers(doc)) EXPECT_TRUE(envelopes.contains(m.group) && Inside(envelopes[m.group], m.x, m.y)) << m.title;
}

TEST(KxtmatChart, DrawsOneMarkerPerPlottableMaterialOfTheChosenClasses) {
    for (const std::set<std::string>& classes : std::vector<std::set<std::string>>{{}, {"Steel"}, {"Steel", "Glasses", "Woods", "Rubber"}}) {
        std::vector<std::string> arguments = {"chart", "DENS", "YLD", "--guide", "1"};
        for (const std::string& name : classes) arguments.insert(arguments.end(), {"--class", name});
        const Outcome run = Kxtmat(arguments);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const pugi::xml_document doc = ParsedSvg(run.out);
        std::multiset<std::string> titles;
        for (const Marker& marker : Markers(doc)) titles.insert(marker.title);
        EXPECT_EQ(titles, Plottable(kStandardLibrary, classes)) << classes.size();
        EXPECT_TRUE(doc.select_node("//*[local-name()='g'][@class='axis x']") && doc.select_node("//*[local-name()='g'][@class='axis y']"));
        ExpectEveryPointInItsEnvelope(doc);
    }
}

TEST(KxtmatChart, TenfoldValuesLieOneDecadeApartAndNamesAreEscaped) {
    const TempDir folder;
    const std::vector<std::string> arguments = {folder.Write("odd.kvxmat", OddLibrary()).string(), "chart", "DENS", "YLD", "--library", "odd"};
    const Outcome odd = Kxtmat(arguments);
    ASSERT_EQ(odd.exitCode, 0) << odd.err;
    const pugi::xml_document doc = ParsedSvg(odd.out);  // parses only with the names escaped
    ExpectEveryPointInItsEnvelope(doc);
    std::map<std::string, Marker> markers;
    for (const Marker& marker : Markers(doc)) markers[marker.title] = marker;
    ASSERT_EQ(markers.size(), 6u);
    EXPECT_TRUE(markers.contains("Ü1 (Pair)") && markers.contains("Tom's \"A&B\" <1> (R&D <lab>)"));
    std::vector<double> decades;
    for (const pugi::xpath_node& tick : doc.select_nodes("//*[@class='axis x']/*[@class='tick major']")) decades.push_back(tick.node().attribute("x1").as_double());
    ASSERT_GE(decades.size(), 2u);
    const Marker &tenfold = markers["Tenfold (R&D <lab>)"], &one = markers["Tom's \"A&B\" <1> (R&D <lab>)"];
    EXPECT_NEAR(tenfold.x - one.x, decades[1] - decades[0], 0.02);
    EXPECT_EQ(tenfold.y, one.y);

    const nlohmann::json data = KxtmatJson(arguments);
    std::vector<std::string> leftOut;
    for (const nlohmann::json& entry : data.at("left_out")) leftOut.push_back(entry.value("material", "") + ": " + entry.value("reason", ""));
    EXPECT_EQ(leftOut, (std::vector<std::string>{"No yield: no value", "Zero yield: not positive"}));
}

// The same bytes on every run and to a file; rendered through rsvg-convert,
// the chart draws many colours on less than 95% white.
TEST(KxtmatChart, GivesTheSameBytesEveryTimeAndRendersToAnImageThatIsNotBlank) {
    const TempDir folder;
    const fs::path svg = folder.Path() / "chart.svg", png = folder.Path() / "chart.png";
    const Outcome first = Kxtmat({"chart", "EMOD", "Material Cost", "--guide", "1", "--guide", "-0.5"});
    ASSERT_EQ(first.exitCode, 0) << first.err;
    EXPECT_EQ(Kxtmat({"chart", "EMOD", "Material Cost", "--guide", "1", "--guide", "-0.5", "--out", svg.string()}).out, "");
    EXPECT_EQ(kxt::test::ReadFileBytes(svg.string()), first.out);
#ifndef KXTMAT_HAVE_PNG
    GTEST_SKIP() << "no libpng for this target: the chart is not rendered";
#else
    if (std::system("command -v rsvg-convert >/dev/null 2>&1") != 0) GTEST_SKIP() << "rsvg-convert is not installed";
    using kxt::test::ShellQuoted;
    ASSERT_EQ(std::system(("rsvg-convert -o " + ShellQuoted(png.string()) + " " + ShellQuoted(svg.string()) + " 2>&1").c_str()), 0);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, png.c_str())) << image.message;
    image.format = PNG_FORMAT_RGB;
    std::vector<unsigned char> pixels(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) << image.message;
    EXPECT_GT(image.width, 600u);
    std::set<unsigned> colours;
    std::size_t white = 0;
    for (std::size_t i = 0; i + 2 < pixels.size(); i += 3)
        colours.insert(pixels[i] << 16 | pixels[i + 1] << 8 | pixels[i + 2]), white += (pixels[i] & pixels[i + 1] & pixels[i + 2]) == 255;
    EXPECT_GT(colours.size(), 100u);
    EXPECT_LT(white, pixels.size() / 3 * 95 / 100);
#endif
}

}  // namespace
