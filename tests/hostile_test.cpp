// Hostile inputs, each loaded by a manager of the small installation in a child process: the load ends
// within its time limit, holds what the loading rules say, and peaks at no more than a few times the
// hostile file's size above the child's start, plus the model that the load keeps.
#include <gtest/gtest.h>

#ifdef __linux__
#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "hardening_support.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

// One hostile file and what a load with it must hold. The file is the registry export when named
// "hostile.reg", the user's process settings when named "materials process.dat", else the custom library.
struct HostileCase {
    const char* name; std::string file;
    std::function<void(std::ostream&)> write;  // null: the file does not exist
    std::function<bool(kxtMaterialDBsManager&, const kxtMaterialDB* custom)> holds;  // custom: null unless the custom library has classes
    long fileSizes = 4;  // the peak's bound; tiny elements or registry text held as UTF-16 take more
};
void PrintTo(const HostileCase& c, std::ostream* out) { *out << c.name; }
constexpr unsigned kSeconds = 30;

std::string MaterialXml(const std::string& name) { return "<material name=\"" + name + "\"><physicalproperties><DENS displayname=\"Mass Density\" value=\"7850\"/></physicalproperties></material>"; }

// before, open 100000 times, close as often, after.
void Nested(std::ostream& out, const char* before, const char* open, const char* close, const char* after) {
    out << before;
    for (int i = 0; i < 200000; ++i) out << (i < 100000 ? open : close);
    out << after;
}

bool NoClasses(kxtMaterialDBsManager&, const kxtMaterialDB* custom) { return custom == nullptr; }

const HostileCase kCases[] = {
    {"ExternalDtdIsNeverFetched", "external.kvxmat",  // evil.dtd declares &secret; as secret.txt
     [](std::ostream& out) { out << "<!DOCTYPE materials SYSTEM \"evil.dtd\"><materials><classification name=\"Steel\">" << MaterialXml("&secret;") << "</classification></materials>"; }, NoClasses},
    {"HundredThousandNestedClassificationsAreEachAClass", "nested.kvxmat", [](std::ostream& out) {
         out << "<materials>";
         for (int i = 0; i < 100000; ++i) out << "<classification name=\"c" << i << "\"><material name=\"m" << i << "\"/>";
         for (int i = 0; i < 100000; ++i) out << "</classification>";
         out << "</materials>";
     }, [](kxtMaterialDBsManager&, const kxtMaterialDB* custom) { return custom != nullptr && custom->GetGroupCount() == 100000 && custom->GetMaterialClass(99999)->GetMaterial(0u)->GetName() == u"m99999"; }},
    {"DeepElementsInsideAMaterialAreSkipped", "deep.kvxmat", [](std::ostream& out) {
         Nested(out, "<materials><classification name=\"Steel\"><material name=\"M\"><physicalproperties><DENS displayname=\"Mass Density\" value=\"7850\">", "<x a=\"1\">", "</x>", "</DENS></physicalproperties><custom>");
         Nested(out, "", "<x a=\"1\">", "</x>", "</custom></material></classification></materials>");
     }, [](kxtMaterialDBsManager&, const kxtMaterialDB* custom) { return custom != nullptr && custom->GetMaterialClass(0)->GetMaterial(0u)->GetProperty(u"DENS").GetValue() == 7850.0; }, 8},
    {"DeepGroupingsInUserProcessSettingsAreSkipped", "materials process.dat", [](std::ostream& out) {
         Nested(out, "<ProcessSettings><ScenarioSettings><Grouping Alias=\"Material specific settings\">", "<Grouping Alias=\"g\">", "</Grouping>", "</Grouping></ScenarioSettings></ProcessSettings>");
     }, [](kxtMaterialDBsManager& manager, const kxtMaterialDB*) { return !manager.GetKxNativeDB()->GetAllProcessTypes().empty(); }},
    // Values of a megabyte, and a favourite count of 2^31 - 1 that the last value matches.
    {"HugeRegistryValuesAreNoFavourites", "hostile.reg", [](std::ostream& out) {
         const std::string huge(1 << 20, 'x');
         out << "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Korvex\\Korvex 2025\\Material]\n"
             << "\"__NumOfFavs\"=dword:7fffffff\n\"_FavMaterial2147483647\"=\"korvex materials|x\"\n\"_FavMaterial1\"=\"korvex materials|"
             << huge << "\"\n\"_FavMaterial3\"=\"" << huge << "|" << huge << "\"\n\"_FavMaterial2\"=hex(2):41,00";
         for (int i = 1; i < (1 << 19); ++i) out << ",41,00";
     }, [](kxtMaterialDBsManager& manager, const kxtMaterialDB*) { return manager.GetFavoritesMaterials().empty(); }, 8},
    // Beyond the host's 260-character path buffers a custom library loads; a name or path beyond the file system's is missing.
    {"CustomLibraryBeyondTheHostsPathBufferLoads", std::string(200, 'd') + "/" + std::string(200, 'd') + "/Deep.kvxmat",
     [](std::ostream& out) { out << "<materials><classification name=\"Deep\">" << MaterialXml("Deep") << "</classification></materials>"; },
     [](kxtMaterialDBsManager&, const kxtMaterialDB* custom) { return custom != nullptr && custom->GetGroupCount() == 1; }},
    {"NameBeyondTheFileSystemsIsMissing", std::string(300, 'n') + ".kvxmat", nullptr, NoClasses},
    {"PathBeyondTheFileSystemsIsMissing", std::string(8000, '/'), nullptr, NoClasses},
};

// Loads the small installation with the case's file in its place.
bool LoadHolds(kxtMaterialDBsManager& manager, const HostileCase& hostile, const fs::path& file) {
    kxt::test::SetUpAsHost(manager);
    std::vector<std::u16string> files = kxt::test::SmallHostList();
    if (file.filename() == "hostile.reg") kxt::test::UseRegistryFile(file);
    else if (file.filename() == "materials process.dat") manager.SetProgDataSustainabilityPath(kxt::test::ModulePath(file.parent_path()));
    else files.back() = kxt::test::ModulePath(file);
    manager.UpdateMaterials(files, 0);
    const kxtMaterialDB* custom = nullptr;
    for (const kxtMaterialDB& db : manager.GetCustomDBs()) custom = db.GetPath() == files.back() && db.GetGroupCount() > 0 ? &db : custom;
    return hostile.holds(manager, custom) && kxt::test::HoldsOnlyLiveObjects(manager);
}

#ifdef __linux__
// A "VmRSS:" or "VmHWM:" figure of this process, in kB.
long StatusKb(const std::string& field) {
    std::ifstream status("/proc/self/status");
    for (std::string word; status >> word;)
        if (word == field && status >> word) return std::stol(word);
    return -1;
}
#endif

class HostileInputTest : public ::testing::TestWithParam<HostileCase> {
protected:
    // One load before any is measured: what a first load sets up for good (modules, text conversion) is no part of a load's cost.
    static void SetUpTestSuite() { LoadHolds(*std::make_unique<kxtMaterialDBsManager>(), kCases[0], "missing.kvxmat"); }
    kxt::test::TempDir temp_;
};

TEST_P(HostileInputTest, LoadsWithinBoundedTimeAndMemoryAsTheRulesSay) {
    const HostileCase& hostile = GetParam();
    temp_.Write("secret.txt", "SECRET");
    temp_.Write("evil.dtd", "<!ENTITY secret SYSTEM \"secret.txt\">\n");
    const fs::path file = temp_.Path().string() + "/" + hostile.file, report = temp_.Path() / "report";
    if (hostile.write) {
        fs::create_directories(file.parent_path());
        std::ofstream out(file, std::ios::binary);
        hostile.write(out);
    }
#ifndef __linux__
    // Without fork and /proc the load runs here, bounded by the test's time limit; its memory is not measured.
    kxtMaterialDBsManager manager;
    EXPECT_TRUE(LoadHolds(manager, hostile, file)) << "the load does not hold what the rules say";
#else
    const pid_t pid = ::fork();
    if (pid == 0) {  // the child's peak resident size is the load's own
        ::alarm(kSeconds);
        ::malloc_trim(0);
        std::ofstream("/proc/self/clear_refs") << "5";  // resets the peak, which the child inherits
        const long start = StatusKb("VmRSS:");
        kxtMaterialDBsManager manager;  // kept while the child measures what the load keeps
        const bool holds = LoadHolds(manager, hostile, file);
        ::malloc_trim(0);
        std::ofstream(report) << StatusKb("VmHWM:") - start << ' ' << StatusKb("VmRSS:") - start;
        ::_exit(holds ? 0 : 1);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << "the load crashed or ran beyond " << kSeconds << " s";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the load does not hold what the rules say";
    long peakKb = -1, keptKb = 0;
    std::ifstream(report) >> peakKb >> keptKb;
    std::error_code missing;
    const long fileKb = static_cast<long>(fs::file_size(file, missing) / 1024);
    EXPECT_TRUE(peakKb >= 0 && peakKb <= hostile.fileSizes * fileKb + keptKb + 4096) << "peak " << peakKb << " kB, file " << fileKb << " kB, kept " << keptKb << " kB";
#endif
}

INSTANTIATE_TEST_SUITE_P(HostileInputs, HostileInputTest, ::testing::ValuesIn(kCases), [](const auto& info) { return std::string(info.param.name); });

}  // namespace
