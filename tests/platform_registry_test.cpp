#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/posix/reg_file.h"
#include "platform/registry.h"
#include "platform/text.h"

namespace kxt::platform {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

constexpr std::u16string_view kKey = u"Software\\Korvex\\Korvex 2025\\Material";

std::string Export(const std::string& body) { return "Windows Registry Editor Version 5.00\r\n\r\n" + body; }

// The value `name` of kKey in `content`; a RegistryValue of type kNone when the key exists without it.
std::optional<RegistryValue> Value(const std::string& content, std::u16string_view name,
                                   std::u16string_view key = kKey) {
    std::optional<std::vector<RegFileValue>> values = ParseRegFileKey(content, key);
    if (!values) return std::nullopt;
    for (RegFileValue& value : *values) {
        if (value.name == name) return std::move(value.value);
    }
    return RegistryValue{};
}

Bytes Utf16Bytes(std::u16string_view text) {
    Bytes bytes;
    for (char16_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    bytes.insert(bytes.end(), {0, 0});
    return bytes;
}

TEST(RegFile, StringValuesAreUnescapedUtf16WithTerminatingZero) {
    const std::string content = Export(
        "[HKEY_CURRENT_USER\\Software\\Korvex\\Korvex 2025\\Material]\r\n"
        "\"_FavMaterial1\"=\"korvex materials|Steel\"\r\n"
        "\"Path\"=\"C:\\\\Data\\\\ \\\"quoted\\\"\"\r\n"
        "\"Name \\\"x\\\"\"=\"\xC3\x96l \xC3\xA9t\xC3\xA9\"\r\n"
        "\"Empty\"=\"\"\r\n");
    const auto favourite = Value(content, u"_FavMaterial1");
    ASSERT_TRUE(favourite);
    EXPECT_EQ(favourite->type, RegistryType::kString);
    EXPECT_EQ(favourite->data, Utf16Bytes(u"korvex materials|Steel"));
    EXPECT_EQ(favourite->data.size(), 2 * (22 + 1));
    EXPECT_EQ(Value(content, u"Path")->data, Utf16Bytes(u"C:\\Data\\ \"quoted\""));
    EXPECT_EQ(Value(content, u"Name \"x\"")->data, Utf16Bytes(u"\u00D6l \u00E9t\u00E9"));
    EXPECT_EQ(Value(content, u"Empty")->data, (Bytes{0, 0}));
}

TEST(RegFile, DwordHexAndTypedHexValuesKeepTheirBytes) {
    const std::string content = Export(
        "[HKEY_CURRENT_USER\\Software\\Korvex\\Korvex 2025\\Material]\n"
        "\"__NumOfFavs\"=dword:0000012c\n"
        "\"Max\"=DWORD:FFFFFFFF\n"
        "\"Blob\"=hex:01,ff, 2A ,00\n"
        "\"NoBytes\"=hex:\n"
        "\"Expand\"=hex(2):41,00,25,00,00,00\n"
        "\"Multi\"=hex(7):61,00,00,00,00,00\n");
    EXPECT_EQ(Value(content, u"__NumOfFavs")->type, RegistryType::kDword);
    EXPECT_EQ(Value(content, u"__NumOfFavs")->data, (Bytes{0x2c, 0x01, 0, 0}));
    EXPECT_EQ(Value(content, u"Max")->data, (Bytes{0xff, 0xff, 0xff, 0xff}));
    EXPECT_EQ(Value(content, u"Blob")->type, RegistryType::kBinary);
    EXPECT_EQ(Value(content, u"Blob")->data, (Bytes{0x01, 0xff, 0x2a, 0x00}));
    EXPECT_EQ(Value(content, u"NoBytes")->data, Bytes{});
    EXPECT_EQ(Value(content, u"Expand")->type, RegistryType::kExpandString);
    EXPECT_EQ(Value(content, u"Expand")->data, Utf16Bytes(u"A%"));
    EXPECT_EQ(static_cast<unsigned>(Value(content, u"Multi")->type), 7u);
}

TEST(RegFile, ContinuationLinesCommentsAndTheDefaultValue) {
    const std::string content = Export(
        "; exported by hand\n"
        "[HKEY_CURRENT_USER\\Software\\Korvex\\Korvex 2025\\Material]\n"
        "@=\"default\"\n"
        "  ; an indented comment\n"
        "\"Long\"=hex(2):6b,00,6f,00,\\\n"
        "  72,00,\\\n"
        "\t76,00,00,00\n"
        "\"After\"=dword:00000001 ; trailing comment\n");
    EXPECT_EQ(Value(content, u"")->data, Utf16Bytes(u"default"));
    EXPECT_EQ(Value(content, u"Long")->data, Utf16Bytes(u"kor"
                                                        u"v"));
    EXPECT_EQ(Value(content, u"After")->data, (Bytes{1, 0, 0, 0}));
}

TEST(RegFile, MalformedLinesAreSkippedAndReadingGoesOn) {
    const std::string content = Export(
        "[HKEY_CURRENT_USER\\Software\\Korvex\\Korvex 2025\\Material]\n"
        "\"Unterminated\"=\"text\n"
        "\"BadDword\"=dword:xyz\n"
        "\"LongDword\"=dword:123456789\n"
        "\"BadHex\"=hex:01,zz\n"
        "\"WideByte\"=hex:123\n"
        "\"Trailing\"=\"a\" b\n"
        "\"NoEquals\" \"x\"\n"
        "name=\"unquoted\"\n"
        "\"Unknown\"=qword:1\n"
        "garbage \xFF\xFE\n"
        "[broken section\n"
        "\"Good\"=dword:00000007\n");
    const std::optional<std::vector<RegFileValue>> values = ParseRegFileKey(content, kKey);
    ASSERT_TRUE(values);
    ASSERT_EQ(values->size(), 1u);
    EXPECT_EQ(values->front().name, u"Good");
    EXPECT_EQ(values->front().value.data, (Bytes{7, 0, 0, 0}));
}

TEST(RegFile, SectionsMatchTheKeyWithoutRegardToCaseUnderTheCurrentUserOnly) {
    const std::string content = Export(
        "[HKEY_LOCAL_MACHINE\\Software\\Korvex\\Korvex 2025\\Material]\n"
        "\"Root\"=\"machine\"\n"
        "[hkcu\\SOFTWARE\\korvex\\KORVEX 2025\\material]\n"
        "\"Root\"=\"user\"\n"
        "\"Replaced\"=dword:00000001\n"
        "\"Deleted\"=dword:00000001\n"
        "[HKEY_CURRENT_USER\\Software\\Korvex\\Korvex 2025\\Material\\Sub]\n"
        "\"Child\"=dword:00000001\n"
        "[HKEY_CURRENT_USER\\Software\\Korvex\\Korvex 2025\\Material]\n"
        "\"Replaced\"=dword:00000002\n"
        "\"Deleted\"=-\n");
    const std::optional<std::vector<RegFileValue>> values = ParseRegFileKey(content, kKey);
    ASSERT_TRUE(values);
    ASSERT_EQ(values->size(), 2u);
    EXPECT_EQ((*values)[0].name, u"Root");
    EXPECT_EQ((*values)[0].value.data, Utf16Bytes(u"user"));
    EXPECT_EQ((*values)[1].name, u"Replaced");
    EXPECT_EQ((*values)[1].value.data, (Bytes{2, 0, 0, 0}));
    // A key named only by its subkeys exists without values; siblings do not.
    EXPECT_EQ(ParseRegFileKey(content, u"software\\korvex")->size(), 0u);
    EXPECT_EQ(ParseRegFileKey(content, u"Software\\Korvex\\Korvex 2025\\Material\\Sub")->size(), 1u);
    EXPECT_FALSE(ParseRegFileKey(content, u"Software\\Korvex\\Korvex 2024\\Material"));
    EXPECT_FALSE(ParseRegFileKey(content, u"Software\\Korv"));
}

TEST(RegFile, AcceptsBothHeadersAndEncodingsAndNothingElse) {
    const std::string body = "[HKEY_CURRENT_USER\\K]\r\n\"V\"=\"\xCE\xA9\"\r\n";
    EXPECT_EQ(Value("REGEDIT4\r\n" + body, u"V", u"K")->data, Utf16Bytes(u"\u03A9"));
    EXPECT_EQ(Value("\xEF\xBB\xBF" + Export(body), u"V", u"K")->data, Utf16Bytes(u"\u03A9"));

    const std::u16string utf16 = u"Windows Registry Editor Version 5.00\r\n[HKEY_CURRENT_USER\\K]\r\n\"V\"=\"\u03A9\"\r\n";
    std::string utf16le = "\xFF\xFE";
    for (char16_t c : utf16) utf16le += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    EXPECT_EQ(Value(utf16le, u"V", u"K")->data, Utf16Bytes(u"\u03A9"));
    EXPECT_EQ(Value(utf16le + "\x41", u"V", u"K")->data, Utf16Bytes(u"\u03A9"));  // odd byte at the end

    EXPECT_FALSE(ParseRegFileKey(body, u"K"));  // no header
    EXPECT_FALSE(ParseRegFileKey("Windows Registry Editor Version 4.00\n" + body, u"K"));
    EXPECT_FALSE(ParseRegFileKey("", u"K"));
}

TEST(RegFile, ReadsAOneMegabyteValueWrittenOnContinuationLines) {
    std::string content = Export("[HKEY_CURRENT_USER\\Big]\r\n\"Blob\"=hex:");
    Bytes expected(1 << 20);
    static const char kHex[] = "0123456789abcdef";
    for (std::size_t i = 0; i < expected.size(); ++i) {
        expected[i] = static_cast<std::uint8_t>(i * 7);
        content += {kHex[expected[i] >> 4], kHex[expected[i] & 15]};
        if (i + 1 < expected.size()) content += (i % 25 == 24) ? ",\\\r\n  " : ",";
    }
    content += "\r\n";
    const auto value = Value(content, u"Blob", u"Big");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->data, expected);
}

TEST(RegFile, TruncatedAndHostileContentNeverCrashes) {
    const std::string content = Export(
        "[HKEY_CURRENT_USER\\K]\n\"S\"=\"a\\\\b\"\n\"H\"=hex(2):41,00,\\\n00,00\n\"D\"=dword:00000005\n");
    std::size_t parsed = 0;
    for (std::size_t cut = 0; cut <= content.size(); ++cut) {
        if (ParseRegFileKey(content.substr(0, cut), u"K")) ++parsed;
    }
    EXPECT_GT(parsed, 0u);
    EXPECT_EQ(ParseRegFileKey(content, u"K")->size(), 3u);
    std::string hostile = Export("[HKEY_CURRENT_USER\\K]\n");
    for (int i = 0; i < 4096; ++i) hostile += static_cast<char>((i * 37) % 256);
    hostile += std::string(10000, '\\') + "\n\"" + std::string(10000, '"') + "=hex(:,\n[\n]\n@=\n";
    EXPECT_TRUE(ParseRegFileKey(hostile, u"K"));
}

// The hive file as RegistryKey finds it through the environment.
class RegistryKeyTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / "kxt_registry_test";
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        file_ = dir_ / "hive.reg";
        ::setenv("KXT_REGISTRY_FILE", file_.c_str(), 1);
    }
    void TearDown() override {
        ::unsetenv("KXT_REGISTRY_FILE");
        fs::remove_all(dir_);
    }
    static void WriteFile(const fs::path& file, const std::string& content) {
        fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << content;
    }
    static std::string Favourites(const std::string& count) {
        return Export("[HKEY_CURRENT_USER\\Software\\Korvex\\Korvex 2025\\Material]\n\"__NumOfFavs\"=dword:" +
                      count + "\n\"_FavMaterial1\"=\"x\"\n");
    }

    fs::path dir_;
    fs::path file_;
};

TEST_F(RegistryKeyTest, EachOpeningReadsTheFileNamedByTheEnvironmentAfreshAndAnOpenKeyKeepsWhatItRead) {
    WriteFile(file_, Favourites("00000002"));
    const std::optional<RegistryKey> key = RegistryKey::OpenCurrentUser(std::u16string(kKey));
    ASSERT_TRUE(key);
    EXPECT_EQ(key->ReadDword(u"__numoffavs"), 2u);
    EXPECT_EQ(key->ReadDword(u"_FavMaterial1"), std::nullopt);  // a string, not a number
    EXPECT_EQ(key->ReadValue(u"_FavMaterial1")->data, Utf16Bytes(u"x"));
    EXPECT_EQ(key->ReadValue(u"Missing"), std::nullopt);

    WriteFile(file_, Favourites("00000003"));
    EXPECT_EQ(key->ReadDword(u"__NumOfFavs"), 2u);
    EXPECT_EQ(RegistryKey::OpenCurrentUser(std::u16string(kKey))->ReadDword(u"__NumOfFavs"), 3u);
    fs::remove(file_);
    EXPECT_EQ(key->ReadDword(u"__NumOfFavs"), 2u);
    EXPECT_FALSE(RegistryKey::OpenCurrentUser(std::u16string(kKey)));
}

TEST_F(RegistryKeyTest, NamesAndReadsFollowTheLastAssignmentOfEachNameInAnyCase) {
    WriteFile(file_, Export("[HKEY_CURRENT_USER\\Software\\Korvex\\Korvex 2025\\Material]\n"
                            "\"_FavMaterial2\"=\"two\"\n"
                            "\"Gone\"=dword:00000001\n"
                            "\"_FavMaterial1\"=\"one\"\n"
                            "\"_FAVMATERIAL2\"=\"TWO\"\n"
                            "\"gone\"=-\n"
                            "\"Back\"=dword:00000002\n"
                            "\"GONE\"=dword:00000003\n"));
    const std::optional<RegistryKey> key = RegistryKey::OpenCurrentUser(std::u16string(kKey));
    ASSERT_TRUE(key);
    // A replaced value keeps its place and first spelling; a deleted and
    // assigned again one comes last.
    EXPECT_EQ(key->ValueNames(), (std::vector<std::u16string>{u"_FavMaterial2", u"_FavMaterial1", u"Back", u"GONE"}));
    EXPECT_EQ(key->ReadValue(u"_favmaterial2")->data, Utf16Bytes(u"TWO"));
    EXPECT_EQ(key->ReadDword(u"Gone"), 3u);
    EXPECT_EQ(key->ReadValue(u"_FavMaterial3"), std::nullopt);
}

TEST_F(RegistryKeyTest, FallsBackToTheUserConfigurationFolder) {
    ::unsetenv("KXT_REGISTRY_FILE");
    const char* home = std::getenv("HOME");
    const std::string savedHome = home ? home : "";
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const std::string savedXdg = xdg ? xdg : "";

    WriteFile(dir_ / "xdg" / "kxterra" / "registry.reg", Favourites("00000004"));
    WriteFile(dir_ / "home" / ".config" / "kxterra" / "registry.reg", Favourites("00000005"));
    ::setenv("XDG_CONFIG_HOME", (dir_ / "xdg").c_str(), 1);
    ::setenv("HOME", (dir_ / "home").c_str(), 1);
    std::optional<RegistryKey> key = RegistryKey::OpenCurrentUser(std::u16string(kKey));
    ASSERT_TRUE(key);
    EXPECT_EQ(key->ReadDword(u"__NumOfFavs"), 4u);
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(RegistryKey::OpenCurrentUser(std::u16string(kKey))->ReadDword(u"__NumOfFavs"), 5u);

    ::setenv("HOME", savedHome.c_str(), 1);
    if (xdg) ::setenv("XDG_CONFIG_HOME", savedXdg.c_str(), 1);
}

TEST_F(RegistryKeyTest, AMissingOrForeignFileHasNoKeys) {
    EXPECT_FALSE(RegistryKey::OpenCurrentUser(std::u16string(kKey)));
    WriteFile(file_, "[HKEY_CURRENT_USER\\Software\\Korvex\\Korvex 2025\\Material]\n");
    EXPECT_FALSE(RegistryKey::OpenCurrentUser(std::u16string(kKey)));
    fs::create_directories(dir_ / "folder.reg");
    ::setenv("KXT_REGISTRY_FILE", (dir_ / "folder.reg").c_str(), 1);
    EXPECT_FALSE(RegistryKey::OpenCurrentUser(std::u16string(kKey)));
}

}  // namespace
}  // namespace kxt::platform
