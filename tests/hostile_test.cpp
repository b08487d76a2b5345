// Hostile inputs, each loaded by a manager of the small installation in a
// child process: the load ends within its time limit, holds what the loading
// rules say, and peaks at no more than a few times the hostile file's size
// above the child's start, plus the model that the load keeps.
#include <gtest/gtest.h>

#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include <kxtmat/kxtmat.h>

#include "hardening_support.h"
#include "platform/text.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

struct HostileCase {
    const char* name;
    // Where the hostile file goes in the test's folder: "hostile.reg" is the
    // registry export, "materials process.dat" the user's process settings,
    // any other name the custom library.
    std::string file;
    std::function<void(std::ostream&)> write;  // null: the file does not exist
    // custom: the custom library's database when it has classes, else null.
    std::function<bool(kxtMaterialDBsManager&, const kxtMaterialDB* custom)> holds;
    long fileSizes = 4;  // the peak's bound; a DOM of tiny elements or registry text held as UTF-16 takes more
    unsigned seconds = 30;  // a case given more runs only with the label slow
};
void PrintTo(const HostileCase& c, std::ostream* out) { *out << c.name; }

std::string MaterialXml(const std::string& name) {
    return "<material name=\"" + name + "\" matid=\"\" envdata=\"0\"><physicalproperties><DENS displayname=\"Mass Density\" "
           "value=\"7850\"/><YLD displayname=\"Yield Strength\" value=\"3e8\"/></physicalproperties><custom><entry "
           "name=\"Financial Impact\" value=\"0.95\" units=\"USD/kg\"/></custom><sustainability linkId=\"KM0101\" "
           "dbName=\"korvex materials\"/></material>\n";
}

void Nested(std::ostream& out, const std::string& open, const std::string& close) {
    for (int i = 0; i < 100000; ++i) out << open;
    for (int i = 0; i < 100000; ++i) out << close;
}

const auto kNoClasses = [](kxtMaterialDBsManager&, const kxtMaterialDB* custom) { return custom == nullptr; };
const auto kNoFavourites = [](kxtMaterialDBsManager& manager, const kxtMaterialDB*) { return manager.GetFavoritesMaterials().empty(); };
const std::string kRegistryKey = "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Korvex\\Korvex 2025\\Material]\n";

const HostileCase kCases[] = {
    {"BillionLaughs", "laughs.kvxmat",
     [](std::ostream& out) {
         out << "<?xml version=\"1.0\"?>\n<!DOCTYPE materials [\n<!ENTITY lol0 \"lol\">\n";
         for (int level = 1; level <= 12; ++level) {
             out << "<!ENTITY lol" << level << " \"";
             for (int i = 0; i < 10; ++i) out << "&lol" << level - 1 << ";";
             out << "\">\n";
         }
         out << "]>\n<materials><classification name=\"&lol12;\">" << MaterialXml("&lol12;") << "</classification></materials>\n";
     },
     kNoClasses},
    // evil.dtd declares the entity as the content of secret.txt.
    {"ExternalDtdIsNeverFetched", "external.kvxmat",
     [](std::ostream& out) {
         out << "<!DOCTYPE materials SYSTEM \"evil.dtd\"><materials><classification name=\"Steel\">" << MaterialXml("&secret;")
             << "</classification></materials>";
     },
     kNoClasses},
    {"HundredThousandNestedClassificationsAreEachAClass", "nested.kvxmat",
     [](std::ostream& out) {
         out << "<materials>";
         for (int i = 0; i < 100000; ++i) out << "<classification name=\"c" << i << "\"><material name=\"m" << i << "\"/>";
         for (int i = 0; i < 100000; ++i) out << "</classification>";
         out << "</materials>";
     },
     [](kxtMaterialDBsManager&, const kxtMaterialDB* custom) {
         return custom != nullptr && custom->GetGroupCount() == 100000 && custom->GetMaterialClass(0)->GetName() == u"c0" &&
                custom->GetMaterialClass(99999)->GetMaterialCount() == 1 &&
                custom->GetMaterialClass(99999)->GetMaterial(0u)->GetName() == u"m99999";
     }},
    {"DeepElementsInsideAMaterialAreSkipped", "deep.kvxmat",
     [](std::ostream& out) {
         out << "<materials><classification name=\"Steel\"><material name=\"M\"><physicalproperties>"
                "<DENS displayname=\"Mass Density\" value=\"7850\">";
         Nested(out, "<x a=\"1\">", "</x>");
         out << "</DENS></physicalproperties><custom>";
         Nested(out, "<x a=\"1\">", "</x>");
         out << "</custom></material></classification></materials>";
     },
     [](kxtMaterialDBsManager&, const kxtMaterialDB* custom) {
         return custom != nullptr && custom->GetMaterialClass(0)->GetMaterial(0u)->GetProperty(u"DENS").GetValue() == 7850.0;
     },
     8},
    {"DeepGroupingsInUserProcessSettingsAreSkipped", "materials process.dat",
     [](std::ostream& out) {
         out << "<ProcessSettings><ScenarioSettings><Grouping Alias=\"Material specific settings\">";
         Nested(out, "<Grouping Alias=\"g\">", "</Grouping>");
         out << "</Grouping></ScenarioSettings></ProcessSettings>";
     },
     [](kxtMaterialDBsManager& manager, const kxtMaterialDB*) { return !manager.GetKxNativeDB()->GetAllProcessTypes().empty(); }},
    {"MegabyteRegistryValuesAreNoFavourites", "hostile.reg",
     [](std::ostream& out) {
         const std::string huge(1 << 20, 'x');
         out << kRegistryKey << "\"__NumOfFavs\"=dword:00000004\n\"_FavMaterial1\"=\"korvex materials|" << huge
             << "\"\n\"_FavMaterial3\"=\"" << huge << "|" << huge << "\"\n\"_FavMaterial2\"=hex(2):41,00";
         for (int i = 1; i < (1 << 19); ++i) out << ",41,00";
     },
     kNoFavourites, 8},
    {"HugeFavouriteCountEndsQuickly", "hostile.reg",
     [](std::ostream& out) {
         out << kRegistryKey << "\"__NumOfFavs\"=dword:7fffffff\n\"_FavMaterial2147483647\"=\"korvex materials|x\"\n";
     },
     kNoFavourites},
    // Paths beyond the host's 260-character buffers: a custom library deep in
    // folders loads; a name or a path beyond what the file system takes is missing.
    {"CustomLibraryBeyondTheHostsPathBufferLoads", std::string(200, 'd') + "/" + std::string(200, 'd') + "/Deep.kvxmat",
     [](std::ostream& out) { out << "<materials><classification name=\"Deep\">" << MaterialXml("Deep") << "</classification></materials>"; },
     [](kxtMaterialDBsManager&, const kxtMaterialDB* custom) { return custom != nullptr && custom->GetGroupCount() == 1; }},
    {"NameBeyondTheFileSystemsIsMissing", std::string(300, 'n') + ".kvxmat", nullptr, kNoClasses},
    {"PathBeyondTheFileSystemsIsMissing", std::string(8000, '/'), nullptr, kNoClasses},
    // About 200 MB; only the ctest entry labelled "slow" sets KXT_SLOW_TESTS.
    {"TwoHundredMegabyteLibrary", "large.kvxmat",
     [](std::ostream& out) {
         out << "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<materials>\n";
         for (int c = 0; out.tellp() < (200 << 20); ++c) {
             out << "<classification name=\"Class " << c << "\">\n";
             for (int m = 0; m < 100; ++m) out << MaterialXml("Material " + std::to_string(c) + "." + std::to_string(m));
             out << "</classification>\n";
         }
         out << "</materials>\n";
     },
     [](kxtMaterialDBsManager&, const kxtMaterialDB* custom) { return custom != nullptr; }, 4, 300},
};

long StatusKb(const char* field) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind(field, 0) == 0) return std::strtol(line.c_str() + std::strlen(field), nullptr, 10);
    }
    return -1;
}

// Loads the small installation with the case's file in its place; whether
// the manager then holds what the case says.
bool LoadHolds(kxtMaterialDBsManager& manager, const HostileCase& hostile, const fs::path& file) {
    kxt::test::SetUpAsHost(manager);
    std::vector<std::u16string> files = kxt::test::SmallHostList();
    if (file.filename() == "hostile.reg") {
        ::setenv("KXT_REGISTRY_FILE", file.c_str(), 1);
    } else if (file.filename() == "materials process.dat") {
        manager.SetProgDataSustainabilityPath(kxt::platform::Utf8ToUtf16(file.parent_path().string()));
    } else {
        files.back() = kxt::platform::Utf8ToUtf16(file.string());
    }
    manager.UpdateMaterials(files, 0);
    const kxtMaterialDB* custom = nullptr;
    for (const kxtMaterialDB& db : manager.GetCustomDBs()) {
        if (db.GetPath() == files.back() && db.GetGroupCount() > 0) custom = &db;
    }
    return hostile.holds(manager, custom) && kxt::test::HoldsOnlyLiveObjects(manager);
}

class HostileInputTest : public ::testing::TestWithParam<HostileCase> {
protected:
    // One load before any is measured: what a process's first load sets up
    // for good (modules, text conversion) is no part of a load's cost.
    static void SetUpTestSuite() {
        kxtMaterialDBsManager manager;
        kxt::test::SetUpAsHost(manager);
        std::vector<std::u16string> files = kxt::test::SmallHostList();
        manager.UpdateMaterials(files, 0);
    }
    kxt::test::TempDir temp_;
};

TEST_P(HostileInputTest, LoadsWithinBoundedTimeAndMemoryAsTheRulesSay) {
    const HostileCase& hostile = GetParam();
    if (hostile.seconds > 30 && std::getenv("KXT_SLOW_TESTS") == nullptr) GTEST_SKIP() << "run with the label slow";
    temp_.Write("secret.txt", "SECRET");
    temp_.Write("evil.dtd", "<!ENTITY secret SYSTEM \"secret.txt\">\n");
    const fs::path file = temp_.Path().string() + "/" + hostile.file;
    if (hostile.write) {
        fs::create_directories(file.parent_path());
        std::ofstream out(file, std::ios::binary);
        hostile.write(out);
    }
    int channel[2];
    ASSERT_EQ(::pipe(channel), 0);
    const pid_t pid = ::fork();
    if (pid == 0) {  // the child's peak resident size is the load's own
        ::alarm(hostile.seconds);
        ::malloc_trim(0);
        std::ofstream("/proc/self/clear_refs") << "5";  // resets the peak, which the child inherits
        const long start = StatusKb("VmRSS:");
        kxtMaterialDBsManager manager;  // kept while the child measures what the load keeps
        const bool holds = LoadHolds(manager, hostile, file);
        ::malloc_trim(0);
        const std::string report = std::to_string(StatusKb("VmHWM:") - start) + " " + std::to_string(StatusKb("VmRSS:") - start);
        ::_exit(::write(channel[1], report.data(), report.size()) > 0 && holds ? 0 : 1);
    }
    ::close(channel[1]);
    char report[64] = {};
    const bool reported = ::read(channel[0], report, sizeof report - 1) > 0;
    ::close(channel[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && reported) << "the load crashed or ran beyond " << hostile.seconds << " s";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the load does not hold what the rules say";
    long peakKb = 0, keptKb = 0;
    std::istringstream(report) >> peakKb >> keptKb;
    std::error_code missing;
    const long fileKb = static_cast<long>(fs::file_size(file, missing) / 1024);
    EXPECT_LE(peakKb, hostile.fileSizes * fileKb + keptKb + 4096) << "file " << fileKb << " kB, kept " << keptKb << " kB";
}

INSTANTIATE_TEST_SUITE_P(HostileInputs, HostileInputTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
