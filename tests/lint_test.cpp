// kxtmat lint as a library author runs it: each finding code on a small file
// that has that fault, at its place, and nothing on the sample installation.
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "support/kxtmat_run.h"
#include "support/temp_dir.h"

namespace {

using kxt::test::Kxtmat;
using kxt::test::Outcome;

// One material library around the text of its one material's body.
std::string Library(const std::string& material, const std::string& more = "") {
    return "<?xml version=\"1.0\"?>\n<materials>\n<classification name=\"Steel\">\n"
           "<material name=\"Lint Steel\" matid=\"L1\">\n" + material + "\n</material>\n" + more +
           "</classification>\n</materials>\n";
}

// Process settings with one material entry around the given text.
std::string Settings(const std::string& entry) {
    return "<ProcessSettings><ScenarioSettings><Grouping Alias=\"Material specific settings\">\n"
           "<Grouping Alias=\"Metals\">\n" + entry + "\n</Grouping></Grouping></ScenarioSettings></ProcessSettings>\n";
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

struct Case {
    const char* file;      // its name decides its kind
    std::string content;
    const char* expected;  // "LINE:COLUMN: SEVERITY: CODE", the only finding
};

// Each file holds one fault: lint finds exactly it, at its place, and exits with 1.
void ExpectOneFinding(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " " + c.expected);
        const kxt::test::TempDir temp;
        const std::string path = temp.Write(c.file, c.content).string();
        const Outcome run = Kxtmat({"lint", path});
        const std::vector<std::string> lines = Lines(run.out);
        ASSERT_EQ(lines.size(), 2u) << run.out << run.err;
        EXPECT_EQ(lines[0].rfind(path + ":" + c.expected + ": ", 0), 0u) << lines[0];
        EXPECT_EQ(lines[1], "1 file checked: " + std::string(std::string_view(c.expected).find("error") != std::string_view::npos ? "1 error, 0 warnings" : "0 errors, 1 warning"));
        EXPECT_EQ(run.exitCode, 1);
    }
}

TEST(LintCodes, DocumentsThatDoNotLoad) {
    ExpectOneFinding({
        {"tags.kvxmat", "<materials>\n <classification name=\"A\">\n</materials>\n", "3:3: error: not-well-formed"},
        {"doctype.kvxmat", "<?xml version=\"1.0\"?>\n<!DOCTYPE materials>\n<materials/>\n", "2:1: error: not-well-formed"},
        {"prefix.kvxmat", Library("<x:custom/>"), "5:2: error: not-well-formed"},
        {"encoding.kvxmat", "<?xml version=\"1.0\" encoding=\"x-klingon\"?>\n<materials/>\n", "1:31: error: unknown-encoding"},
        {"Settings.xml", "<ScenarioSettings>\n<Grouping Alias='x'></ScenarioSettings>", "2:23: error: not-well-formed"},  // at the wrong closing name,
    });
}

TEST(LintCodes, MaterialLibraries) {
    const std::string property = "<physicalproperties>\n<DENS displayname=\"Density\" value=\"7800\"/>\n";
    ExpectOneFinding({
        {"cost.kvxmat", Library("<custom><c name=\"Financial Impact\" value=\"1.5\" units=\"EUR/ton\"/></custom>"),
         "5:9: warning: cost-unreadable"},
        {"amount.kvxmat", Library("<custom>\n<c name=\"financial impact\" value=\"n/a\" units=\"EUR/kg\"/></custom>"),
         "6:1: warning: cost-unreadable"},
        {"number.kvxmat", Library(property + "<EMOD displayname=\"Modulus\" value=\"high\"/></physicalproperties>"),
         "7:1: warning: number-unreadable"},
        {"property.kvxmat", Library(property + "<dens displayname=\"Density\" value=\"1\"/></physicalproperties>"),
         "7:1: warning: duplicate-property"},
        {"name.kvxmat", Library("", "<material name=\"LINT STEEL\" matid=\"L2\"/>\n"), "7:1: warning: duplicate-material"},
        {"Korvex Materials.kvxmat", Library("", "<material name=\"Other\" matid=\"L1\"/>\n"), "7:1: warning: duplicate-material"},
        {"link.kvxmat", Library("<sustainability linkId=\"Nothing\" dbName=\"Sustainability Extras\"/>"),
         "5:1: warning: unresolved-link"},
    });
}

TEST(LintCodes, ProcessSettingsMappingAndFavourites) {
    const std::string steel = "<Grouping Alias=\"Plain Carbon Steel\">\n";
    ExpectOneFinding({
        {"materials process.dat", Settings(steel + "<Parameter Name=\"lasered_part\" Alias=\"Lasered\"/></Grouping>"),
         "4:1: warning: unknown-process"},
        {"materials process.dat", Settings("<Grouping Alias=\"Unobtainium\"/>"), "3:1: warning: unknown-process"},
        {"materials process.dat",
         Settings(steel + "<Parameter Name=\"recycled_cont\" Alias=\"recycled_cont\" MaxValue=\"lots\" MinValue=\"0\"><V v=\"5\"/></Parameter></Grouping>"),
         "4:1: warning: number-unreadable"},
        {"DINMaterialsMapper.txt", "1.0038 KM0501\n1.0038x KM0501\n", "2:1: warning: din-unmatched"},
        {"DINMaterialsMapper.txt", "1.0038 KM0501\n\n1.0116 KM9999\n", "3:8: warning: din-unmatched"},
#ifndef _WIN32  // Windows reads the favourites from the registry, not from an export file
        {"favourites.reg",
         "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Korvex\\Korvex 2025\\Material]\n"
         "\"__NumOfFavs\"=dword:00000001\n\"_FavMaterial1\"=\"korvex materials|Unobtainium\"\n",
         "0:0: warning: favourite-unresolved"},
#endif
    });
}

// The whole installation as kxtmat loads it: clean as shipped; a user folder
// without the user's process settings and a favourite that names nothing are found.
TEST(LintInstallation, TheSampleIsCleanAndMissingUserFilesAreFound) {
    for (const char* language : {"english", "french", "german"}) {
        const Outcome clean = Kxtmat({"lint", "--language", language});
        EXPECT_EQ(clean.exitCode, 0) << clean.out << clean.err;
        EXPECT_TRUE(clean.out.ends_with(" files checked: 0 errors, 0 warnings\n")) << clean.out;
    }

#ifdef _WIN32
    GTEST_SKIP() << "the favourites come from the registry on Windows, not from the export file that --registry names";
#endif
    const kxt::test::TempDir user;
    const std::filesystem::path extras = std::filesystem::path(KXTMAT_SOURCE_DIR) / "data/sample/user/Sustainability Extras.kvxmat";
    user.Write("Sustainability Extras.kvxmat", kxt::test::ReadFileBytes(extras));
    const std::string registry =
        user.Write("favourites.reg",
                   "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Korvex\\Korvex 2025\\Material]\n\"__NumOfFavs\"=dword:1\n"
                   "\"_FavMaterial1\"=\"my materials|Gone\"\n").string();
    const nlohmann::json found =
        kxt::test::KxtmatJson({"lint", "--user-data", user.Path().string(), "--registry", registry}, 1);
    std::vector<std::string> codes;
    for (const auto& finding : found["findings"]) codes.push_back(finding["code"].get<std::string>() + " " + finding["file"].get<std::string>());
    const std::string folder = user.Path().string() + "/";
    EXPECT_EQ(codes, (std::vector<std::string>{"favourite-unresolved " + registry,
                                               "missing-file " + folder + "materials process.dat"}));
    EXPECT_EQ(found["warnings"], 2);
    EXPECT_EQ(found["errors"], 0);
    EXPECT_EQ(found["findings"][0]["material"], "Gone");
    EXPECT_EQ(found["findings"][0]["class"], nullptr);
}

TEST(LintCommandLine, UnreadablePathsAreUsageErrors) {
    const Outcome missing = Kxtmat({"lint", "/nonexistent/x.kvxmat"});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_NE(missing.err.find("'/nonexistent/x.kvxmat'"), std::string::npos);
    const kxt::test::TempDir temp;
    const Outcome folder = Kxtmat({"lint", temp.Path().string()});
    EXPECT_EQ(folder.exitCode, 2);
    const std::string other = temp.Write("notes.txt", "plain text").string();
#ifdef _WIN32
    // The favourites come from the registry itself: an export file is refused, not checked against it.
    EXPECT_EQ(Kxtmat({"lint", temp.Write("favourites.reg", "REGEDIT4\n").string()}).exitCode, 2);
#endif
    const Outcome unknown = Kxtmat({"lint", other});
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_NE(unknown.out.find(other + ":0:0: warning: unknown-kind: "), std::string::npos) << unknown.out;
}

}  // namespace
