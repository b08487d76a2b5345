// The DIN mapping file: its line rules, its chunked reading, and what the
// mapping copies from standard materials to their DIN partners.
#include <gtest/gtest.h>

#include <string>

#include <kxtmat/kxtmat.h>

#include "mapping/din_mapper.h"
#include "support/temp_dir.h"

namespace kxt::mapping {
namespace {

using Mapping = std::map<std::u16string, std::u16string, std::less<>>;

Mapping MappingOfFile(std::string_view bytes) {
    test::TempDir dir;
    dir.Write("map.txt", bytes);
    kxtDINMapper mapper(nullptr, nullptr);
    mapper.LoadFile(dir.File("map.txt"));
    mapper.MapDINMaterials();  // no databases: nothing to map, nothing to fail
    return mapper.Mapping();
}

TEST(DinMapperFile, LinesGiveTheirFirstWordAndTheTextFromKeyLengthPlusOne) {
    // The value is counted from the line's start, a tab is no separator, the
    // first line of a key wins, keys keep their case, carriage returns stay,
    // empty lines are skipped and a byte order mark joins the first key.
    const std::pair<std::string, Mapping> cases[] = {
        {"X Y Z", {{u"X", u"Y Z"}}},
        {" X Y\n  AB CD", {{u"X", u" Y"}, {u"AB", u"B CD"}}},
        {"X\nZ \nT\tY", {{u"X", u""}, {u"Z", u""}, {u"T\tY", u""}}},
        {"X Y\nX Z\nx W", {{u"X", u"Y"}, {u"x", u"W"}}},
        {"\n\nA 1\r\n\n\nB 2", {{u"A", u"1\r"}, {u"B", u"2"}}},
        {"", {}},
    };
    for (const auto& [bytes, expected] : cases) EXPECT_EQ(MappingOfFile(bytes), expected) << bytes;
    EXPECT_EQ(MappingOfFile("\xEF\xBB\xBF" "A 1\nB 2\n").count(u"A"), 0u);

    test::TempDir dir;
    kxtDINMapper mapper(nullptr, nullptr);
    mapper.LoadFile(dir.File("absent.txt"));
    EXPECT_TRUE(mapper.Mapping().empty());
}

TEST(DinMapperFile, ChunksOf4095BytesEndAtAZeroByteAndJoinTheirTexts) {
    std::string bytes = "A 1\nB";
    bytes.push_back('\0');
    bytes += " lost\nLOST 0\n";
    bytes.resize(4095, 'x');
    bytes += " 2\nC 3";
    EXPECT_EQ(MappingOfFile(bytes), (Mapping{{u"A", u"1"}, {u"B", u"2"}, {u"C", u"3"}}));

    std::string lines;
    int n = 0;
    for (; lines.size() < 3 * 4095; ++n) lines += "DIN" + std::to_string(n) + " STD" + std::to_string(n) + "\n";
    const Mapping mapping = MappingOfFile(lines);
    ASSERT_EQ(mapping.size(), static_cast<std::size_t>(n)) << "lines across chunk boundaries read whole";
    EXPECT_EQ(mapping.at(u"DIN" + std::u16string(1, u'0' + static_cast<char16_t>((n - 1) % 10))).back(),
              u'0' + static_cast<char16_t>((n - 1) % 10));
}

kxtMaterialBase MakeMaterial(kxtMaterialClass& group, int type, std::u16string name, std::u16string id) {
    kxtMaterialBase material(&group);
    material.SetMaterialType(static_cast<eKxtMaterialType>(type));
    material.SetName(std::move(name));
    material.SetMaterialID(std::move(id));
    return material;
}

class DinMappingTest : public ::testing::Test {
protected:
    void SetUp() override {
        native_.SetDBType(eKxtNativeDB);
        din_.SetDBType(eKxtNativeDinDB);
        // An earlier material whose language name is the partner's native name.
        kxtMaterialClass metals(&native_);
        metals.SetName(u"Metals");
        kxtMaterialBase alias = MakeMaterial(metals, 0, u"Alias", u"9");
        alias.SetLangName(u"Plain Carbon Steel");
        alias.SetLangCLassName(u"Métaux");
        metals.InsertMaterial(alias);
        native_.InsertGroup(metals);

        kxtMaterialClass steel(&native_);
        steel.SetName(u"Steel");
        kxtMaterialBase carbon = MakeMaterial(steel, 0, u"Plain Carbon Steel", u"abc");
        carbon.SetGaBiName(u"Steel billet");
        carbon.SetEnvData(1);
        kxtManufacturingProcess milled;
        milled.SetGaBiName(u"milled_part");
        carbon.InsertProc(milled);
        carbon.InsertManufacturingParams(u"milled_part", {1.5, 3.0});
        carbon.SetRecycledContentLimits(80.0, 10.0, 25.0);
        carbon.SetRecycledContentAmount(40.0);
        carbon.SetRecycledContentLimits(30.0, 10.0, 25.0);  // the stored 40 is now above the maximum
        steel.InsertMaterial(carbon);
        steel.InsertMaterial(MakeMaterial(steel, 0, u"Twin", u"ABC"));  // the same identifier later: never the answer
        native_.InsertGroup(steel);

        kxtMaterialClass dinSteel(&din_);
        for (const char16_t* id : {u"1.0038", u"din-a", u"1.0401"}) {
            kxtMaterialBase m = MakeMaterial(dinSteel, 1, std::u16string(u"S ") + id, id);
            m.SetRecycledContentLimits(100.0, 0.0, 0.0);
            m.SetRecycledContentAmount(5.0);
            dinSteel.InsertMaterial(m);
        }
        din_.InsertGroup(dinSteel);
    }

    kxtMaterialBase& Din(unsigned index) { return *din_.GetMaterialClass(0)->GetMaterial(index); }

    void Map(std::string_view bytes) {
        test::TempDir dir;
        dir.Write("map.txt", bytes);
        kxtDINMapper mapper(&native_, &din_);
        mapper.LoadFile(dir.File("map.txt"));
        mapper.MapDINMaterials();
    }

    kxtMaterialDB native_;
    kxtMaterialDB din_;
};

TEST_F(DinMappingTest, CopiesTheDataOfTheFirstStandardMaterialWithTheIdentifier) {
    // Keys match with case, values without; an empty value, an unknown
    // identifier and a carriage return resolve to nothing.
    Map("1.0038 ABC\nDIN-A abc\n1.0401\n");
    Map("din-a missing\n1.0401 abc\r\n");
    const kxtMaterialBase& din = Din(0);
    EXPECT_EQ(din.GetGabiName(), u"Steel billet");
    EXPECT_EQ(din.GetEnvData(), 1);
    ASSERT_EQ(din.GetProcCount(), 1u);
    EXPECT_EQ(din.GetManufacturingProcToEnergyParamMap().at(u"milled_part"), (std::vector<double>{1.5, 3.0}));
    EXPECT_EQ(din.GetRecycledContentMax(), 30.0);
    EXPECT_EQ(din.GetRecycledContentMin(), 10.0);
    EXPECT_EQ(din.GetTradeMix(), 25.0);
    EXPECT_EQ(din.GetRecycledContentAmount(), 30.0) << "confined to the copied limits";
    EXPECT_EQ(din.GetName(), u"S 1.0038") << "the DIN material keeps its own identity";
    EXPECT_EQ(din.GetType(), static_cast<eKxtMaterialType>(1));
    for (unsigned i : {1u, 2u}) {
        EXPECT_TRUE(Din(i).GetGabiName().empty()) << i;
        EXPECT_EQ(Din(i).GetRecycledContentAmount(), 5.0) << i;
    }
}

TEST_F(DinMappingTest, NativeClassNameFollowsTheFirstNameMatchOfTheStandardLibrary) {
    // An earlier material's language name equals the partner's name: that
    // class's language name, not the partner's class.
    Map("1.0038 abc\n");
    EXPECT_EQ(Din(0).GetNativeClassName(), u"Métaux");
    // A partner first named by its own native name gives its class's name;
    // two DIN materials may share a partner.
    Map("1.0038 9\ndin-a 9\n");
    EXPECT_EQ(Din(0).GetNativeClassName(), u"Metals");
    EXPECT_EQ(Din(1).GetNativeClassName(), u"Metals");
}

}  // namespace
}  // namespace kxt::mapping
