#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "platform/environment.h"
#include "platform/reg_file.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "support/registry_hive.h"
#include "support/temp_dir.h"

namespace kxt::platform {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

constexpr std::u16string_view kKey = u"Software\\Korvex\\Korvex 2025\\Material";
const std::string kSection = "[HKEY_CURRENT_USER\\Software\\Korvex\\Korvex 2025\\Material]\r\n";

std::string Export(const std::string& body) { return "Windows Registry Editor Version 5.00\r\n\r\n" + body; }

using Value = std::tuple<std::u16string, RegistryType, Bytes>;

// The values of key in `content`, in order; nullopt when the key is missing.
std::optional<std::vector<Value>> Values(const std::string& content, std::u16string_view key = kKey) {
    std::optional<std::vector<RegFileValue>> values = ParseRegFileKey(content, key);
    if (!values) return std::nullopt;
    std::vector<Value> result;
    for (const RegFileValue& v : *values) result.emplace_back(v.name, v.value.type, v.value.data);
    return result;
}

Bytes Utf16Bytes(std::u16string_view text) {  // with its terminating null
    Bytes bytes;
    for (char16_t c : std::u16string(text) + u'\0') bytes.insert(bytes.end(), {static_cast<std::uint8_t>(c & 0xFF), static_cast<std::uint8_t>(c >> 8)});
    return bytes;
}

TEST(RegFile, ReadsEveryKindOfValueAndSkipsWhatItCannotRead) {
    const std::string content = Export(
        "; exported by hand\r\n" + kSection + "\"Path\"=\"C:\\\\Data\\\\ \\\"q\\\"\"\r\n\"Name \\\"x\\\"\"=\"\xC3\x96l\"\r\n@=\"\"\r\n  ; an indented comment\r\n"
        "\"Count\"=DWORD:0000012c ; trailing comment\r\n\"Blob\"=hex:01,ff, 2A ,\\\r\n\t00\r\n\"Expand\"=hex(2):41,00,00,00\r\n\"Multi\"=hex(7):\r\n\"End\"=\"x\\\\\"\r\n"
        // malformed lines
        "\"Unterminated\"=\"text\r\n\"Count\"=dword:123456789\r\n\"BadHex\"=hex:123\r\n\"Trailing\"=\"a\" b\r\nname=\"unquoted\"\r\n\"Unknown\"=qword:1\r\n\"Blob\"=hex(2)41\r\n"
        "garbage \xFF\xFE\r\n[broken section\r\n");
    EXPECT_EQ(Values(content), (std::vector<Value>{{u"Path", RegistryType::kString, Utf16Bytes(u"C:\\Data\\ \"q\"")}, {u"Name \"x\"", RegistryType::kString, Utf16Bytes(u"\u00D6l")},
                                                   {u"", RegistryType::kString, Bytes{0, 0}}, {u"Count", RegistryType::kDword, Bytes{0x2c, 0x01, 0, 0}},
                                                   {u"Blob", RegistryType::kBinary, Bytes{0x01, 0xff, 0x2a, 0x00}}, {u"Expand", RegistryType::kExpandString, Utf16Bytes(u"A")},
                                                   {u"Multi", RegistryType(7), Bytes{}}, {u"End", RegistryType::kString, Utf16Bytes(u"x\\")}}));
}

TEST(RegFile, SectionsMatchTheKeyInAnyCaseUnderTheCurrentUserOnly) {
    const std::string content = Export(
        "[HKEY_LOCAL_MACHINE\\Software\\Korvex\\Korvex 2025\\Material]\n\"Root\"=\"machine\"\n"
        "[hkcu\\SOFTWARE\\korvex\\KORVEX 2025\\material]\n\"Root\"=\"user\"\n\"Kept\"=dword:1\n\"Deleted\"=dword:1\n"
        "[HKEY_CURRENT_USER\\Software\\Korvex\\Korvex 2025\\Material\\Sub]\n\"Child\"=dword:1\n" +
        kSection + "\"kept\"=dword:2\n\"Deleted\"=-\n");
    EXPECT_EQ(Values(content), (std::vector<Value>{{u"Root", RegistryType::kString, Utf16Bytes(u"user")}, {u"Kept", RegistryType::kDword, Bytes{2, 0, 0, 0}}}));
    // A key named only by its subkeys exists without values; siblings and prefixes do not.
    EXPECT_TRUE(Values(content, u"software\\korvex")->empty() && Values(content, u"Software\\Korvex\\Korvex 2025\\Material\\Sub")->size() == 1u);
    EXPECT_EQ(RegFileKeys(content), (std::vector<std::u16string>{u"SOFTWARE\\korvex\\KORVEX 2025\\material", u"Software\\Korvex\\Korvex 2025\\Material\\Sub"}));
    EXPECT_TRUE(RegFileKeys("[HKEY_CURRENT_USER\\K]\n").empty());  // not an export
    EXPECT_FALSE(Values(content, u"Software\\Korvex\\Korvex 2024\\Material") || Values(content, u"Software\\Korv"));
}

TEST(RegFile, AcceptsBothHeadersAndEncodingsAndNothingElse) {
    const std::string body = "[HKEY_CURRENT_USER\\K]\r\n\"V\"=\"\xCE\xA9\"\r\n";
    std::string utf16le = "\xFF\xFE";
    for (char16_t c : Utf8ToUtf16(Export(body))) utf16le += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    for (const std::string& content : {"REGEDIT4\r\n" + body, "\xEF\xBB\xBF" + Export(body), utf16le, utf16le + "A"})
        EXPECT_EQ(std::get<Bytes>(Values(content, u"K")->at(0)), Utf16Bytes(u"\u03A9"));
    for (const std::string& content : {body, "Windows Registry Editor Version 4.00\n" + body, std::string()})
        EXPECT_FALSE(ParseRegFileKey(content, u"K"));
}

// A hive whose favourite count is `count`, and that count as a key opened now reads it.
std::string Hive(const std::string& count) {
    return Export(kSection + "\"__NumOfFavs\"=dword:" + count + "\n\"_FavMaterial1\"=\"x\"\n\"_FAVMATERIAL1\"=\"y\"\n");
}
std::optional<std::uint32_t> Count() {
    const std::optional<RegistryKey> key = RegistryKey::OpenCurrentUser(std::u16string(kKey));
    return key ? key->ReadDword(u"__numoffavs") : std::nullopt;
}

TEST(RegistryKey, EachOpeningReadsTheNamedFileAfreshElseTheUserConfigurationFoldersAndAnOpenKeyKeepsWhatItRead) {
#ifdef _WIN32
    GTEST_SKIP() << "the registry export file is the POSIX hive; Windows reads the registry itself";
#endif
    const test::TempDir dir;
    SetEnvironmentValue("KXT_REGISTRY_FILE", (dir.Path() / "hive.reg").string());
    EXPECT_EQ(Count(), std::nullopt);
    dir.Write("hive.reg", Hive("2"));
    const std::optional<RegistryKey> key = RegistryKey::OpenCurrentUser(std::u16string(kKey));
    ASSERT_TRUE(key);
    EXPECT_EQ(key->ValueNames(), (std::vector<std::u16string>{u"__NumOfFavs", u"_FavMaterial1"}));
    EXPECT_EQ(key->ReadValue(u"_favmaterial1")->data, Utf16Bytes(u"y"));  // the later of two names alike
    dir.Write("hive.reg", Hive("3"));
    EXPECT_TRUE(key->ReadDword(u"__NumOfFavs") == 2u && Count() == 3u);
    // Without it, the user configuration folder.
    RemoveEnvironmentValue("KXT_REGISTRY_FILE");
    for (const auto& [folder, count] : {std::pair("xdg", "4"), std::pair("home/.config", "5")}) {
        fs::create_directories(dir.Path() / folder / "kxterra");
        dir.Write(std::string(folder) + "/kxterra/registry.reg", Hive(count));
    }
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const std::string savedXdg = xdg ? xdg : "";
    SetEnvironmentValue("HOME", (dir.Path() / "home").string());
    SetEnvironmentValue("XDG_CONFIG_HOME", (dir.Path() / "xdg").string());
    EXPECT_EQ(Count(), 4u);
    SetEnvironmentValue("XDG_CONFIG_HOME", "relative");
    EXPECT_EQ(Count(), 5u);
    SetEnvironmentValue("HOME", home);
    xdg ? SetEnvironmentValue("XDG_CONFIG_HOME", savedXdg) : RemoveEnvironmentValue("XDG_CONFIG_HOME");
}

// The hive as each platform keeps it: Windows' registry written through its API, or the export file.
TEST(RegistryKey, ReadsEachValueWithItsTypeAndBytesByNameInAnyCase) {
    test::UseRegistryExport(Export(kSection + "\"\xC3\x96lName\"=\"\xE6\x9D\x90\xE6\x96\x99 \xC3\x9C\"\n\"Count\"=dword:0000012c\n"
                                              "\"Odd\"=hex(2):41,00,42\n\"NoZero\"=hex(2):41,00,42,00\n\"Empty\"=hex:\n@=\"default\"\n"));
    const std::optional<RegistryKey> key = RegistryKey::OpenCurrentUser(u"SOFTWARE\\korvex\\Korvex 2025\\MATERIAL");
    ASSERT_TRUE(key);
    std::vector<std::u16string> names = key->ValueNames();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::u16string>{u"", u"Count", u"Empty", u"NoZero", u"Odd", u"\u00D6lName"}));
    EXPECT_EQ(key->ReadValue(u"\u00F6lname")->data, Utf16Bytes(u"\u6750\u6599 \u00DC"));
    EXPECT_TRUE(key->ReadDword(u"COUNT") == 300u && key->ReadValue(u"")->data == Utf16Bytes(u"default"));
    const std::optional<RegistryValue> odd = key->ReadValue(u"odd");
    EXPECT_TRUE(odd && odd->type == RegistryType::kExpandString && odd->data == (Bytes{0x41, 0, 0x42}));
    EXPECT_EQ(key->ReadValue(u"NoZero")->data, (Bytes{0x41, 0, 0x42, 0}));  // as stored: no terminator added
    EXPECT_TRUE(key->ReadValue(u"Empty")->data.empty() && !key->ReadValue(u"Missing") && !key->ReadDword(u"Odd"));
    EXPECT_FALSE(RegistryKey::OpenCurrentUser(u"Software\\Korvex\\Korvex 2024\\Material"));
    test::UseRegistryExport(Export(""));
}

}  // namespace
}  // namespace kxt::platform
