// kxtmat run as the user runs it, on the sample installation: its JSON answers
// are checked against the sample data files themselves, and its exit codes
// and messages against what the usage promises.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include "support/json_reader.h"
#include "support/kxtmat_run.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using kxt::test::JsonValue;
using kxt::test::Kxtmat;
using kxt::test::Outcome;
using kxt::test::ParseJson;
using kxt::test::TempDir;

const fs::path kSampleData = fs::path(KXTMAT_SOURCE_DIR) / "data" / "sample";

fs::path Library(const char* language, const char* file) {
    return kSampleData / "lang" / language / "kvxmaterials" / file;
}

// Runs kxtmat with --json and the arguments; the answer must parse.
JsonValue KxtmatJson(std::vector<std::string> arguments, int expectedExit = 0) {
    arguments.insert(arguments.begin(), "--json");
    const Outcome run = Kxtmat(arguments);
    EXPECT_EQ(run.exitCode, expectedExit) << run.err;
    std::string error;
    std::optional<JsonValue> json = ParseJson(run.out, &error);
    EXPECT_TRUE(json.has_value()) << error << "\n" << run.out;
    return json.value_or(JsonValue());
}

std::size_t CountNodes(const fs::path& library, const char* xpath) {
    pugi::xml_document doc;
    EXPECT_TRUE(doc.load_file(library.c_str())) << library;
    return doc.select_nodes(xpath).size();
}

std::vector<std::string> Strings(const JsonValue& array, const char* field) {
    std::vector<std::string> values;
    for (const JsonValue& item : array.Items()) values.push_back(item[field].AsString());
    return values;
}

// ---------------------------------------------------------------- the test's JSON reader

TEST(JsonReader, DecodesEscapesAndSurrogatePairsToUtf8) {
    const auto json = ParseJson(R"( {"a": ["x\"\\\/\t\u00e9\ud83d\ude00", -1.5e2, true, null], "b": {}} )");
    ASSERT_TRUE(json.has_value());
    EXPECT_EQ((*json)["a"][0].AsString(), "x\"\\/\t\xC3\xA9\xF0\x9F\x98\x80");
    EXPECT_EQ((*json)["a"][1].AsNumber(), -150.0);
    EXPECT_TRUE((*json)["a"][2].AsBool());
    EXPECT_TRUE((*json)["a"][3].IsNull());
    EXPECT_EQ((*json)["b"].type(), JsonValue::Type::kObject);
    EXPECT_TRUE((*json)["missing"][7]["deeper"].IsNull());
}

TEST(JsonReader, RejectsMalformedText) {
    for (const char* text : {"", "{", "[1,]", "{\"a\" 1}", "\"\\ud800\"", "01", "1.", "\"tab\there\"", "[1] 2",
                             "tru", "{\"a\":1,}"}) {
        EXPECT_FALSE(ParseJson(text).has_value()) << text;
    }
    EXPECT_FALSE(ParseJson(std::string(600, '[') + std::string(600, ']')).has_value());
}

// ---------------------------------------------------------------- summary

TEST(KxtmatSummary, ListsEveryDatabaseWithTheCountsOfItsLibraryFile) {
    const JsonValue summary = KxtmatJson({"summary"});
    const JsonValue& databases = summary["databases"];
    ASSERT_EQ(databases.size(), 4u);

    struct Expected {
        const char* type;
        const char* library;
        fs::path file;
    };
    // In English the language folder's copy of the extras library is dropped
    // from the list: the user's copy stands for it.
    const Expected expected[] = {
        {"native", "korvex materials", Library("english", "Korvex Materials.kvxmat")},
        {"din", "korvex din materials", Library("english", "Korvex din Materials.kvxmat")},
        {"sustainability-extras", "sustainability extras", kSampleData / "user" / "Sustainability Extras.kvxmat"},
        {"custom", "my materials", kSampleData / "user" / "My Materials.kvxmat"},
    };
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(expected[i].library);
        const JsonValue& db = databases[i];
        EXPECT_EQ(db["index"].AsNumber(), i);
        EXPECT_EQ(db["type"].AsString(), expected[i].type);
        EXPECT_EQ(db["library"].AsString(), expected[i].library);
        EXPECT_EQ(db["materials"].AsNumber(), CountNodes(expected[i].file, "//classification/material"));
        EXPECT_EQ(db["classes"].AsNumber(), CountNodes(expected[i].file, "//classification"));
    }
}

TEST(KxtmatSummary, ListsTheRegistryFavouritesInRegistryOrder) {
    // "_FavMaterialN"="library|material" lines of the sample registry export.
    const std::regex favourite(R"re("_FavMaterial\d+"="([^|"]*)\|([^"]*)")re");
    const std::string registry = kxt::test::ReadFileBytes(kSampleData / "registry.reg");
    std::vector<std::string> expected;
    for (std::sregex_iterator it(registry.begin(), registry.end(), favourite), end; it != end; ++it)
        expected.push_back((*it)[1].str() + "|" + (*it)[2].str());
    ASSERT_FALSE(expected.empty());

    const JsonValue summary = KxtmatJson({});  // summary is the default command
    std::vector<std::string> listed;
    for (const JsonValue& item : summary["favourites"].Items())
        listed.push_back(item["library"].AsString() + "|" + item["material"].AsString());
    EXPECT_EQ(listed, expected);
}

TEST(KxtmatSummary, ReadsFavouritesFromTheRegistryFileAndHostVersionGiven) {
    const TempDir folder;
    const fs::path registry = folder.Write("favourites.reg",
                                           "Windows Registry Editor Version 5.00\r\n\r\n"
                                           "[HKEY_CURRENT_USER\\Software\\Korvex\\Korvex 1992\\Material]\r\n"
                                           "\"__NumOfFavs\"=dword:00000001\r\n"
                                           "\"_FavMaterial1\"=\"korvex din materials|1.4301\"\r\n");
    const JsonValue summary = KxtmatJson({"--registry", registry.string(), "--host-version", "0"});
    ASSERT_EQ(summary["favourites"].size(), 1u);
    EXPECT_EQ(summary["favourites"][0]["library"].AsString(), "korvex din materials");
    EXPECT_EQ(summary["favourites"][0]["material"].AsString(), "1.4301");

    // The sample's key is for host version 33: another version finds no favourites.
    EXPECT_EQ(KxtmatJson({"--host-version", "34"})["favourites"].size(), 0u);
}

TEST(KxtmatSummary, TextOutputNamesEveryLibrary) {
    const Outcome run = Kxtmat({});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    for (const char* library : {"korvex materials", "korvex din materials", "sustainability extras", "my materials"})
        EXPECT_NE(run.out.find(std::string("library: ") + library), std::string::npos) << library;
}

// ---------------------------------------------------------------- materials

TEST(KxtmatShow, GivesEveryFieldOfAStandardMaterial) {
    const JsonValue material = KxtmatJson({"show", "AISI 304 Stainless Steel"});
    EXPECT_EQ(material["library"].AsString(), "korvex materials");
    EXPECT_EQ(material["class"]["name"].AsString(), "Stainless Steel");
    EXPECT_EQ(material["names"]["native"].AsString(), "AISI 304 Stainless Steel");
    EXPECT_EQ(material["id"].AsString(), "KM0601");
    EXPECT_EQ(material["density"].AsNumber(), 8000.0);
    EXPECT_EQ(material["properties"].size(), 8u);
    EXPECT_EQ(material["properties"][0]["abbreviation"].AsString(), "DENS");
    EXPECT_EQ(material["cost"]["per_unit_mass"].AsNumber(), 3.2);
    EXPECT_EQ(material["cost"]["currency"].AsString(), "USD");
    EXPECT_TRUE(material["cost"]["defined"].AsBool());
    // From the process settings: recycled content 60 within 0..90, five processes.
    EXPECT_EQ(material["recycled_content"]["amount"].AsNumber(), 60.0);
    EXPECT_EQ(material["recycled_content"]["minimum"].AsNumber(), 0.0);
    EXPECT_EQ(material["recycled_content"]["maximum"].AsNumber(), 90.0);
    EXPECT_EQ(Strings(material["processes"], "gabi"),
              (std::vector<std::string>{"milled_part", "turned_part", "sheet_part", "stamped_sheet", "wire"}));
    const JsonValue& milled = material["processes"][0];
    EXPECT_EQ(milled["native"].AsString(), "Milled");
    ASSERT_EQ(milled["energy_parameters"].size(), 2u);
    EXPECT_EQ(milled["energy_parameters"][0].AsNumber(), 2.8);
    EXPECT_EQ(milled["energy_parameters"][1].AsNumber(), 0.25);
    EXPECT_TRUE(material["link"].IsNull());
}

TEST(KxtmatShow, DinMaterialTakesProcessesFromItsPartner) {
    // The mapping file pairs 1.4301 with KM0601, AISI 304 Stainless Steel.
    ASSERT_NE(kxt::test::ReadFileBytes(kSampleData / "data" / "resources" / "kxterra" / "DINMaterialsMapper.txt").find("1.4301 KM0601"),
              std::string::npos);
    const JsonValue din = KxtmatJson({"show", "1.4301", "--library", "korvex din materials"});
    const JsonValue partner = KxtmatJson({"show", "AISI 304 Stainless Steel"});
    EXPECT_EQ(din["library"].AsString(), "korvex din materials");
    EXPECT_EQ(din["database_type"].AsString(), "din");
    ASSERT_GT(partner["processes"].size(), 0u);
    EXPECT_EQ(Strings(din["processes"], "gabi"), Strings(partner["processes"], "gabi"));
    EXPECT_EQ(din["processes"][0]["energy_parameters"][0].AsNumber(),
              partner["processes"][0]["energy_parameters"][0].AsNumber());
    EXPECT_EQ(din["recycled_content"]["amount"].AsNumber(), partner["recycled_content"]["amount"].AsNumber());
}

TEST(KxtmatShow, CustomMaterialReportsItsLinkAndLendsItsProcesses) {
    const JsonValue material = KxtmatJson({"show", "Fastener Stainless", "--library", "my materials"});
    EXPECT_EQ(material["database_type"].AsString(), "custom");
    EXPECT_EQ(material["link"]["library"].AsString(), "korvex din materials");
    EXPECT_EQ(material["link"]["material"].AsString(), "1.4301");

    const JsonValue processes = KxtmatJson({"processes", "Fastener Stainless", "--library", "my materials"});
    EXPECT_EQ(processes["processes_from"]["material"].AsString(), "1.4301");
    EXPECT_FALSE(processes["default_process"].AsString().empty());
    const std::vector<std::string> natives = Strings(processes["processes"], "native");
    EXPECT_NE(std::find(natives.begin(), natives.end(), processes["default_process"].AsString()), natives.end());
}

TEST(KxtmatShow, UnknownMaterialExitsWithOneAndNamesIt) {
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"show", "Unobtainium"}, {"find", "Unobtainium"}, {"processes", "Unobtainium"},
          {"show", "AISI 304 Stainless Steel", "--library", "my materials"}}) {
        const Outcome run = Kxtmat(arguments);
        EXPECT_EQ(run.exitCode, 1) << arguments[0];
        EXPECT_TRUE(run.out.empty()) << run.out;
        EXPECT_NE(run.err.find("no material named '"), std::string::npos) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }
}

TEST(KxtmatFind, SaysWhichDatabasesHoldANameAndUnderWhichVocabulary) {
    // The DIN partner 1.4301 carries the standard material's name as its GaBi name.
    const JsonValue found = KxtmatJson({"find", "aisi 304 stainless steel"});
    ASSERT_EQ(found["matches"].size(), 2u);
    EXPECT_EQ(found["matches"][0]["library"].AsString(), "korvex materials");
    EXPECT_EQ(found["matches"][0]["class"]["name"].AsString(), "Stainless Steel");
    EXPECT_EQ(found["matches"][0]["material"].AsString(), "AISI 304 Stainless Steel");
    EXPECT_EQ(found["matches"][0]["matched"].AsString(), "native");
    EXPECT_EQ(found["matches"][1]["library"].AsString(), "korvex din materials");
    EXPECT_EQ(found["matches"][1]["material"].AsString(), "1.4301");
    EXPECT_EQ(found["matches"][1]["matched"].AsString(), "gabi");

    const JsonValue onlyDin = KxtmatJson({"find", "AISI 304 Stainless Steel", "--library", "Korvex DIN Materials"});
    ASSERT_EQ(onlyDin["matches"].size(), 1u);
    EXPECT_EQ(onlyDin["matches"][0]["material"].AsString(), "1.4301");
}

TEST(KxtmatSupported, AnswersForLinkedAndUnlinkedCustomMaterials) {
    EXPECT_TRUE(KxtmatJson({"supported", "Bracket Steel", "my materials"})["supported"].AsBool());
    const Outcome unlinked = Kxtmat({"supported", "Prototype Resin", "my materials"});
    EXPECT_EQ(unlinked.exitCode, 1);
    EXPECT_NE(unlinked.err.find("'Prototype Resin'"), std::string::npos) << unlinked.err;
}

// ---------------------------------------------------------------- search

// Names of the sample's standard materials whose property satisfies `keep`, read from the library file.
template <class Keep>
std::set<std::string> StandardMaterialsWhere(const char* abbreviation, Keep keep) {
    pugi::xml_document doc;
    EXPECT_TRUE(doc.load_file(Library("english", "Korvex Materials.kvxmat").c_str()));
    std::set<std::string> names;
    for (const pugi::xpath_node& node : doc.select_nodes("//classification/material")) {
        const pugi::xml_node property = node.node().child("physicalproperties").child(abbreviation);
        if (property && keep(property.attribute("value").as_double())) names.insert(node.node().attribute("name").value());
    }
    return names;
}

TEST(KxtmatSearch, FindsExactlyTheMaterialsWithinTheCriteria) {
    const JsonValue found =
        KxtmatJson({"search", "--library", "korvex materials", "--where", "DENS~8000", "YLD>200000000"});
    std::set<std::string> names;
    for (const JsonValue& material : found["materials"].Items()) names.insert(material["material"].AsString());

    const auto nearDensity = StandardMaterialsWhere("DENS", [](double v) { return std::abs(v - 8000) / 8000 <= 0.05; });
    const auto strong = StandardMaterialsWhere("YLD", [](double v) { return v > 200000000; });
    std::set<std::string> expected;
    std::set_intersection(nearDensity.begin(), nearDensity.end(), strong.begin(), strong.end(),
                          std::inserter(expected, expected.end()));
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(names, expected);
    EXPECT_EQ(found["criteria"][0]["condition"].AsString(), "approximately");
}

TEST(KxtmatSearch, HonoursClassExclusionAndTheCostCriterion) {
    const JsonValue found = KxtmatJson({"search", "--library", "korvex materials", "--class", "Stainless Steel",
                                        "--where", "Material Cost<100", "--exclude", "AISI 304 Stainless Steel"});
    ASSERT_GT(found["materials"].size(), 0u);
    for (const JsonValue& material : found["materials"].Items()) {
        EXPECT_EQ(material["class"].AsString(), "Stainless Steel");
        EXPECT_NE(material["material"].AsString(), "AISI 304 Stainless Steel");
    }
    EXPECT_EQ(Kxtmat({"search", "--library", "korvex materials", "--where", "Material Cost<0"}).exitCode, 1);
}

TEST(KxtmatUsage, MalformedSearchExpressionsAreUsageErrorsNamingTheExpression) {
    for (const char* expression : {"DENS>", ">5", "DENS>abc", "DENS<5<6", "DENS~1e999", "  "}) {
        const Outcome run = Kxtmat({"search", "--library", "korvex materials", "--where", "DENS>1", expression});
        EXPECT_EQ(run.exitCode, 2) << expression;
        EXPECT_NE(run.err.find(std::string("malformed search expression '") + expression + "'"), std::string::npos)
            << run.err;
        EXPECT_TRUE(run.out.empty());
    }
}

TEST(KxtmatUsage, BadWordsAndUnreadableInputExitWithTwo) {
    const struct {
        std::vector<std::string> arguments;
        const char* named;
    } cases[] = {
        {{"frobnicate"}, "'frobnicate'"},
        {{"show"}, "usage: kxtmat show MATERIAL"},
        {{"show", "X", "--class", "Y"}, "'--class'"},
        {{"list", "--library"}, "--library needs a value"},
        {{"--host-version", "70000"}, "'70000'"},
        {{"map", "sideways", "Steel", "Bracket Steel"}, "'sideways'"},
        {{"search", "--where", "DENS>1"}, "--library"},
        {{"--install", "/nonexistent/kxtmat"}, "'/nonexistent/kxtmat'"},
        {{"/nonexistent/mine.kvxmat"}, "'/nonexistent/mine.kvxmat'"},
        {{"--registry", "/nonexistent/favourites.reg"}, "'/nonexistent/favourites.reg'"},
    };
    for (const auto& [arguments, named] : cases) {
        const Outcome run = Kxtmat(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments[0];
        EXPECT_NE(run.err.find(named), std::string::npos) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }
    const Outcome help = Kxtmat({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("search --library NAME"), std::string::npos);
}

// ---------------------------------------------------------------- names and processes

TEST(KxtmatNames, MapsToGabiNames) {
    const JsonValue mapped = KxtmatJson({"gabi", "Stainless Steel", "AISI 304 Stainless Steel", "Milled"});
    EXPECT_EQ(mapped["class"].AsString(), "Stainless Steel");
    EXPECT_EQ(mapped["process"].AsString(), "milled_part");
}

TEST(KxtmatProcesses, ClassesShareTheirCommonProcesses) {
    const JsonValue common = KxtmatJson({"common", "Stainless Steel", "Stainless Steel"});
    const JsonValue material = KxtmatJson({"show", "AISI 304 Stainless Steel"});
    EXPECT_EQ(Strings(material["processes"], "language").size(), common["processes"].size());
    const JsonValue byClass = KxtmatJson({"default-process", "Stainless Steel"});
    EXPECT_EQ(byClass["class"].AsString(), "Stainless Steel");
    EXPECT_EQ(byClass["default_process"].AsString(), "Milled");
    EXPECT_EQ(Kxtmat({"default-process", "No Such Class"}).exitCode, 1);
}

TEST(KxtmatOutput, JsonEscapesQuotesControlCharactersAndKeepsUnicode) {
    const std::string name = "Odd \"name\" \\ with\ttab, \xC3\xA9t\xC3\xA9 and \xF0\x9F\x98\x80";
    const JsonValue answer = KxtmatJson({"supported", name, "no such library"}, 1);
    EXPECT_EQ(answer["material"].AsString(), name);
    EXPECT_FALSE(answer["supported"].AsBool());
}

// ---------------------------------------------------------------- languages

TEST(KxtmatLanguages, FrenchAndGermanRunsAnswerWithTranslatedClassNames) {
    const struct {
        const char* language;
        const char* stainless;
    } cases[] = {{"french", "Acier inoxydable"}, {"german", "Edelstahl"}};
    for (const auto& [language, stainless] : cases) {
        SCOPED_TRACE(language);
        const JsonValue material = KxtmatJson({"--language", language, "show", "AISI 304 Stainless Steel"});
        EXPECT_EQ(material["class"]["name"].AsString(), "Stainless Steel");
        EXPECT_EQ(material["class"]["language_name"].AsString(), stainless);
        EXPECT_NE(material["names"]["language"].AsString(), material["names"]["native"].AsString());

        const JsonValue mapped = KxtmatJson({"--language", language, "map", "lang", "Stainless Steel",
                                             "AISI 304 Stainless Steel"});
        EXPECT_EQ(mapped["class"].AsString(), stainless);
        EXPECT_EQ(mapped["material"].AsString(), material["names"]["language"].AsString());
        const JsonValue back = KxtmatJson({"--language", language, "map", "native", mapped["class"].AsString(),
                                           mapped["material"].AsString()});
        EXPECT_EQ(back["class"].AsString(), "Stainless Steel");
        EXPECT_EQ(back["material"].AsString(), "AISI 304 Stainless Steel");

        const JsonValue found = KxtmatJson({"--language", language, "find", material["names"]["language"].AsString()});
        EXPECT_EQ(found["matches"][0]["matched"].AsString(), "language");
    }
}

}  // namespace
