// Hostile files: entity expansion, external entities, deep nesting, a huge
// library, a huge registry value and over-long paths. Each is read as the
// loading rules say, within bounded time and memory: a load in a child
// process may peak at no more than four times the file's size above what the
// process held before, plus the model that the load keeps.
#include <gtest/gtest.h>

#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <kxtmat/kxtmat.h>

#include "hardening_support.h"
#include "platform/text.h"
#include "support/temp_dir.h"
#include "xml/phys_prop_parser.h"
#include "xml/process_parser.h"

namespace {

namespace fs = std::filesystem;
using kxt::test::SetUpAsHost;
using kxt::test::SmallHostList;
using kxt::test::SmallInstallation;
using Clock = std::chrono::steady_clock;

constexpr long kAllocatorSlackKb = 4 * 1024;

// Reads a "VmRSS"/"VmHWM" line of /proc/self/status, in kB; -1 when absent.
long StatusKb(const char* field) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind(field, 0) == 0) return std::strtol(line.c_str() + std::strlen(field), nullptr, 10);
    }
    return -1;
}

// What a load in a child process cost.
struct ChildLoad {
    bool completed = false;
    long peakAboveStartKb = 0;  // highest resident size minus the size at the start
    long keptKb = 0;            // resident size after the load (heap trimmed) minus the size at the start
    double seconds = 0;
};

// Runs load in a forked child, so that its peak resident size is its own;
// what load returns is kept while the child measures what it holds. The
// child is killed after maxSeconds (and does not complete).
ChildLoad LoadInChild(double maxSeconds, const std::function<std::shared_ptr<void>()>& load) {
    int channel[2];
    if (::pipe(channel) != 0) return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(channel[0]);
        ::alarm(static_cast<unsigned>(maxSeconds) + 1);
        ::malloc_trim(0);  // what the parent freed is not the child's to count
        const long start = StatusKb("VmRSS:");
        const auto began = Clock::now();
        int code = 0;
        std::shared_ptr<void> kept;
        try {
            kept = load();
        } catch (...) {
            code = 1;
        }
        const double seconds = std::chrono::duration<double>(Clock::now() - began).count();
        ::malloc_trim(0);
        const std::string report = std::to_string(StatusKb("VmHWM:") - start) + " " +
                                   std::to_string(StatusKb("VmRSS:") - start) + " " + std::to_string(seconds);
        if (::write(channel[1], report.data(), report.size()) < 0) code = 2;
        ::_exit(code);
    }
    ::close(channel[1]);
    std::string report;
    char buffer[256];
    for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;) report.append(buffer, static_cast<std::size_t>(n));
    ::close(channel[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ChildLoad result;
    std::istringstream(report) >> result.peakAboveStartKb >> result.keptKb >> result.seconds;
    result.completed = WIFEXITED(status) && WEXITSTATUS(status) == 0 && !report.empty();
    return result;
}

// The peak stays within four times the file plus what the load kept.
void ExpectBoundedLoad(const ChildLoad& load, std::uintmax_t fileBytes) {
    ASSERT_TRUE(load.completed) << "the load failed or ran out of time";
    const long fileKb = static_cast<long>(fileBytes / 1024);
    EXPECT_LE(load.peakAboveStartKb, 4 * fileKb + load.keptKb + kAllocatorSlackKb)
        << "file " << fileKb << " kB, kept " << load.keptKb << " kB";
}

// A manager loaded from the small installation with `custom` as its only custom library.
std::shared_ptr<kxtMaterialDBsManager> LoadWithCustomLibrary(const std::u16string& custom) {
    auto manager = std::make_shared<kxtMaterialDBsManager>();
    SetUpAsHost(*manager);
    std::vector<std::u16string> files = SmallHostList();
    files.back() = custom;
    manager->UpdateMaterials(files, 0);
    return manager;
}

kxtMaterialDB ReadLibrary(const std::u16string& path) {
    kxtMaterialDB db;
    db.SetDBType(eKxtCustomDB);
    EXPECT_EQ(kxt::xml::kxtXMLPhysPropParser(path).Parse(&db), 1);
    return db;
}

std::u16string Wide(const fs::path& path) { return kxt::platform::Utf8ToUtf16(path.string()); }

std::string MaterialXml(const std::string& name) {
    return "<material name=\"" + name +
           "\" matid=\"\" envdata=\"0\"><physicalproperties>"
           "<DENS displayname=\"Mass Density\" value=\"7850\"/>"
           "<EMOD displayname=\"Elastic Modulus\" value=\"205000000000\"/>"
           "<YLD displayname=\"Yield Strength\" value=\"300000000\"/>"
           "<TCON displayname=\"Thermal Conductivity\" value=\"50\"/></physicalproperties>"
           "<custom><entry name=\"Financial Impact\" value=\"0.95\" units=\"USD/kg\"/></custom>"
           "<sustainability linkId=\"KM0101\" dbName=\"korvex materials\"/></material>\n";
}

class HostileFileTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { SmallInstallation(); }
    kxt::test::TempDir temp_;
};

TEST_F(HostileFileTest, EntityExpansionIsRefusedWithoutExpanding) {
    std::string laughs = "<?xml version=\"1.0\"?>\n<!DOCTYPE materials [\n<!ENTITY lol0 \"lol\">\n";
    for (int level = 1; level <= 12; ++level) {
        laughs += "<!ENTITY lol" + std::to_string(level) + " \"";
        for (int i = 0; i < 10; ++i) laughs += "&lol" + std::to_string(level - 1) + ";";
        laughs += "\">\n";
    }
    laughs += "]>\n<materials><classification name=\"&lol12;\">" + MaterialXml("&lol12;") +
              "</classification></materials>\n";
    const fs::path file = temp_.Write("laughs.kvxmat", laughs);

    EXPECT_EQ(ReadLibrary(Wide(file)).GetGroupCount(), 0u);
    ExpectBoundedLoad(LoadInChild(5.0,
                                  [&] { return LoadWithCustomLibrary(Wide(file)); }),
                      fs::file_size(file));
}

TEST_F(HostileFileTest, ExternalEntitiesAreNeverResolved) {
    temp_.Write("secret.txt", "SECRET");
    temp_.Write("evil.dtd", "<!ENTITY secret SYSTEM \"secret.txt\">\n<!ENTITY word \"SECRET\">\n");
    const std::string body = "<materials><classification name=\"Steel\">" + MaterialXml("&secret;") +
                             "</classification></materials>\n";
    // Declared in the internal subset, declared in an external subset, named by a URL.
    for (const std::string& doctype : {std::string("<!DOCTYPE materials [<!ENTITY secret SYSTEM \"secret.txt\">]>\n"),
                                       std::string("<!DOCTYPE materials SYSTEM \"evil.dtd\">\n"),
                                       std::string("<!DOCTYPE materials [<!ENTITY secret SYSTEM "
                                                   "\"http://127.0.0.1:9/secret\">]>\n")}) {
        SCOPED_TRACE(doctype);
        const kxtMaterialDB db = ReadLibrary(Wide(temp_.Write("external.kvxmat", doctype + body)));
        EXPECT_EQ(db.GetGroupCount(), 0u) << "a document that uses an undeclared entity is not well-formed";
    }
    // An external subset that the document does not need is ignored: the library reads normally.
    const kxtMaterialDB plain = ReadLibrary(Wide(temp_.Write(
        "plain.kvxmat", "<!DOCTYPE materials SYSTEM \"evil.dtd\">\n<materials><classification name=\"Steel\">" +
                            MaterialXml("Plain") + "</classification></materials>\n")));
    ASSERT_EQ(plain.GetGroupCount(), 1u);
    EXPECT_EQ(plain.GetMaterialClass(0)->GetMaterial(0u)->GetName(), u"Plain");
}

TEST_F(HostileFileTest, HundredThousandNestedClassificationsAreEachAClass) {
    constexpr int kDepth = 100000;
    std::string nested = "<materials>";
    nested.reserve(kDepth * 120);
    for (int i = 0; i < kDepth; ++i) {
        nested += "<classification name=\"c" + std::to_string(i) + "\"><material name=\"m" + std::to_string(i) + "\"/>";
    }
    for (int i = 0; i < kDepth; ++i) nested += "</classification>";
    nested += "</materials>";
    const fs::path file = temp_.Write("nested.kvxmat", nested);

    const auto began = Clock::now();
    const kxtMaterialDB db = ReadLibrary(Wide(file));
    EXPECT_LT(std::chrono::duration<double>(Clock::now() - began).count(), 20.0);
    ASSERT_EQ(db.GetGroupCount(), static_cast<std::uint64_t>(kDepth));
    EXPECT_EQ(db.GetMaterialClass(0)->GetName(), u"c0");
    EXPECT_EQ(db.GetMaterialClass(kDepth - 1)->GetMaterial(0u)->GetName(), u"m99999");
    EXPECT_EQ(db.GetMaterialClass(kDepth - 1)->GetMaterialCount(), 1u);

    ExpectBoundedLoad(LoadInChild(30.0,
                                  [&] {
                                      auto manager = LoadWithCustomLibrary(Wide(file));
                                      if (manager->GetCustomDBs().back().GetGroupCount() != kDepth) {
                                          throw std::runtime_error("classes lost");
                                      }
                                      return manager;
                                  }),
                      fs::file_size(file));
}

TEST_F(HostileFileTest, DeepNestingInsideMaterialsAndProcessSettingsIsHarmless) {
    constexpr int kDepth = 100000;
    std::string deep;
    for (int i = 0; i < kDepth; ++i) deep += "<x a=\"1\">";
    for (int i = 0; i < kDepth; ++i) deep += "</x>";

    const kxtMaterialDB db = ReadLibrary(Wide(temp_.Write(
        "deep.kvxmat", "<materials><classification name=\"Steel\"><material name=\"M\"><physicalproperties>"
                       "<DENS displayname=\"Mass Density\" value=\"7850\">" + deep +
                           "</DENS></physicalproperties><custom>" + deep +
                           "</custom></material></classification></materials>")));
    ASSERT_EQ(db.GetGroupCount(), 1u);
    EXPECT_DOUBLE_EQ(db.GetMaterialClass(0)->GetMaterial(0u)->GetProperty(u"DENS").GetValue(), 7850.0);

    std::string groupings;
    for (int i = 0; i < kDepth; ++i) groupings += "<Grouping Alias=\"g\">";
    for (int i = 0; i < kDepth; ++i) groupings += "</Grouping>";
    kxtMaterialDB target(db);
    kxt::xml::kxtXMLProcessParser processes(
        Wide(temp_.Write("deep.dat", "<ProcessSettings><ScenarioSettings><Grouping Alias=\"Material specific "
                                     "settings\">" + groupings + "</Grouping></ScenarioSettings></ProcessSettings>")),
        nullptr);
    EXPECT_EQ(processes.Parse(&target), 1);
}

TEST_F(HostileFileTest, MegabyteRegistryValuesAreSkippedAsFavourites) {
    const std::string huge(1 << 20, 'x');
    std::string hex = "hex(2):";
    for (int i = 0; i < (1 << 20) / 2; ++i) hex += i == 0 ? "41,00" : ",41,00";
    const std::string registry =
        "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Korvex\\Korvex 2025\\Material]\n"
        "\"__NumOfFavs\"=dword:00000004\n"
        "\"_FavMaterial1\"=\"korvex materials|" + huge + "\"\n"
        "\"_FavMaterial2\"=" + hex + "\n"
        "\"_FavMaterial3\"=\"" + huge + "|" + huge + "\"\n";
    const fs::path file = temp_.Write("huge.reg", registry);
    ::setenv("KXT_REGISTRY_FILE", file.c_str(), 1);

    const auto began = Clock::now();
    const auto manager = LoadWithCustomLibrary(SmallHostList().back());
    EXPECT_LT(std::chrono::duration<double>(Clock::now() - began).count(), 10.0);
    EXPECT_TRUE(manager->GetFavoritesMaterials().empty());
    EXPECT_TRUE(kxt::test::HoldsOnlyLiveObjects(*manager));
}

TEST_F(HostileFileTest, HugeFavouriteCountWithAFarValueNameEndsQuickly) {
    const fs::path file = temp_.Write(
        "count.reg",
        "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Korvex\\Korvex 2025\\Material]\n"
        "\"__NumOfFavs\"=dword:7fffffff\n\"_FavMaterial2147483647\"=\"korvex materials|x\"\n");
    ::setenv("KXT_REGISTRY_FILE", file.c_str(), 1);
    const ChildLoad load = LoadInChild(10.0, [] { return LoadWithCustomLibrary(SmallHostList().back()); });
    EXPECT_TRUE(load.completed) << "the favourites were still being read after 10 s";
}

TEST_F(HostileFileTest, PathsBeyondTheHostsBufferNeitherOverflowNorLoseCustomLibraries) {
    // A custom library more than 260 characters deep loads like any other.
    fs::path deep = temp_.Path();
    while (deep.string().size() < 400) deep /= std::string(60, 'd');
    fs::create_directories(deep);
    std::ofstream(deep / "Deep.kvxmat") << "<materials><classification name=\"Deep\">" << MaterialXml("Deep One")
                                        << "</classification></materials>";
    const auto manager = LoadWithCustomLibrary(Wide(deep / "Deep.kvxmat"));
    ASSERT_EQ(manager->GetCustomDBs().size(), 2u);
    EXPECT_EQ(manager->GetCustomDBs()[1].GetGroupCount(), 1u);

    // Names beyond what the file system takes (a 300-character component, an
    // 8000-character path) read as missing files.
    for (const std::u16string& path :
         {Wide(temp_.Path() / (std::string(300, 'n') + ".kvxmat")), Wide(temp_.Path()) + std::u16string(8000, u'/')}) {
        EXPECT_EQ(ReadLibrary(path).GetGroupCount(), 0u);
    }
}

TEST_F(HostileFileTest, UserProcessSettingsBeyondTheHostsBufferAreNotRead) {
    // The user's copy of the installed settings names the process Wire for
    // every material; read from a folder whose settings path does not fit 260
    // characters, it is not read and the installed processes apply.
    const std::string settings =
        kxt::test::ReadFileBytes(SmallInstallation().Root() / "data/resources/kxterra/materials process.dat");
    const std::string wireOnly = std::regex_replace(
        settings, std::regex(R"re(Name="(milled_part|turned_part|forged_part|sheet_part|stamped_sheet)" Alias="[^"]*")re"),
        R"re(Name="wire" Alias="Wire")re");
    ASSERT_NE(wireOnly, settings);

    for (const std::size_t length : {std::size_t{200}, std::size_t{300}}) {
        SCOPED_TRACE(length);
        fs::path folder = temp_.Path() / std::to_string(length);
        while (folder.string().size() + 100 < length) folder /= std::string(99, 'u');
        folder /= std::string(length - folder.string().size() - 1, 'v');
        ASSERT_EQ(folder.string().size(), length);
        fs::create_directories(folder);
        std::ofstream(folder / "materials process.dat") << wireOnly;

        kxtMaterialDBsManager manager;
        SetUpAsHost(manager);
        manager.SetProgDataSustainabilityPath(Wide(folder));
        std::vector<std::u16string> files = SmallHostList();
        manager.UpdateMaterials(files, 0);
        const std::vector<std::u16string> types = manager.GetKxNativeDB()->GetAllProcessTypes();
        ASSERT_FALSE(types.empty());
        const bool userSettingsRead = types == std::vector<std::u16string>{u"Wire"};
        EXPECT_EQ(userSettingsRead, length + 1 + std::string_view("materials process.dat").size() < 260);
    }
}

// A library of about 200 MB. Its ctest entry carries the label "slow"; the
// plain entry skips it unless KXT_SLOW_TESTS is set.
TEST_F(HostileFileTest, TwoHundredMegabyteLibraryLoadsWithinBoundedMemory) {
    if (std::getenv("KXT_SLOW_TESTS") == nullptr) GTEST_SKIP() << "run with the label slow";
    constexpr std::uintmax_t kBytes = 200u << 20;
    const fs::path file = temp_.Path() / "large.kvxmat";
    {
        std::ofstream out(file, std::ios::binary);
        out << "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<materials>\n";
        std::uintmax_t written = 0;
        for (int c = 0; written < kBytes; ++c) {
            std::string group = "<classification name=\"Class " + std::to_string(c) + "\">\n";
            for (int m = 0; m < 100; ++m) group += MaterialXml("Material " + std::to_string(c) + "." + std::to_string(m));
            group += "</classification>\n";
            out << group;
            written += group.size();
        }
        out << "</materials>\n";
    }
    ExpectBoundedLoad(LoadInChild(300.0,
                                  [&] {
                                      auto manager = LoadWithCustomLibrary(Wide(file));
                                      if (manager->GetCustomDBs().back().GetGroupCount() == 0) {
                                          throw std::runtime_error("empty");
                                      }
                                      return manager;
                                  }),
                      fs::file_size(file));
}

}  // namespace
