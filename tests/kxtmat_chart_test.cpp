// kxtmat chart run as the user runs it: the SVG is checked against the
// sample library file itself and against a small library made for the test.
#include <cmath>
#include <cstdint>
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
#include <png.h>
#include <pugixml.hpp>

#include "support/kxtmat_run.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using kxt::test::Kxtmat;
using kxt::test::KxtmatJson;
using kxt::test::Outcome;
using kxt::test::TempDir;

const fs::path kStandardLibrary =
    fs::path(KXTMAT_SOURCE_DIR) / "data" / "sample" / "lang" / "english" / "kvxmaterials" / "Korvex Materials.kvxmat";

// A library with names XML must escape, a tenfold density, a class of one and
// of two materials (ellipses), and materials without a usable yield strength.
std::string OddLibrary() {
    const struct {
        std::string group, name, density, yield;  // yield "": none
    } materials[] = {{"R&amp;D &lt;lab&gt;", "Tom&apos;s &quot;A&amp;B&quot; &lt;1&gt;", "100", "1000000"},
                     {"R&amp;D &lt;lab&gt;", "Tenfold", "1000", "1000000"}, {"R&amp;D &lt;lab&gt;", "Third", "300", "5000000"},
                     {"R&amp;D &lt;lab&gt;", "No yield", "300", ""}, {"R&amp;D &lt;lab&gt;", "Zero yield", "300", "0"},
                     {"Single", "Alone", "2000", "30000000"}, {"Pair", "Ü1", "5000", "20000000"}, {"Pair", "Ü2", "7000", "90000000"}};
    std::string xml = "<materials>", group;
    for (const auto& m : materials) {
        if (m.group != group) xml += std::string(group.empty() ? "" : "</classification>") + "<classification name=\"" + m.group + "\">";
        group = m.group;
        xml += "<material name=\"" + m.name + "\"><physicalproperties><DENS displayname=\"Mass Density\" value=\"" + m.density + "\"/>";
        if (!m.yield.empty()) xml += "<YLD displayname=\"Yield Strength\" value=\"" + m.yield + "\"/>";
        xml += "</physicalproperties></material>";
    }
    return xml + "</classification></materials>";
}

Outcome Chart(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "chart");
    return Kxtmat(arguments);
}

pugi::xml_document ParsedSvg(const std::string& svg) {
    pugi::xml_document doc;
    const pugi::xml_parse_result parsed = doc.load_string(svg.c_str());
    EXPECT_TRUE(parsed) << parsed.description() << " at " << parsed.offset;
    return doc;
}

std::vector<pugi::xml_node> ByClass(const pugi::xml_document& doc, const char* name) {
    std::vector<pugi::xml_node> nodes;
    for (const pugi::xpath_node& found : doc.select_nodes(("//*[@class='" + std::string(name) + "']").c_str())) nodes.push_back(found.node());
    return nodes;
}

// "Name (Class)" of every material of the library file in the classes (all
// when empty) with both properties above zero.
std::multiset<std::string> Plottable(const fs::path& library, const std::set<std::string>& classes) {
    pugi::xml_document doc;
    EXPECT_TRUE(doc.load_file(library.c_str()));
    std::multiset<std::string> titles;
    for (const pugi::xpath_node& found : doc.select_nodes("//classification/material")) {
        const pugi::xml_node material = found.node();
        const std::string group = material.parent().attribute("name").value();
        const pugi::xml_node properties = material.child("physicalproperties");
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
    char comma = 0;
    while (points >> x >> comma >> y) corners.emplace_back(x, y);
    return corners;
}

struct Marker {
    std::string title, group;
    double x = 0.0, y = 0.0;
};

// The centre of every material's marker (circle, square or polygon).
std::vector<Marker> Markers(const pugi::xml_document& doc) {
    std::vector<Marker> markers;
    for (const pugi::xml_node& node : ByClass(doc, "material")) {
        Marker marker{node.child_value("title"), node.attribute("data-class").value()};
        if (node.attribute("cx")) {
            marker.x = node.attribute("cx").as_double();
            marker.y = node.attribute("cy").as_double();
        } else if (node.attribute("width")) {
            marker.x = node.attribute("x").as_double() + node.attribute("width").as_double() / 2;
            marker.y = node.attribute("y").as_double() + node.attribute("height").as_double() / 2;
        } else {
            const auto corners = Corners(node);
            for (const auto& [x, y] : corners) marker.x += x / corners.size(), marker.y += y / corners.size();
        }
        markers.push_back(marker);
    }
    return markers;
}

// Whether (x, y) lies inside the envelope: an ellipse or a polygon.
bool Inside(const pugi::xml_node& envelope, double x, double y) {
    if (std::string(envelope.name()) == "ellipse") {
        const double cx = envelope.attribute("cx").as_double(), cy = envelope.attribute("cy").as_double();
        double degrees = 0;
        std::sscanf(envelope.attribute("transform").value(), "rotate(%lf", &degrees);
        const double a = -degrees * std::numbers::pi / 180, dx = x - cx, dy = y - cy;
        const double u = dx * std::cos(a) - dy * std::sin(a), v = dx * std::sin(a) + dy * std::cos(a);
        return std::pow(u / envelope.attribute("rx").as_double(), 2) + std::pow(v / envelope.attribute("ry").as_double(), 2) < 1;
    }
    const auto corners = Corners(envelope);
    bool inside = false;  // even-odd rule
    for (std::size_t i = 0, j = corners.size() - 1; i < corners.size(); j = i++) {
        const auto [xi, yi] = corners[i];
        const auto [xj, yj] = corners[j];
        if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) inside = !inside;
    }
    return inside;
}

void ExpectEveryPointInItsEnvelope(const pugi::xml_document& doc) {
    std::map<std::string, pugi::xml_node> envelopes;
    for (const pugi::xml_node& envelope : ByClass(doc, "envelope")) envelopes[envelope.attribute("data-class").value()] = envelope;
    for (const Marker& marker : Markers(doc)) {
        const auto envelope = envelopes.find(marker.group);
        ASSERT_NE(envelope, envelopes.end()) << marker.title;
        EXPECT_TRUE(Inside(envelope->second, marker.x, marker.y)) << marker.title;
    }
}

TEST(KxtmatChart, DrawsOneMarkerPerPlottableMaterialOfTheChosenClasses) {
    const std::vector<std::set<std::string>> choices = {{}, {"Steel"}, {"Steel", "Glasses", "Woods", "Rubber"}};
    for (const std::set<std::string>& classes : choices) {
        std::vector<std::string> arguments = {"DENS", "YLD", "--guide", "1"};
        for (const std::string& name : classes) arguments.insert(arguments.end(), {"--class", name});
        const Outcome run = Chart(arguments);
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
    const fs::path library = folder.Write("odd.kvxmat", OddLibrary());
    const Outcome odd = Kxtmat({library.string(), "chart", "DENS", "YLD", "--library", "odd"});
    ASSERT_EQ(odd.exitCode, 0) << odd.err;
    EXPECT_NE(odd.out.find("Tom&apos;s &quot;A&amp;B&quot; &lt;1&gt; (R&amp;D &lt;lab&gt;)"), std::string::npos);
    EXPECT_NE(odd.out.find("Ü1 (Pair)"), std::string::npos);
    const pugi::xml_document doc = ParsedSvg(odd.out);
    ExpectEveryPointInItsEnvelope(doc);

    std::map<std::string, Marker> markers;
    for (const Marker& marker : Markers(doc)) markers[marker.title] = marker;
    ASSERT_EQ(markers.size(), 6u);
    std::vector<double> decades;
    for (const pugi::xpath_node& tick : doc.select_nodes("//*[@class='axis x']/*[@class='tick major']"))
        decades.push_back(tick.node().attribute("x1").as_double());
    ASSERT_GE(decades.size(), 2u);
    const double tenfold = markers["Tenfold (R&D <lab>)"].x - markers["Tom's \"A&B\" <1> (R&D <lab>)"].x;
    EXPECT_NEAR(tenfold, decades[1] - decades[0], 0.02);
    EXPECT_EQ(markers["Tenfold (R&D <lab>)"].y, markers["Tom's \"A&B\" <1> (R&D <lab>)"].y);

    const nlohmann::json data = KxtmatJson({library.string(), "chart", "DENS", "YLD", "--library", "odd"});
    ASSERT_TRUE(data.is_object());
    EXPECT_EQ(data.at("points").size(), 6u);
    const nlohmann::json& leftOut = data.at("left_out");
    ASSERT_EQ(leftOut.size(), 2u);
    EXPECT_EQ(leftOut[0].value("material", "") + ": " + leftOut[0].value("reason", ""), "No yield: no value");
    EXPECT_EQ(leftOut[1].value("material", "") + ": " + leftOut[1].value("reason", ""), "Zero yield: not positive");
}

TEST(KxtmatChart, GivesTheSameBytesEveryTimeAndToAFile) {
    const TempDir folder;
    const std::string file = (folder.Path() / "chart.svg").string();
    const Outcome first = Chart({"EMOD", "Material Cost", "--guide", "1", "--guide", "-0.5"});
    ASSERT_EQ(first.exitCode, 0) << first.err;
    EXPECT_EQ(Chart({"EMOD", "Material Cost", "--guide", "1", "--guide", "-0.5", "--out", file}).out, "");
    EXPECT_EQ(kxt::test::ReadFileBytes(file), first.out);
    EXPECT_EQ(Chart({"EMOD", "Material Cost", "--linear"}).out, Chart({"EMOD", "Material Cost", "--linear"}).out);
}

// Rendered through rsvg-convert, the chart draws many colours on less than 95% white.
TEST(KxtmatChart, RendersToAnImageThatIsNotBlank) {
    if (std::system("command -v rsvg-convert >/dev/null 2>&1") != 0) GTEST_SKIP() << "rsvg-convert is not installed";
    const TempDir folder;
    const fs::path svg = folder.Path() / "chart.svg", png = folder.Path() / "chart.png";
    ASSERT_EQ(Chart({"DENS", "YLD", "--guide", "1", "--out", svg.string()}).exitCode, 0);
    using kxt::test::ShellQuoted;
    ASSERT_EQ(std::system(("rsvg-convert -o " + ShellQuoted(png.string()) + " " + ShellQuoted(svg.string()) + " 2>&1").c_str()), 0);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, png.c_str())) << image.message;
    image.format = PNG_FORMAT_RGB;
    std::vector<unsigned char> pixels(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) << image.message;
    EXPECT_GT(image.width, 600u);
    std::set<std::uint32_t> colours;
    std::size_t white = 0;
    for (std::size_t i = 0; i + 2 < pixels.size(); i += 3) {
        colours.insert(pixels[i] << 16 | pixels[i + 1] << 8 | pixels[i + 2]);
        white += (pixels[i] & pixels[i + 1] & pixels[i + 2]) == 255;
    }
    EXPECT_GT(colours.size(), 100u);
    EXPECT_LT(white, pixels.size() / 3 * 95 / 100);
}

}  // namespace
