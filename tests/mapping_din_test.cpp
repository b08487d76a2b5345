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

Mapping MappingOfLines(std::initializer_list<std::u16string_view> lines) {
    kxtDINMapper mapper(nullptr, nullptr);
    for (std::u16string_view line : lines) mapper.ParseLine(line);
    return mapper.Mapping();
}

Mapping MappingOfFile(std::string_view bytes) {
    test::TempDir dir;
    dir.Write("DINMaterialsMapper.txt", bytes);
    kxtDINMapper mapper(nullptr, nullptr);
    mapper.LoadFile(dir.File("DINMaterialsMapper.txt"));
    return mapper.Mapping();
}

TEST(DinMapperLine, ValueIsEverythingAfterTheKeysLengthPlusOne) {
    EXPECT_EQ(MappingOfLines({u"X Y Z"}), (Mapping{{u"X", u"Y Z"}}));
    // Counted from the line's start: the leading space shifts the value left.
    EXPECT_EQ(MappingOfLines({u" X Y"}), (Mapping{{u"X", u" Y"}}));
    EXPECT_EQ(MappingOfLines({u"  AB CD"}), (Mapping{{u"AB", u"B CD"}}));
    EXPECT_EQ(MappingOfLines({u"1.0038 1234\r"}), (Mapping{{u"1.0038", u"1234\r"}}));
}

TEST(DinMapperLine, LineWithoutValueMapsToEmpty) {
    EXPECT_EQ(MappingOfLines({u"X"}), (Mapping{{u"X", u""}}));
    EXPECT_EQ(MappingOfLines({u"X "}), (Mapping{{u"X", u""}}));
    // A tab is not a separator.
    EXPECT_EQ(MappingOfLines({u"X\tY"}), (Mapping{{u"X\tY", u""}}));
}

TEST(DinMapperLine, FirstLineOfAKeyWinsAndKeysKeepTheirCase) {
    EXPECT_EQ(MappingOfLines({u"X Y", u"X Z", u"x W"}), (Mapping{{u"X", u"Y"}, {u"x", u"W"}}));
}

TEST(DinMapperFile, MissingFileGivesNothing) {
    test::TempDir dir;
    kxtDINMapper mapper(nullptr, nullptr);
    mapper.LoadFile(dir.File("absent.txt"));
    mapper.LoadFile(dir.File(""));
    EXPECT_TRUE(mapper.Mapping().empty());
}

TEST(DinMapperFile, EmptyLinesAreSkippedAndTheLastLineNeedsNoNewline) {
    EXPECT_EQ(MappingOfFile("\n\nA 1\n\n\nB 2\nC 3"), (Mapping{{u"A", u"1"}, {u"B", u"2"}, {u"C", u"3"}}));
    EXPECT_TRUE(MappingOfFile("").empty());
    EXPECT_TRUE(MappingOfFile("\n\n\n").empty());
}

TEST(DinMapperFile, CarriageReturnsStayInTheValues) {
    EXPECT_EQ(MappingOfFile("A 1\r\nB 2\r\n"), (Mapping{{u"A", u"1\r"}, {u"B", u"2\r"}}));
}

TEST(DinMapperFile, AByteOrderMarkBecomesPartOfTheFirstKey) {
    const Mapping mapping = MappingOfFile("\xEF\xBB\xBF" "A 1\nB 2\n");
    EXPECT_EQ(mapping.size(), 2u);
    EXPECT_EQ(mapping.count(u"A"), 0u);
    EXPECT_EQ(mapping.count(u"B"), 1u);
}

TEST(DinMapperFile, AZeroByteEndsItsChunksText) {
    // The rest of the first chunk after the zero byte is lost; the second
    // chunk is read on its own.
    std::string bytes = "A 1\nB";
    bytes.push_back('\0');
    bytes += " lost\nLOST 0\n";
    bytes.resize(4095, 'x');
    bytes += " 2\nC 3\n";
    const Mapping mapping = MappingOfFile(bytes);
    EXPECT_EQ(mapping.size(), 3u);
    EXPECT_EQ(mapping.at(u"A"), u"1");
    // The chunk texts are joined: "B" continues with the second chunk.
    EXPECT_EQ(mapping.at(u"B"), u"2");
    EXPECT_EQ(mapping.count(u"LOST"), 0u);
    EXPECT_EQ(mapping.at(u"C"), u"3");
}

TEST(DinMapperFile, LinesStraddlingTheChunkBoundaryReadWhole) {
    std::string bytes;
    int n = 0;
    for (; bytes.size() < 3 * 4095; ++n) bytes += "DIN" + std::to_string(n) + " STD" + std::to_string(n) + "\n";
    const Mapping mapping = MappingOfFile(bytes);
    ASSERT_EQ(mapping.size(), static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const std::string digits = std::to_string(i);
        ASSERT_EQ(mapping.count(u"DIN" + std::u16string(digits.begin(), digits.end())), 1u) << i;
    }
    EXPECT_EQ(mapping.at(u"DIN0"), u"STD0");
}

TEST(DinMapperFile, AFileOfExactlyOneChunkReadsWhole) {
    std::string bytes = "A 1\n";
    bytes.append(4095 - bytes.size() - 4, 'z');
    bytes += " end";
    ASSERT_EQ(bytes.size(), 4095u);
    const Mapping mapping = MappingOfFile(bytes);
    EXPECT_EQ(mapping.size(), 2u);
    EXPECT_EQ(mapping.at(u"A"), u"1");
    EXPECT_EQ(mapping.at(std::u16string(4095 - 8, u'z')), u"end");
}

TEST(DinMapperFile, BinaryGarbageNeverFails) {
    std::string bytes;
    for (int i = 0; i < 20000; ++i) bytes.push_back(static_cast<char>((i * 7919) % 251 + 1));
    kxtDINMapper mapper(nullptr, nullptr);
    test::TempDir dir;
    dir.Write("garbage.txt", bytes);
    mapper.LoadFile(dir.File("garbage.txt"));
    EXPECT_FALSE(mapper.Mapping().empty());
    mapper.MapDINMaterials();
}

// A material of the given type, name and identifier held by group.
kxtMaterialBase MakeMaterial(kxtMaterialClass& group, int type, std::u16string name, std::u16string id) {
    kxtMaterialBase material(&group);
    material.SetMaterialType(static_cast<eKxtMaterialType>(type));
    material.SetName(std::move(name));
    material.SetMaterialID(std::move(id));
    return material;
}

// A standard and a DIN database built in memory.
class DinMappingTest : public ::testing::Test {
protected:
    void SetUp() override {
        native_.SetDBType(eKxtNativeDB);
        din_.SetDBType(eKxtNativeDinDB);

        // An earlier material whose language name is the native name of the
        // standard partner.
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
        milled.SetNativeName(u"Milled");
        milled.SetGaBiName(u"milled_part");
        carbon.InsertProc(milled);
        carbon.InsertManufacturingParams(u"milled_part", {1.5, 3.0});
        carbon.SetRecycledContentLimits(80.0, 10.0, 25.0);
        carbon.SetRecycledContentAmount(40.0);
        carbon.SetIsEditableRecycledContentAmount(true);
        steel.InsertMaterial(carbon);
        // The same identifier again, in other letters: never the answer.
        kxtMaterialBase twin = MakeMaterial(steel, 0, u"Twin", u"ABC");
        twin.SetGaBiName(u"Twin billet");
        steel.InsertMaterial(twin);
        native_.InsertGroup(steel);

        kxtMaterialClass dinSteel(&din_);
        dinSteel.SetName(u"Stahl");
        for (const char16_t* id : {u"1.0038", u"din-a", u"1.0401"}) {
            kxtMaterialBase m = MakeMaterial(dinSteel, 1, std::u16string(u"S ") + id, id);
            m.SetProperty(u"DENS", kxtMatPhysProp(u"Mass density", 7.85));
            m.SetRecycledContentLimits(100.0, 0.0, 0.0);
            m.SetRecycledContentAmount(5.0);
            dinSteel.InsertMaterial(m);
        }
        din_.InsertGroup(dinSteel);
    }

    kxtMaterialBase* Din(unsigned index) { return din_.GetMaterialClass(0)->GetMaterial(index); }

    void MapWithFile(std::string_view bytes) {
        test::TempDir dir;
        dir.Write("map.txt", bytes);
        kxtDINMapper mapper(&native_, &din_);
        mapper.LoadFile(dir.File("map.txt"));
        mapper.MapDINMaterials();
    }

    kxtMaterialDB native_;
    kxtMaterialDB din_;
};

TEST_F(DinMappingTest, CopiesEnvironmentalDataFromTheFirstStandardMaterialWithTheIdentifier) {
    MapWithFile("1.0038 ABC\n");
    const kxtMaterialBase& din = *Din(0);
    EXPECT_EQ(din.GetGabiName(), u"Steel billet");
    EXPECT_EQ(din.GetEnvData(), 1);
    ASSERT_EQ(din.GetProcCount(), 1u);
    EXPECT_EQ(din.GetManufacturingTypes()[0].GetGaBiName(), u"milled_part");
    EXPECT_EQ(din.GetManufacturingProcToEnergyParamMap().at(u"milled_part"), (std::vector<double>{1.5, 3.0}));
    EXPECT_EQ(din.GetRecycledContentMax(), 80.0);
    EXPECT_EQ(din.GetRecycledContentMin(), 10.0);
    EXPECT_EQ(din.GetTradeMix(), 25.0);
    EXPECT_EQ(din.GetRecycledContentAmount(), 40.0);
}

TEST_F(DinMappingTest, NativeClassNameFollowsTheFirstNameMatchOfTheStandardLibrary) {
    // An earlier material's language name equals the partner's name, so the
    // answer is that earlier class's language name, not the partner's class.
    MapWithFile("1.0038 abc\n");
    EXPECT_EQ(Din(0)->GetNativeClassName(), u"Métaux");
    // A partner first named by its own native name gives its class's name;
    // two DIN materials may share a partner.
    MapWithFile("1.0038 9\ndin-a 9\n");
    EXPECT_EQ(Din(0)->GetNativeClassName(), u"Metals");
    EXPECT_EQ(Din(1)->GetNativeClassName(), u"Metals");
}

TEST_F(DinMappingTest, KeepsTheDinMaterialsOwnIdentity) {
    MapWithFile("1.0038 abc\n");
    const kxtMaterialBase& din = *Din(0);
    EXPECT_EQ(din.GetName(), u"S 1.0038");
    EXPECT_EQ(din.GetMaterialID(), u"1.0038");
    EXPECT_EQ(din.GetType(), static_cast<eKxtMaterialType>(1));
    EXPECT_FALSE(din.GetIsEditableRecycledContentAmount());
    ASSERT_EQ(din.GetMatPhysPropSet().size(), 1u);
    EXPECT_EQ(din.GetGrOwner(), din_.GetMaterialClass(0));
}

TEST_F(DinMappingTest, UnmappedOrUnresolvedDinMaterialsStayUnchanged) {
    // Keys are matched with case; an empty value, an unknown standard
    // identifier and carriage-return values resolve to nothing.
    MapWithFile("DIN-A abc\n1.0401\n1.0038 missing\n");
    MapWithFile("1.0401 abc\r\n");
    for (unsigned i = 0; i < 3; ++i) {
        EXPECT_TRUE(Din(i)->GetGabiName().empty()) << i;
        EXPECT_EQ(Din(i)->GetProcCount(), 0u) << i;
        EXPECT_EQ(Din(i)->GetRecycledContentAmount(), 5.0) << i;
        EXPECT_EQ(Din(i)->GetRecycledContentMax(), 100.0) << i;
    }
}

TEST_F(DinMappingTest, AmountIsConfinedToTheCopiedLimits) {
    kxtMaterialBase* standard = native_.GetMaterialClass(1)->GetMaterial(0u);
    standard->SetRecycledContentLimits(30.0, 20.0, 25.0);  // the stored amount 40 is now above the maximum
    MapWithFile("din-a abc\n");
    EXPECT_EQ(Din(1)->GetRecycledContentAmount(), 30.0);
    EXPECT_EQ(Din(1)->GetRecycledContentMax(), 30.0);
}

}  // namespace
}  // namespace kxt::mapping
