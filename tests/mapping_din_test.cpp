// The DIN mapping file: its line rules, its chunked reading, and what the
// mapping copies from standard materials to their DIN partners.
#include <gtest/gtest.h>

#include <string>

#include <kxtmat/kxtmat.h>

#include "mapping/din_mapper.h"
#include "platform/text.h"
#include "support/temp_dir.h"

namespace kxt::mapping {
namespace {

using Mapping = std::map<std::u16string, std::u16string, std::less<>>;

// Reads bytes as the mapping file and maps native into din (both may be null).
Mapping MapFile(std::string_view bytes, kxtMaterialDB* native = nullptr, kxtMaterialDB* din = nullptr) {
    test::TempDir dir;
    dir.Write("map.txt", bytes);
    kxtDINMapper mapper(native, din);
    mapper.LoadFile(dir.File("map.txt"));
    mapper.LoadFile(dir.File("absent.txt"));  // adds nothing
    mapper.MapDINMaterials();
    return mapper.Mapping();
}

TEST(DinMapperFile, LinesGiveTheirFirstWordAndTheTextFromKeyLengthPlusOne) {
    // The value is counted from the line's start, a tab is no separator, the
    // first line of a key wins, keys keep their case, carriage returns stay,
    // empty lines are skipped and a byte order mark joins the first key.
    const std::pair<std::string, Mapping> cases[] = {
        {"X Y Z", {{u"X", u"Y Z"}}}, {" X Y\n  AB CD", {{u"X", u" Y"}, {u"AB", u"B CD"}}}, {"", {}},
        {"X\nZ \nT\tY", {{u"X", u""}, {u"Z", u""}, {u"T\tY", u""}}}, {"X Y\nX Z\nx W", {{u"X", u"Y"}, {u"x", u"W"}}},
        {"\n\nA 1\r\n\n\nB 2", {{u"A", u"1\r"}, {u"B", u"2"}}}};
    for (const auto& [bytes, expected] : cases) EXPECT_EQ(MapFile(bytes), expected) << bytes;
    EXPECT_EQ(MapFile("\xEF\xBB\xBF" "A 1\nB 2\n").count(u"A"), 0u);
    // Bytes above ASCII are read in the ANSI code page (windows-1252 in the Windows tests, none in the C locale).
    EXPECT_EQ(MapFile("St\xE4hl 1.0038\xB0\n"), (Mapping{{u"St" + platform::AnsiToUtf16("\xE4") + u"hl", u"1.0038" + platform::AnsiToUtf16("\xB0")}}));
}

TEST(DinMapperFile, ChunksOf4095BytesEndAtAZeroByteAndJoinTheirTexts) {
    const std::string chunk = std::string("A 1\nB\0 lost\nLOST 0\n", 18) + std::string(4095 - 18, 'x');
    EXPECT_EQ(MapFile(chunk + " 2\nC 3"), (Mapping{{u"A", u"1"}, {u"B", u"2"}, {u"C", u"3"}}));

    std::string lines;
    std::size_t n = 0;
    for (; lines.size() < 3 * 4095; ++n) lines += "DIN" + std::to_string(n) + " STD" + std::to_string(n) + "\n";
    const Mapping mapping = MapFile(lines);
    EXPECT_EQ(mapping.size(), n) << "lines across chunk boundaries read whole";
    for (const auto& [key, value] : mapping) EXPECT_EQ(key.substr(3), value.substr(3));
}

class DinMappingTest : public ::testing::Test {
protected:
    // A material in the last class of db, which is a new class unless its name is className.
    kxtMaterialBase& Add(kxtMaterialDB& db, std::u16string className, std::u16string name, std::u16string id) {
        const auto last = [&db] { return db.GetGroupCount() == 0 ? nullptr : db.GetMaterialClass(static_cast<int>(db.GetGroupCount()) - 1); };
        if (!last() || last()->GetName() != className) { db.InsertGroup(kxtMaterialClass()); last()->SetName(className); }
        kxtMaterialBase material(last());
        material.SetMaterialType(&db == &din_ ? eKxtDinMaterial : eKxtStandardMaterial);
        material.SetName(std::move(name));
        material.SetMaterialID(std::move(id));
        last()->InsertMaterial(material);
        return *last()->GetMaterial(last()->GetMaterialCount() - 1);
    }

    void SetUp() override {
        native_.SetDBType(eKxtNativeDB);
        din_.SetDBType(eKxtNativeDinDB);
        // An earlier material whose language name is the partner's native name.
        kxtMaterialBase& alias = Add(native_, u"Metals", u"Alias", u"9");
        alias.SetLangName(u"Plain Carbon Steel");
        alias.SetLangCLassName(u"Métaux");
        kxtMaterialBase& carbon = Add(native_, u"Steel", u"Plain Carbon Steel", u"abc");
        carbon.SetGaBiName(u"Steel billet");
        carbon.SetEnvData(1);
        carbon.InsertProc(kxtManufacturingProcess());
        carbon.InsertManufacturingParams(u"milled_part", {1.5, 3.0});
        carbon.SetRecycledContentLimits(80.0, 10.0, 25.0);
        carbon.SetRecycledContentAmount(40.0);
        carbon.SetRecycledContentLimits(30.0, 10.0, 25.0);  // the stored 40 is now above the maximum
        Add(native_, u"Steel", u"Twin", u"ABC");            // the same identifier later: never the answer
        for (const char16_t* id : {u"1.0038", u"din-a", u"1.0401"}) {
            kxtMaterialBase& m = Add(din_, u"", std::u16string(u"S ") + id, id);
            m.SetRecycledContentLimits(100.0, 0.0, 0.0);
            m.SetRecycledContentAmount(5.0);
        }
    }

    kxtMaterialBase& Din(unsigned index) { return *din_.GetMaterialClass(0)->GetMaterial(index); }

    kxtMaterialDB native_, din_;
};

TEST_F(DinMappingTest, CopiesTheDataOfTheFirstStandardMaterialWithTheIdentifier) {
    // Keys match with case, values without; an empty value, an unknown identifier and a carriage return resolve to nothing.
    MapFile("1.0038 ABC\nDIN-A abc\n1.0401\n", &native_, &din_);
    MapFile("din-a missing\n1.0401 abc\r\n", &native_, &din_);
    const kxtMaterialBase& din = Din(0);
    EXPECT_TRUE(din.GetGabiName() == u"Steel billet" && din.GetEnvData() == 1 && din.GetProcCount() == 1u);
    EXPECT_EQ(din.GetManufacturingProcToEnergyParamMap().at(u"milled_part"), (std::vector<double>{1.5, 3.0}));
    EXPECT_EQ((std::vector{din.GetRecycledContentMax(), din.GetRecycledContentMin(), din.GetTradeMix(), din.GetRecycledContentAmount()}),
              (std::vector{30.0, 10.0, 25.0, 30.0})) << "the amount confined to the copied limits";
    EXPECT_TRUE(din.GetName() == u"S 1.0038" && din.GetType() == eKxtDinMaterial) << "the DIN material keeps its own identity";
    for (unsigned i : {1u, 2u}) EXPECT_TRUE(Din(i).GetGabiName().empty() && Din(i).GetRecycledContentAmount() == 5.0) << i;
}

TEST_F(DinMappingTest, NativeClassNameFollowsTheFirstNameMatchOfTheStandardLibrary) {
    MapFile("1.0038 abc\n", &native_, &din_);  // an earlier material's language name is the partner's name: its language class name
    EXPECT_EQ(Din(0).GetNativeClassName(), u"Métaux");
    // A partner first named by its own native name gives its class's name; two DIN materials may share a partner.
    MapFile("1.0038 9\ndin-a 9\n", &native_, &din_);
    EXPECT_TRUE(Din(0).GetNativeClassName() == u"Metals" && Din(1).GetNativeClassName() == u"Metals");
}

}  // namespace
}  // namespace kxt::mapping
