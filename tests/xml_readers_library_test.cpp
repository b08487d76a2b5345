// The material library reader: classes, materials, properties and cost by
// database type, and the passes that apply a second library by position.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <kxtmat/kxtmat.h>

#include "model/shared_defaults.h"
#include "support/temp_dir.h"
#include "xml/number_text.h"
#include "xml/phys_prop_parser.h"

namespace kxt::xml {
namespace {

using namespace std::string_view_literals;

eKxtMaterialType Type(int value) { return static_cast<eKxtMaterialType>(value); }

class LibraryReaderTest : public ::testing::Test {
protected:
    // A database of the given type and path, read from the library text.
    std::unique_ptr<kxtMaterialDB> Read(std::string_view xml, eKxtMaterialBDType type = eKxtNativeDB,
                                        std::u16string path = u"korvex materials.kvxmat") {
        auto db = std::make_unique<kxtMaterialDB>();
        db->SetDBType(type);
        db->SetPath(std::move(path));
        EXPECT_EQ(kxtXMLPhysPropParser(Write(xml)).Parse(db.get()), 1);
        return db;
    }

    std::u16string Write(std::string_view xml) {
        const std::string name = "library" + std::to_string(files_++) + ".kvxmat";
        dir_.Write(name, xml);
        return dir_.File(name);
    }

    static kxtMaterialBase& MaterialAt(const kxtMaterialDB& db, int group, unsigned index) {
        kxtMaterialBase* material = db.GetMaterialClass(group)->GetMaterial(index);
        EXPECT_NE(material, nullptr);
        return *material;
    }

    test::TempDir dir_;
    int files_ = 0;
};

constexpr std::string_view kOneMaterial = R"(<?xml version="1.0" encoding="utf-8"?>
<materials><classification name="Steel">
  <material name="Plain Carbon Steel" matid="42" envdata="1"/>
</classification></materials>)";

TEST_F(LibraryReaderTest, BadFilesAddNothingAndReturnOne) {
    const std::string_view badFiles[] = {
        ""sv,
        "<materials><classification name=\"Steel\"><material name=\"A\"/>"sv,  // truncated
        "\x7F" "ELF\x02\x01\x01\0\0\0\xFF\xFE\x80\x81 binary garbage"sv,
        "Steel, Plain Carbon Steel, 42\nnot XML at all\n"sv,
    };
    for (std::string_view bytes : badFiles) {
        kxtMaterialDB db;
        kxtMaterialClass existing(&db);
        existing.SetName(u"Existing");
        db.InsertGroup(existing);
        kxtXMLPhysPropParser reader(Write(bytes));
        EXPECT_EQ(reader.Parse(&db), 1);
        EXPECT_EQ(reader.ParseLanguageNames(&db), 1);
        EXPECT_EQ(reader.ParseSustainabilityLinks(&db, {&db}), 1);
        EXPECT_EQ(reader.RemoveListedClasses(&db), 1);
        ASSERT_EQ(db.GetGroupCount(), 1u);
        EXPECT_EQ(db.GetMaterialClass(0)->GetName(), u"Existing");
    }
    kxtMaterialDB db;
    EXPECT_EQ(kxtXMLPhysPropParser(dir_.File("missing.kvxmat")).Parse(&db), 1);
    EXPECT_EQ(db.GetGroupCount(), 0u);
}

// What a material keeps of the same element depends on its database's type:
// identifier, environmental data, GaBi name and native class name.
TEST_F(LibraryReaderTest, EachDatabaseTypeKeepsItsOwnFieldsOfAMaterial) {
    const struct {
        eKxtMaterialBDType db;
        std::u16string path;
        int type;
        std::u16string id;
        int envData;
        std::u16string gabi, nativeClass;
    } cases[] = {
        {eKxtNativeDB, u"korvex materials.kvxmat", 0, u"42", 1, u"Plain Carbon Steel", u"Steel"},
        {eKxtNativeDinDB, u"korvex materials.kvxmat", 1, u"42", 1, u"", u""},
        {eKxtCustomDB, u"my.kvxmat", 2, u"", 0, u"", u""},
        {eKxtSustainExtrasDB, u"Sustainability Extras.kvxmat", 2, u"", 1, u"Plain Carbon Steel", u"Steel"},
        {static_cast<eKxtMaterialBDType>(7), u"korvex materials.kvxmat", 2, u"42", 1, u"", u""},  // unknown type
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.db));
        const auto db = Read(kOneMaterial, c.db, c.path);
        const kxtMaterialBase& m = MaterialAt(*db, 0, 0);
        EXPECT_EQ(m.GetType(), Type(c.type));
        EXPECT_EQ(m.GetMaterialID(), c.id);
        EXPECT_EQ(m.GetEnvData(), c.envData);
        EXPECT_EQ(m.GetGabiName(), c.gabi);
        EXPECT_EQ(m.GetNativeClassName(), c.nativeClass);
        EXPECT_EQ(m.GetLangName(), u"Plain Carbon Steel");
        EXPECT_EQ(m.GetLangClassName(), u"Steel");
        EXPECT_EQ(m.GetGrOwner(), db->GetMaterialClass(0));
        EXPECT_EQ(db->GetMaterialClass(0)->GetDbOwner(), db.get());
    }
}

TEST(ShortenedGabiName, LongNamesLoseDoubleSpacesAndTheirMiddle) {
    EXPECT_EQ(ShortenedGabiName(u"ABCDEFGHIJKLMNOPQRSTUVWXYZ01234"), u"ABCDEFGHIJKLMNOQRSTUVWXYZ01234");
    EXPECT_EQ(ShortenedGabiName(u"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123"), u"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123");
    // 34 characters with a double space early: 33 after the squeeze, then 15 + 15.
    const std::u16string name = u"Alloy  steel 42CrMo4 quenched hard";
    ASSERT_EQ(name.size(), 34u);
    EXPECT_EQ(ShortenedGabiName(name), u"Alloy steel 42C" u"4 quenched hard");
    // Three spaces become two: one pass without overlap.
    EXPECT_EQ(ShortenedGabiName(u"A   B" + std::u16string(30, u'x')), u"A  B" + std::u16string(11, u'x') +
                                                                          std::u16string(15, u'x'));
    // A name that shrinks below 30 is joined from overlapping halves.
    const std::u16string spaced = u"a" + std::u16string(10, u' ') + u"b" + std::u16string(10, u' ') + u"c" +
                                  std::u16string(8, u' ') + u"d";
    ASSERT_EQ(spaced.size(), 32u);
    EXPECT_EQ(ShortenedGabiName(spaced), u"a     b     c  " u"   b     c    d");
}

TEST_F(LibraryReaderTest, EnvironmentalDataIsOneOnlyForOneOrTrue) {
    const auto db = Read(R"(<m><classification name="C">
      <material name="a" envdata="TRUE"/><material name="b" envdata="yes"/>
      <material name="c" envdata="1.0"/><material name="d" envdata=""/>
      <material name="e"/><material name="f" envdata="1"/></classification></m>)");
    const int expected[] = {1, 0, 0, 0, 0, 1};
    for (unsigned i = 0; i < 6; ++i) EXPECT_EQ(MaterialAt(*db, 0, i).GetEnvData(), expected[i]) << i;
}

TEST_F(LibraryReaderTest, MissingAttributesReadAsEmpty) {
    const auto db = Read(R"(<m><classification><material Name="Upper" MATID="7"/></classification></m>)");
    const kxtMaterialBase& m = MaterialAt(*db, 0, 0);
    EXPECT_TRUE(db->GetMaterialClass(0)->GetName().empty());
    EXPECT_TRUE(m.GetName().empty());
    EXPECT_TRUE(m.GetMaterialID().empty());
    EXPECT_TRUE(m.GetGabiName().empty());
}

TEST_F(LibraryReaderTest, PropertiesAreElementsWithADisplayName) {
    const auto db = Read(R"(<m><classification name="Steel"><material name="S">
      <physicalproperties>
        <DENS displayname="Mass density" value="7.85"/>
        <NODISP value="1"/>
        <UTS displayname="Tensile strength" value="12.5 kg"/>
        <dens displayname="Density again" value="n/a"/>
        <EMPTY displayname="No value"/>
      </physicalproperties>
      <DIRECT displayname="Not under physicalproperties" value="3"/>
    </material></classification></m>)");
    const auto& props = MaterialAt(*db, 0, 0).GetMatPhysPropSet();
    ASSERT_EQ(props.size(), 4u);
    const std::u16string abbs[] = {u"DENS", u"UTS", u"dens", u"EMPTY"};
    const double values[] = {7.85, 12.5, 0.0, 0.0};
    for (std::size_t i = 0; i < 4; ++i) {
        std::u16string abb;
        kxtMatPhysProp prop;
        props[i].GetAbb(abb);
        props[i].GetProperty(prop);
        EXPECT_EQ(abb, abbs[i]);
        EXPECT_EQ(prop.GetValue(), values[i]) << i;
    }
    kxtMatPhysProp first;
    props[0].GetProperty(first);
    std::u16string name;
    first.GetPropName(name);
    EXPECT_EQ(name, u"Mass density");
    double density = 0;
    ASSERT_EQ(MaterialAt(*db, 0, 0).GetDensity(density), 1);
    EXPECT_EQ(density, 7.85);
}

TEST(AttributeNumbers, ReadTheLeadingNumberAsTheCRuntimeDoes) {
    EXPECT_EQ(LeadingNumberOrZero(u"  7.85 g/cm3"), 7.85);
    EXPECT_EQ(LeadingNumberOrZero(u"-2e3x"), -2000.0);
    EXPECT_EQ(LeadingNumberOrZero(u"12.5\u20AC"), 12.5);
    EXPECT_EQ(LeadingNumberOrZero(u"\uFF17"), 0.0);  // a full-width digit is no digit
    EXPECT_EQ(LeadingNumberOrZero(u""), 0.0);
    EXPECT_EQ(ScannedNumberOr(u" 25%", -1.0), 25.0);
    EXPECT_EQ(ScannedNumberOr(u"abc", -1.0), -1.0);
    EXPECT_EQ(ScannedNumberOr(u"", -1.0), -1.0);
    EXPECT_EQ(ScannedNumberOr(std::u16string(u"3\0" u"9", 3), -1.0), 3.0);
    // A very long number text is read, not rejected.
    EXPECT_EQ(LeadingNumberOrZero(u"1" + std::u16string(100000, u'0') + u"e-100000"), 1.0);
}

// The same value, or NaN for NaN; -0.0 is not 0.0.
::testing::AssertionResult SameNumber(double actual, double expected) {
    if (std::isnan(actual) && std::isnan(expected)) return ::testing::AssertionSuccess();
    if (actual == expected && std::signbit(actual) == std::signbit(expected)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << actual << " instead of " << expected;
}

// Every reading agrees with strtod (leading number) and sscanf "%lf" (scan):
// plain decimals, texts that a locale-free reader would take differently (a
// sign, white space, hexadecimal, words), partial texts and values out of
// range, under the current C locale.
void ExpectNumbersReadAsTheCRuntimeDoes() {
    const char* const texts[] = {"1e5", "-.5", "+3", " 7.25", "0x1p3", "-0x10", "inf", "infinity", "nan", "-nan",
                                 "1e", "1e+", "-", ".", "0x", "12 ", "5e-3x", "1.", "-0", "0.1", "7850.25",
                                 "2.1e11", "1e400", "-1e400", "1e-400", "4.9e-324", "2.2250738585072011e-308",
                                 "123456789012345678901234567890", "0.30000000000000004441", "1,5", "3.25,5"};
    for (const char* text : texts) {
        const std::u16string wide(text, text + std::char_traits<char>::length(text));
        double scanned = -1.0;
        if (std::sscanf(text, "%lf", &scanned) != 1) scanned = -1.0;
        EXPECT_TRUE(SameNumber(ScannedNumberOr(wide, -1.0), scanned)) << text;
        EXPECT_TRUE(SameNumber(LeadingNumberOrZero(wide), std::strtod(text, nullptr))) << text;
    }
}

TEST(AttributeNumbers, ReadingAgreesWithTheCRuntime) { ExpectNumbersReadAsTheCRuntimeDoes(); }

#ifndef _WIN32
// Sets LC_NUMERIC for the life of the object, then restores the previous one.
class NumericLocale {
public:
    explicit NumericLocale(const char* name) : previous_(std::setlocale(LC_NUMERIC, nullptr)) {
        set_ = std::setlocale(LC_NUMERIC, name) != nullptr;
    }
    ~NumericLocale() { std::setlocale(LC_NUMERIC, previous_.c_str()); }
    NumericLocale(const NumericLocale&) = delete;
    NumericLocale& operator=(const NumericLocale&) = delete;
    bool IsSet() const { return set_; }

private:
    std::string previous_;
    bool set_ = false;
};

TEST(AttributeNumbers, TheDecimalSeparatorIsTheCurrentLocales) {
    // The build compiles this locale into LOCPATH.
    const NumericLocale comma("de_DE.UTF-8");
    ASSERT_TRUE(comma.IsSet()) << "the de_DE.UTF-8 locale of the test build is missing (LOCPATH)";
    EXPECT_EQ(LeadingNumberOrZero(u"2.5"), 2.0);
    EXPECT_EQ(LeadingNumberOrZero(u"2,5"), 2.5);
    EXPECT_EQ(ScannedNumberOr(u"2.5", -1.0), 2.0);
    EXPECT_EQ(LeadingNumberOrZero(u"25e-1"), 2.5);
    ExpectNumbersReadAsTheCRuntimeDoes();
}
#endif

TEST(AttributeNumbers, AnAttributeReadsAsItsResolvedText) {
    kxt::xml::Document document;
    ASSERT_TRUE(document.Load("<r><n v=' 7.85 g'/><n v='&#49;2.5'/><n v='2&amp;3'/><n v='4\xC3\xA9'/>"
                              "<n v='5&#x20AC;'/><n v='1e'/><n v='abc'/><n v=''/><n/></r>"));
    int checked = 0;
    for (const kxt::xml::Node n : document.Root().FirstChild().ChildNodes()) {
        const kxt::xml::Attribute value = n.GetAttribute("v");
        EXPECT_EQ(LeadingNumberOrZero(value), LeadingNumberOrZero(value.Text())) << checked;
        EXPECT_EQ(ScannedNumberOr(value, -1.0), ScannedNumberOr(value.Text(), -1.0)) << checked;
        ++checked;
    }
    EXPECT_EQ(checked, 9);
    const kxt::xml::Node second = document.Root().FirstChild().ChildNodes().Item(1);
    EXPECT_EQ(LeadingNumberOrZero(second.GetAttribute("v")), 12.5);
}

TEST_F(LibraryReaderTest, CostComesFromTheFirstFinancialImpactChild) {
    const auto db = Read(R"(<m><classification name="Steel">
      <material name="first"><custom>
        <!-- a comment --><item name="Weight" value="9" units="USD/kg"/>
        <item name="financial impact" value="3" units="EUR/kg"/>
        <item name="Financial Impact" value="7" units="USD/lb"/>
      </custom><custom><item name="Financial Impact" value="11" units="USD/kg"/></custom></material>
      <material name="none"><custom><item name="Weight" value="9" units="USD/kg"/></custom></material>
      <material name="bare"/>
    </classification></m>)");
    const kxtMaterialBase& first = MaterialAt(*db, 0, 0);
    EXPECT_TRUE(first.IsMaterialCostDefined());
    EXPECT_EQ(first.GetMaterialCostPerUnitMass(), 3.0);
    EXPECT_EQ(first.GetCurrency(), u"EUR");
    EXPECT_FALSE(MaterialAt(*db, 0, 1).IsMaterialCostDefined());
    EXPECT_FALSE(MaterialAt(*db, 0, 2).IsMaterialCostDefined());
}

TEST_F(LibraryReaderTest, EveryClassificationIsAClassWithItsDirectMaterials) {
    const auto db = Read(R"(<m>
      <classification name="Outer"><material name="o1"/>
        <classification name="Inner"><material name="i1"/><material name="i2"/></classification>
        <material name="o2"/><group><material name="deep"/></group></classification>
      <classification name="Empty"/>
      <Classification name="Wrong case"><material name="x"/></Classification>
      <classification name="Outer"><Material name="wrong case"/></classification>
    </m>)");
    ASSERT_EQ(db->GetGroupCount(), 4u);
    const std::u16string names[] = {u"Outer", u"Inner", u"Empty", u"Outer"};
    const std::uint64_t counts[] = {2, 2, 0, 0};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(db->GetMaterialClass(i)->GetName(), names[i]);
        EXPECT_EQ(db->GetMaterialClass(i)->GetMaterialCount(), counts[i]) << i;
    }
    EXPECT_EQ(MaterialAt(*db, 0, 1).GetName(), u"o2");
}

TEST_F(LibraryReaderTest, ReadingTwiceAppendsEveryClassAgain) {
    kxtMaterialDB db;
    const std::u16string path = Write(kOneMaterial);
    EXPECT_EQ(kxtXMLPhysPropParser(path).Parse(&db), 1);
    EXPECT_EQ(kxtXMLPhysPropParser(path).Parse(&db), 1);
    ASSERT_EQ(db.GetGroupCount(), 2u);
    EXPECT_EQ(MaterialAt(db, 1, 0).GetGrOwner(), db.GetMaterialClass(1));
    EXPECT_NE(&MaterialAt(db, 0, 0), &MaterialAt(db, 1, 0));
}

constexpr std::string_view kEnglishLibrary = R"(<m>
  <classification name="Iron"><material name="Grey Iron"/></classification>
  <classification name="Steel">
    <material name="Carbon Steel"><physicalproperties>
      <DENS displayname="Mass density" value="7.85"/><EX displayname="Elastic modulus" value="2e11"/>
    </physicalproperties></material>
    <material name="Tool Steel"/>
  </classification>
</m>)";

TEST_F(LibraryReaderTest, LanguageNamesFollowPositionNotName) {
    const auto db = Read(kEnglishLibrary, eKxtNativeDB);
    kxtXMLPhysPropParser french(Write(R"(<m>
      <classification name="Fonte"><material name="Fonte grise"/><material name="extra"/></classification>
      <classification name="Acier">
        <material name="Acier au carbone"><physicalproperties>
          <dens displayname="Masse volumique"/><XX displayname="Inconnue"/>
        </physicalproperties></material>
      </classification>
      <classification name="Extra class"><material name="x"/></classification>
    </m>)"));
    EXPECT_EQ(french.ParseLanguageNames(db.get()), 1);

    EXPECT_EQ(MaterialAt(*db, 0, 0).GetLangName(), u"Fonte grise");
    EXPECT_EQ(MaterialAt(*db, 0, 0).GetLangClassName(), u"Fonte");
    kxtMaterialBase& carbon = MaterialAt(*db, 1, 0);
    EXPECT_EQ(carbon.GetLangName(), u"Acier au carbone");
    EXPECT_EQ(carbon.GetLangClassName(), u"Acier");
    std::u16string langProp;
    carbon.GetProperty(u"DENS").GetLangPropName(langProp);
    EXPECT_EQ(langProp, u"Masse volumique");
    carbon.GetProperty(u"EX").GetLangPropName(langProp);
    EXPECT_TRUE(langProp.empty());
    model::SharedDefaultProperty().GetLangPropName(langProp);
    EXPECT_TRUE(langProp.empty());
    // The second material of the class has no element: it keeps its names.
    EXPECT_EQ(MaterialAt(*db, 1, 1).GetLangName(), u"Tool Steel");
    EXPECT_EQ(MaterialAt(*db, 1, 1).GetLangClassName(), u"Steel");
    EXPECT_EQ(db->GetMaterialClass(1)->GetName(), u"Steel");
}

TEST_F(LibraryReaderTest, LanguageNamesDoNotTouchCustomMaterials) {
    const auto db = Read(kOneMaterial, eKxtCustomDB, u"mine.kvxmat");
    kxtXMLPhysPropParser french(Write(R"(<m><classification name="Acier">
      <material name="Acier au carbone"/></classification></m>)"));
    EXPECT_EQ(french.ParseLanguageNames(db.get()), 1);
    EXPECT_EQ(MaterialAt(*db, 0, 0).GetLangName(), u"Plain Carbon Steel");
    EXPECT_EQ(MaterialAt(*db, 0, 0).GetLangClassName(), u"Steel");
}

// How a custom library gets its links: read, then linked in a second pass, or
// read and linked in one call.
enum class LinkPass { kAfterReading, kWhileReading };

// Databases to link against: an extras library, a standard one, and a second
// library with the standard one's name.
class SustainabilityLinkTest : public LibraryReaderTest, public ::testing::WithParamInterface<LinkPass> {
protected:
    void SetUp() override {
        extras_ = Read(R"(<m><classification name="Metals">
            <material name="Iron"/><material name="Stahl"/><material name="Steel"/>
            <material name="in Sustainability Extras"/></classification></m>)",
                       eKxtSustainExtrasDB, u"x/Sustainability Extras.kvxmat");
        // The second material's language name is the third's native name.
        MaterialAt(*extras_, 0, 1).SetLangName(u"STEEL");
        standard_ = Read(R"(<m><classification name="Steel">
            <material name="Carbon" matid="ab12"/><material name="Tool" matid="99"/></classification></m>)",
                         eKxtNativeDB, u"x/Korvex Materials.kvxmat");
        twin_ = Read(R"(<m><classification name="Steel"><material name="Twin" matid="77"/>
            <material name="Twin carbon" matid="AB12"/></classification></m>)",
                     eKxtNativeDB, u"y/korvex materials.kvxmat");
    }

    // The linked material of a custom material per (linkId, dbName), read and
    // linked against [standard, twin, extras].
    std::vector<const kxtMaterialBase*> Links(std::initializer_list<std::pair<const char*, const char*>> links) {
        std::string xml = "<m><classification name=\"Mine\">";
        for (const auto& [linkId, dbName] : links) {
            xml += std::string("<material name=\"m\"><sustainability linkId=\"") + linkId + "\" dbName=\"" + dbName +
                   "\"/></material>";
        }
        xml += "</classification></m>";
        const std::vector<kxtMaterialDB*> databases{standard_.get(), twin_.get(), extras_.get()};
        std::unique_ptr<kxtMaterialDB> custom;
        if (GetParam() == LinkPass::kAfterReading) {
            custom = Read(xml, eKxtCustomDB, u"mine.kvxmat");
            EXPECT_EQ(kxtXMLPhysPropParser(Write(xml)).ParseSustainabilityLinks(custom.get(), databases), 1);
        } else {
            custom = std::make_unique<kxtMaterialDB>();
            custom->SetDBType(eKxtCustomDB);
            EXPECT_EQ(kxtXMLPhysPropParser(Write(xml)).ParseWithLinks(custom.get(), databases), 1);
        }
        std::vector<const kxtMaterialBase*> result;
        for (unsigned i = 0; i < links.size(); ++i) result.push_back(MaterialAt(*custom, 0, i).GetSageLink());
        return result;
    }

    std::unique_ptr<kxtMaterialDB> extras_, standard_, twin_;
};

TEST_P(SustainabilityLinkTest, ExtrasLinksFindTheFirstNameOrLanguageNameMatch) {
    const auto links = Links({{"Steel in Sustainability Extras", "sustainability extras"},
                              {"in Sustainability Extras", "Sustainability Extras"},
                              {"Steel IN Sustainability Extras", "Sustainability Extras"},
                              {"iron", "Sustainability Extras"}});
    EXPECT_EQ(links, (std::vector<const kxtMaterialBase*>{&MaterialAt(*extras_, 0, 1), &MaterialAt(*extras_, 0, 3),
                                                          nullptr, &MaterialAt(*extras_, 0, 0)}));
}

TEST_P(SustainabilityLinkTest, IdentifierLinksSearchDatabasesOfThatNameInListOrder) {
    const auto links = Links({{"AB12", "Korvex Materials"},
                              {"77", "korvex materials"},
                              {"Carbon", "korvex materials"},
                              {"ab12", "korvex din materials"}});
    EXPECT_EQ(links, (std::vector<const kxtMaterialBase*>{&MaterialAt(*standard_, 0, 0), &MaterialAt(*twin_, 0, 0),
                                                          nullptr, nullptr}));
}

TEST_F(SustainabilityLinkTest, IncompleteLinksLeaveTheLinkAndAMissingElementClearsIt) {
    const std::string xml = R"(<m><classification name="Mine">
      <material name="a"><sustainability linkId="99" dbName=""/></material>
      <material name="b"><sustainability dbName="korvex materials"/></material>
      <material name="c"/></classification></m>)";
    auto custom = Read(xml, eKxtCustomDB, u"mine.kvxmat");
    kxtMaterialBase* before = &MaterialAt(*standard_, 0, 1);
    for (unsigned i = 0; i < 3; ++i) MaterialAt(*custom, 0, i).SetSageLink(before);
    EXPECT_EQ(kxtXMLPhysPropParser(Write(xml)).ParseSustainabilityLinks(custom.get(), {standard_.get()}), 1);
    EXPECT_EQ(MaterialAt(*custom, 0, 0).GetSageLink(), before);
    EXPECT_EQ(MaterialAt(*custom, 0, 1).GetSageLink(), before);
    EXPECT_EQ(MaterialAt(*custom, 0, 2).GetSageLink(), nullptr);
}

TEST_F(SustainabilityLinkTest, NegativeAmountTakesTheLinkedAmountWithinItsOwnLimits) {
    const std::string xml = R"(<m><classification name="Mine">
      <material name="a"><sustainability linkId="Iron" dbName="Sustainability Extras"/></material>
      <material name="b"><sustainability linkId="Iron" dbName="Sustainability Extras"/></material>
      <material name="c"><sustainability linkId="nothing" dbName="Sustainability Extras"/></material>
    </classification></m>)";
    auto copy = Read(xml, eKxtSustainExtrasDB, u"z/Sustainability Extras.kvxmat");
    kxtMaterialBase& iron = MaterialAt(*extras_, 0, 0);
    iron.SetRecycledContentLimits(100.0, 0.0, 0.0);
    iron.SetRecycledContentAmount(60.0);
    for (unsigned i = 0; i < 3; ++i) {
        MaterialAt(*copy, 0, i).SetRecycledContentLimits(i == 1 ? 40.0 : 90.0, -10.0, 0.0);
        MaterialAt(*copy, 0, i).SetRecycledContentAmount(-1.0);
    }
    EXPECT_EQ(kxtXMLPhysPropParser(Write(xml)).ParseSustainabilityLinks(copy.get(), {extras_.get()}), 1);
    EXPECT_EQ(MaterialAt(*copy, 0, 0).GetRecycledContentAmount(), 60.0);
    EXPECT_EQ(MaterialAt(*copy, 0, 1).GetRecycledContentAmount(), 40.0);
    EXPECT_EQ(MaterialAt(*copy, 0, 2).GetRecycledContentAmount(), -1.0);
}

// Where one walk could not read and link a library, reading and linking in one
// call still gives what the two passes give: a target that holds classes
// already (links go by position), and a target that is one of the databases
// (a link to a later material of the same file). The Links() tests above
// cover the one walk.
TEST_P(SustainabilityLinkTest, ReadingWithLinksWhereOneWalkCannotAnswersAsTheTwoPasses) {
    const std::string xml = R"(<m><classification name="Metals">
      <material name="Lead"><sustainability linkId="Zinc in Sustainability Extras" dbName="Sustainability Extras"/></material>
      <material name="Zinc"><sustainability linkId="Carbon" dbName="Sustainability Extras"/></material>
    </classification></m>)";
    const auto read = [&](bool startFull) {
        auto db = std::make_unique<kxtMaterialDB>();
        db->SetDBType(eKxtSustainExtrasDB);
        db->SetPath(u"w/Sustainability Extras.kvxmat");
        if (startFull) {
            EXPECT_EQ(kxtXMLPhysPropParser(Write(xml)).Parse(db.get()), 1);
        }
        const std::vector<kxtMaterialDB*> databases{db.get()};
        kxtXMLPhysPropParser library(Write(xml));
        if (GetParam() == LinkPass::kAfterReading) {
            library.Parse(db.get());
            library.ParseSustainabilityLinks(db.get(), databases);
        } else {
            EXPECT_EQ(library.ParseWithLinks(db.get(), databases), 1);
        }
        return db;
    };
    for (const bool startFull : {false, true}) {
        SCOPED_TRACE(startFull ? "target full" : "target empty");
        const auto db = read(startFull);
        ASSERT_EQ(db->GetGroupCount(), startFull ? 2u : 1u);
        EXPECT_EQ(MaterialAt(*db, 0, 0).GetSageLink(), &MaterialAt(*db, 0, 1));
        EXPECT_EQ(MaterialAt(*db, 0, 1).GetSageLink(), nullptr);
        if (startFull) {
            // The appended class has no element at its position.
            EXPECT_EQ(MaterialAt(*db, 1, 0).GetSageLink(), nullptr);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EitherPass, SustainabilityLinkTest,
                         ::testing::Values(LinkPass::kAfterReading, LinkPass::kWhileReading),
                         [](const auto& info) {
                             return info.param == LinkPass::kAfterReading ? "AfterReading" : "WhileReading";
                         });

TEST_F(LibraryReaderTest, ListedClassesRemoveTheirFirstMatchEach) {
    constexpr std::string_view kClasses = R"(<m><classification name="plastics"/>
      <classification name="Steel"/><classification name="plastics"/></m>)";
    const auto twice = Read(kClasses);
    EXPECT_EQ(kxtXMLPhysPropParser(Write(R"(<m><classification name="Plastics"/>
      <classification name="PLASTICS"/><classification name="Wood"/></m>)"))
                  .RemoveListedClasses(twice.get()),
              1);
    ASSERT_EQ(twice->GetGroupCount(), 1u);
    EXPECT_EQ(twice->GetMaterialClass(0)->GetName(), u"Steel");

    const auto once = Read(kClasses);
    kxtMaterialClass* second = once->GetMaterialClass(1);
    EXPECT_EQ(kxtXMLPhysPropParser(Write(R"(<m><classification name="Plastics"/></m>)"))
                  .RemoveListedClasses(once.get()),
              1);
    ASSERT_EQ(once->GetGroupCount(), 2u);
    EXPECT_EQ(once->GetMaterialClass(0), second);
}

}  // namespace
}  // namespace kxt::xml
