// Favourite materials read from the host's registry key: the key, the count,
// the value shapes that are taken or skipped, where each entry is looked for,
// and the questions asked of the list.
#include <kxtmat/kxtmat.h>

#include <cstdio>

#include <gtest/gtest.h>

#include "manager_loading_fixture.h"

namespace {

using namespace kxt::test;
using Names = std::vector<std::u16string>;

// A .reg hex list of the UTF-16LE bytes of text followed by `zeros` zero bytes.
std::string Hex(std::string_view text, int zeros) {
    std::string hex;
    char byte[8];
    for (char c : text) hex += (std::snprintf(byte, sizeof byte, "%02x,00,", static_cast<unsigned char>(c)), byte);
    for (int i = 0; i < zeros; ++i) hex += "00,";
    hex.pop_back();
    return hex;
}

std::string Value(int index, const std::string& data) { return "\"_FavMaterial" + std::to_string(index) + "\"=" + data; }

class ManagerFavouritesTest : public ::testing::Test {
protected:
    void SetUp() override {
        UseRegistry({});
        libraries_ = NewCustomLibraries();
        longNames_ = WriteFile(FolderOf(libraries_.myMaterials), "Long Names.kvxmat",
                               LibraryXml({{"Long", {{std::string(252, 'L')}, {std::string(253, 'M')}, {std::string(298, 'N')}, {"\xC3\x96l-Stahl \xCE\xA9"}}}}));
    }

    void LoadAll() {
        Load(manager_, NewUserFolder(false),
             {LangFolderLibrary(u"korvex materials.kvxmat"), libraries_.myMaterials, libraries_.otherMaterials, longNames_});
    }

    kxtMaterialBase* Custom(unsigned k, unsigned j) { return MaterialAt(manager_.GetCustomDBs()[k], 0, j); }

    kxtMaterialDBsManager manager_;
    CustomLibraries libraries_;
    std::u16string longNames_;
};

TEST_F(ManagerFavouritesTest, EntriesResolveInTheirLibraryByNativeOrLanguageNameInAnyCase) {
    UseRegistry({{2025, FavouriteLines({
                            "KORVEX MATERIALS|" + std::string(English() ? "CARBON STEEL" : "ACIER AU CARBONE"),
                            "korvex din materials|1.4301|third field",
                            "korvex materials|1.4301",    // a DIN material is not in the standard library
                            "Widget",                     // no bar: a material name, custom libraries only
                            "Nylon",
                            "unrelated library|Bracket",  // the library name does not choose the custom database
                            "other materials|Bracket",
                            "x|\xC3\xB6L-STAHL \xCF\x89",  // Öl-Stahl Ω in another case
                        })}});
    LoadAll();
    EXPECT_EQ(manager_.GetFavoritesMaterials(), (std::vector<kxtMaterialBase*>{MaterialAt(*manager_.GetKxNativeDB(), 0, 0),
                                                  MaterialAt(*manager_.GetKxNativeDinDB(), 0, 1), Custom(1, 1), Custom(0, 0), Custom(0, 0), Custom(2, 3)}));
}

// Values named exactly "_FavMaterial<n>" (any case of the prefix, no leading
// zero) up to a signed count are read, however far apart; terminated string
// values of at most 254 characters are taken, other values skipped.
TEST_F(ManagerFavouritesTest, StringValuesOfTheVersionsKeyNamedByTheirNumberUpToTheCountAreTaken) {
    LoadAll();
    const std::string nylon = "\"korvex materials|Nylon\"";
    const std::pair<std::vector<std::string>, Names> cases[] = {
        {{"\"__NumOfFavs\"=dword:00000003", Value(1, nylon), Value(3, "\"x|Widget\""), Value(4, "\"x|Bracket\"")},
         {u"Nylon", u"Widget"}},
        {{"\"__NumOfFavs\"=dword:7fffffff", Value(1, nylon), Value(5000, "\"x|Widget\""), "\"_FAVMATERIAL6000\"=\"x|Bracket\"",
          "\"_FavMaterial07\"=\"x|Bracket\"", "\"_FavMaterialX\"=\"x|Bracket\"", "\"_FavMaterial0\"=\"x|Plain\"",
          Value(2147483647, "\"x|Plain\"")},
         {u"Nylon", u"Widget", u"Bracket", u"Plain"}},
        {{"\"__NumOfFavs\"=dword:00001770", Value(5000, "\"x|Widget\""), Value(6001, "\"x|Bracket\"")}, {u"Widget"}},
        {{"\"__NumOfFavs\"=dword:00000009", Value(1, "\"x|" + std::string(252, 'L') + "\""),  // 254: the longest taken
          Value(2, "\"x|" + std::string(253, 'M') + "\""), Value(3, "\"x|" + std::string(298, 'N') + "\""),
          Value(4, "hex(2):" + Hex("korvex materials|Nylon", 2)), Value(5, "hex:" + Hex("korvex materials|Nylon", 2)),
          Value(6, "hex(2):" + Hex("korvex materials|Nylon", 0)), Value(7, "hex(2):" + Hex("korvex materials|Nylon", 3)),
          Value(8, "dword:00000001"), Value(9, "\"x|Widget\"")},
         {std::u16string(252, u'L'), u"Nylon", u"Widget"}},
        // A count not above zero or unreadable, or no count at all: nothing.
        {{"\"__NumOfFavs\"=dword:ffffffff", Value(1, nylon)}, {}}, {{"\"__NumOfFavs\"=\"1\"", Value(1, nylon)}, {}},
        {{"\"__NumOfFavs\"=dword:00000000", Value(1, nylon)}, {}}, {{Value(1, nylon)}, {}},
    };
    for (const auto& [lines, expected] : cases) {
        UseRegistry({{2025, lines}});
        EXPECT_EQ(NamesOf(manager_.LoadFavoritesMaterialsFromRegistry()), expected) << lines.front();
    }
    UseRegistry({{2024, FavouriteLines({"korvex materials|Nylon"})}});
    EXPECT_TRUE(manager_.LoadFavoritesMaterialsFromRegistry().empty()) << "no key for this version";
    EXPECT_TRUE(manager_.GetFavoritesMaterials().empty());

    // The key names the host version plus 1992 in 16-bit arithmetic.
    UseRegistry({{1991, FavouriteLines({"x|Widget"})}, {1992, FavouriteLines({"korvex materials|Nylon"})},
                 {2025, FavouriteLines({"x|Bracket"})}, {67527, FavouriteLines({"korvex materials|Carbon Steel"})}});
    for (const auto& [version, expected] : {std::pair<unsigned short, std::u16string>{0, u"Nylon"}, {33, u"Bracket"}, {65535, u"Widget"}}) {
        manager_.SetKXVersion(version);
        EXPECT_EQ(NamesOf(manager_.LoadFavoritesMaterialsFromRegistry()), (Names{expected})) << "version " << version;
    }
}

TEST_F(ManagerFavouritesTest, FavouritesAreFoundByNameAndRecognisedByClassAndExactNativeName) {
    UseRegistry({{2025, FavouriteLines({"korvex materials|Carbon Steel", "my materials|Bracket"})}});
    LoadAll();
    kxtMaterialBase *carbonSteel = MaterialAt(*manager_.GetKxNativeDB(), 0, 0), *myBracket = Custom(0, 0);

    const std::pair<const char16_t*, kxtMaterialBase*> found[] = {
        {u"carbon STEEL", carbonSteel}, {English() ? u"Carbon Steel" : u"acier AU carbone", carbonSteel},
        {u"bracket", myBracket}, {u"Widget", nullptr}};
    for (const auto& [name, material] : found) EXPECT_EQ(manager_.GetFavoritesMaterial(name), material);

    kxtMaterialBase copy = *myBracket;  // same class, another object
    EXPECT_EQ(manager_.HasFavoritesMaterial(&copy), 1);
    EXPECT_EQ(manager_.HasFavoritesMaterial(nullptr) + manager_.HasFavoritesMaterial(Custom(1, 0)), 0) << "the same name in another class";
    copy.SetName(u"BRACKET");
    EXPECT_EQ(manager_.HasFavoritesMaterial(&copy), 0);
}

}  // namespace
