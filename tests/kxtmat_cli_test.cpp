// kxtmat run as the user runs it, on the sample installation: its command
// line, exit codes and messages, and the answers each command writes as text
// and as JSON. What the model answers is tested at the manager.
#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "support/kxtmat_run.h"

namespace {

namespace fs = std::filesystem;
using Args = std::vector<std::string>;
using Json = nlohmann::json;
using kxt::test::Kxtmat;
using kxt::test::KxtmatJson;
using kxt::test::Outcome;

const fs::path kSampleData = fs::path(KXTMAT_SOURCE_DIR) / "data" / "sample";

TEST(KxtmatCommandLine, ExitStatusAndOutputFollowTheUsage) {
    // stdout: a fragment it holds, or null when it must be empty. stderr: one
    // line holding the fragment when the exit status is not 0, else empty.
    const struct {
        Args arguments;
        int exitCode;
        const char* out;
        const char* err;
    } cases[] = {
        {{"--version"}, 0, "kxtmat " KXTMAT_VERSION "\n", ""},
        {{"--help"}, 0, "search --library NAME", ""},
        {{"list", "--library=my materials"}, 0, "library: my materials\n", ""},
        {{"--", "show", "AISI 304 Stainless Steel"}, 0, "id: KM0601\n", ""},
        {{"show", "--", "--library"}, 1, nullptr, "no material named '--library'"},
        {{"show", "-"}, 1, nullptr, "no material named '-'"},  // a lone '-' is no option
        {{"show", "Unobtainium"}, 1, nullptr, "no material named 'Unobtainium'"},
        {{"find", "Unobtainium"}, 1, nullptr, "no material named 'Unobtainium'"},
        {{"show", "AISI 304 Stainless Steel", "--library", "my materials"}, 1, nullptr, "in library 'my materials'"},
        {{"default-process", "No Such Class"}, 1, nullptr, "'No Such Class'"},
        {{"supported", "Prototype Resin", "my materials"}, 1, "supported: no\n", "'Prototype Resin'"},
        {{"search", "--library", "korvex materials", "--where", "Material Cost<0"}, 1, nullptr, "meets the criteria"},
        {{"frobnicate"}, 2, nullptr, "unknown command 'frobnicate'"},
        {{"show"}, 2, nullptr, "usage: kxtmat show MATERIAL"},
        {{"show", "X", "--class", "Y"}, 2, nullptr, "unknown option '--class' for 'show'"},
        {{"list", "--library="}, 2, nullptr, "option --library needs a value"},
        {{"--language", "--json"}, 2, nullptr, "option --language needs a value"},
        {{"--json=yes"}, 2, nullptr, "option --json takes no value"},
        {{"--host-version", "70000"}, 2, nullptr, "'70000'"},
        {{"map", "sideways", "Steel", "Bracket Steel"}, 2, nullptr, "'sideways'"},
        {{"search", "--where", "DENS>1"}, 2, nullptr, "needs --library"},
        {{"--install", "/nonexistent/kxtmat"}, 2, nullptr, "'/nonexistent/kxtmat'"},
        {{"/nonexistent/mine.kvxmat"}, 2, nullptr, "'/nonexistent/mine.kvxmat'"},
        {{"--registry", "/nonexistent/favourites.reg"}, 2, nullptr, "'/nonexistent/favourites.reg'"},
        {{"search", "--library", "korvex materials", "--where", "DENS>1", "DENS>"}, 2, nullptr, "expression 'DENS>'"},
        {{"search", "--library", "korvex materials", "--where", ">5"}, 2, nullptr, "expression '>5'"},
        {{"search", "--library", "korvex materials", "--where", "DENS<5<6"}, 2, nullptr, "expression 'DENS<5<6'"},
        {{"search", "--library", "korvex materials", "--where=DENS~1e999"}, 2, nullptr, "expression 'DENS~1e999'"},
        {{"chart", "DENS", "NOPE"}, 2, nullptr, "has the property 'NOPE'"},
        {{"chart", "DENS>3", "YLD"}, 2, nullptr, "not 'DENS>3'"},
        {{"chart", "DENS", "YLD", "--guide", "steep"}, 2, nullptr, "--guide needs a number, not 'steep'"},
        {{"chart", "DENS", "YLD", "--library", "no such library"}, 2, nullptr, "no library named 'no such library'"},
        {{"chart", "DENS", "YLD", "--class", "No Such Class"}, 2, nullptr, "no class named 'No Such Class'"},
        {{"chart", "DENS", "YLD", "--class", "Glasses"}, 1, nullptr, "values for both 'DENS' and 'YLD'"},  // no glass has a yield strength
    };
    for (const auto& [arguments, exitCode, out, err] : cases) {
        const Outcome run = Kxtmat(arguments);
        SCOPED_TRACE(arguments.front() + " " + arguments.back());
        EXPECT_EQ(run.exitCode, exitCode) << run.err;
        if (out == nullptr)
            EXPECT_EQ(run.out, "");
        else
            EXPECT_NE(run.out.find(out), std::string::npos) << run.out;
        if (exitCode == 0) {
            EXPECT_EQ(run.err, "");
        } else {
            EXPECT_EQ(run.err.rfind("kxtmat: ", 0), 0u) << run.err;
            EXPECT_NE(run.err.find(err), std::string::npos) << run.err;
            EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        }
    }
}

TEST(KxtmatJson, EachCommandAnswersItsFields) {
    const struct {
        Args arguments;
        std::vector<std::pair<const char*, Json>> fields;  // JSON pointer, value
    } cases[] = {
        {{"show", "AISI 304 Stainless Steel"},
         {{"/library", "korvex materials"}, {"/database_type", "native"}, {"/class/name", "Stainless Steel"},
          {"/names/gabi", "AISI 304 Stainless Steel"}, {"/id", "KM0601"}, {"/type", "standard"},
          {"/properties/3", {{"abbreviation", "YLD"}, {"name", "Yield Strength"}, {"language_name", "Yield Strength"}, {"value", 2.15e8}}},
          {"/recycled_content/minimum", 0},
          {"/recycled_content/maximum", 90}, {"/recycled_content/editable", true}, {"/cost/per_unit_mass", 3.2},
          {"/cost/mass_unit", "kg"}, {"/link", nullptr}}},
        {{"show", "Fastener Stainless", "--library=my materials"},
         {{"/type", "custom"}, {"/link", {{"library", "korvex din materials"}, {"class", "Stainless Steel"}, {"material", "1.4301"}}}}},
        {{"processes", "Fastener Stainless", "--library", "my materials"},
         {{"/processes_from/material", "1.4301"}, {"/default_process", "Milled"}, {"/processes/0/gabi", "milled_part"}}},
        {{"find", "aisi 304 stainless steel"},
         {{"/matches/0/matched", "native"}, {"/matches/1/material", "1.4301"}, {"/matches/1/matched", "gabi"}}},
        {{"find", "AISI 304 Stainless Steel", "--library", "Korvex DIN Materials"},
         {{"/matches/0/library", "korvex din materials"}, {"/matches/0/database_type", "din"}}},
        {{"--language=french", "find", "Acier inoxydable AISI 304"},
         {{"/matches/0/material", "AISI 304 Stainless Steel"}, {"/matches/0/matched", "language"}}},
        {{"--language", "german", "map", "lang", "Stainless Steel", "AISI 304 Stainless Steel"}, {{"/class", "Edelstahl"}, {"/material", "Edelstahl AISI 304"}}},
        {{"--language", "german", "map", "native", "Edelstahl", "Edelstahl AISI 304"}, {{"/class", "Stainless Steel"}, {"/material", "AISI 304 Stainless Steel"}}},
        {{"gabi", "Stainless Steel", "AISI 304 Stainless Steel", "Milled"}, {{"/class", "Stainless Steel"}, {"/process", "milled_part"}}},
        {{"default-process", "Stainless Steel"}, {{"/default_process", "Milled"}}},
        {{"common", "Steel", "Stainless Steel"},
         {{"/classes", {"Steel", "Stainless Steel"}}, {"/processes", {"Milled", "Turned", "Sheet Metal", "Stamped Sheet"}}}},
        {{"supported", "Bracket Steel", "my materials"}, {{"/supported", true}}},
        {{"sustainable"}, {{"/classes/0/library", "sustainability extras"}}},
        // Each library's counts; the sample registry export's favourites, in its order, under host version 33.
        {{}, {{"/databases/0/materials", 110}, {"/databases/0/classes", 26}, {"/databases/1/materials", 47}, {"/databases/2/classes", 9},
              {"/databases/3/materials", 6}, {"/databases/4", "(absent)"}, {"/favourites/0/material", "AISI 304 Stainless Steel"},
              {"/favourites/2/library", "korvex din materials"}, {"/favourites/4/material", "Housing Aluminium"}}},
        {{"--host-version", "34"}, {{"/favourites", Json::array()}, {"/databases/0/index", 0}}},
#ifndef _WIN32  // Windows reads the registry itself, whatever --registry names
        {{"--registry=" + (kSampleData / "data" / "resources" / "kxterra" / "DINMaterialsMapper.txt").string()},
         {{"/favourites", Json::array()}}},
#endif
        {{"list", "--library", "my materials", "--class", "Stainless Steel"},
         {{"/databases/0/type", "custom"}, {"/databases/0/classes/0/materials/0/name", "Fastener Stainless"}}},
        {{"search", "--library", "korvex materials", "--class", "Plastics", "--where", "Material Cost<3"},
         {{"/class", "Plastics"}, {"/criteria/0", {{"property", "Material Cost"}, {"condition", "less-than"}, {"value", 3}}},
          {"/materials/0/material", "ABS"}}},
        // Every --where word up to the next option is a criterion; the excluded material would be the 20th.
        {{"search", "--library", "korvex materials", "--where", "DENS~8000", "YLD>200000000", "--exclude", "AISI 304 Stainless Steel"},
         {{"/criteria/1/condition", "greater-than"}, {"/materials/0/material", "Plain Carbon Steel"},
          {"/materials/19/material", "AISI 316 Stainless Steel"}, {"/materials/27", "(absent)"}}},
    };
    for (const auto& [arguments, fields] : cases) {
        const Json answer = KxtmatJson(arguments);
        for (const auto& [pointer, expected] : fields) {
            const Json::json_pointer at(pointer);
            EXPECT_EQ(answer.contains(at) ? answer[at] : Json("(absent)"), expected) << (arguments.empty() ? "" : arguments[0]) << " " << pointer;
        }
    }
}

TEST(KxtmatOutput, WritesEscapesNumbersAndNestingAsDocumented) {
    const std::string odd = "Odd \"name\" \\ with\ttab \x01\x7F, \xC3\xA9t\xC3\xA9 and \xF0\x9F\x98\x80";
    const struct {
        Args arguments;
        std::vector<std::string> fragments;
    } cases[] = {
        {{"--json", "supported", odd, "no lib"},
         {"{\n  \"material\": \"Odd \\\"name\\\" \\\\ with\\ttab \\u0001\\u007f, \xC3\xA9t\xC3\xA9 and \xF0\x9F\x98\x80\",\n"
          "  \"library\": \"no lib\",\n  \"supported\": false\n}\n"}},
        // Doubles in their shortest form, integers as integers.
        {{"--json", "show", "AISI 304 Stainless Steel"},
         {"\"density\": 8000,", "\"value\": 2.15e+08\n", "\"value\": 1.73e-05\n", "\"environmental_data\": 1,",
          "\"energy_parameters\": [\n        2.8,\n        0.25\n      ]", "\"link\": null\n}\n"}},
        {{"show", "AISI 304 Stainless Steel"},
         {"library: korvex materials\n", "class:\n  name: Stainless Steel\n", "    energy_parameters: 2.8, 0.25\n",
          "properties:\n  - abbreviation: DENS\n    name: Mass Density\n", "  editable: yes\n", "link: (none)\n"}},
    };
    for (const auto& [arguments, fragments] : cases) {
        const std::string out = Kxtmat(arguments).out;
        for (const std::string& fragment : fragments) EXPECT_NE(out.find(fragment), std::string::npos) << fragment;
    }
}

}  // namespace
