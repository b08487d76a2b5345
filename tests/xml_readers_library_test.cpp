// The material library reader: classes, materials, properties and cost by
// database type, numbers as the C runtime reads them, and the passes that
// apply a second library by position.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <tuple>
#include <string>
#include <vector>

#include <kxtmat/kxtmat.h>

#include "model/shared_defaults.h"
#include "platform/path_text.h"
#include "platform/text.h"
#include "support/temp_dir.h"
#include "xml/number_text.h"
#include "xml/phys_prop_parser.h"

namespace kxt::xml {
namespace {

class LibraryReaderTest : public ::testing::Test {
protected:
    // A database of the given type and path, read from the library text.
    std::unique_ptr<kxtMaterialDB> Read(std::string_view xml, eKxtMaterialBDType type = eKxtNativeDB, std::u16string path = u"korvex materials.kvxmat") {
        auto db = std::make_unique<kxtMaterialDB>();
        db->SetDBType(type);
        db->SetPath(std::move(path));
        EXPECT_EQ(Reader(xml).Parse(db.get()), 1);
        return db;
    }

    kxtXMLPhysPropParser Reader(std::string_view xml) { return kxtXMLPhysPropParser(test::ModulePath(dir_.Write("library" + std::to_string(files_++) + ".kvxmat", xml))); }

    static kxtMaterialBase& At(const kxtMaterialDB& db, int group, unsigned index) { return *db.GetMaterialClass(group)->GetMaterial(index); }

    test::TempDir dir_;
    int files_ = 0;
};

// The string a getter of the object fills.
template <class T> std::u16string Got(const T& object, void (T::*get)(std::u16string&) const) { std::u16string out; (object.*get)(out); return out; }

std::u16string LangNames(const kxtMaterialBase& m) { return m.GetLangName() + u"/" + m.GetLangClassName(); }

constexpr std::string_view kOneMaterial =
    R"(<?xml version="1.0" encoding="utf-8"?><materials><classification name="Steel"><material name="Plain Carbon Steel" matid="42" envdata="1"/></classification></materials>)";

// A file that does not load is an empty document to every pass.
TEST_F(LibraryReaderTest, BadFilesChangeNothingAndReturnOne) {
    const auto db = Read(kOneMaterial);
    kxtXMLPhysPropParser reader = Reader("<materials><classification name=\"Steel\"><material name=\"A\"/>");
    EXPECT_EQ((std::vector{reader.Parse(db.get()), reader.ParseLanguageNames(db.get()), reader.ParseSustainabilityLinks(db.get(), {db.get()}),
                           reader.RemoveListedClasses(db.get())}), std::vector(4, 1));
    ASSERT_EQ(db->GetGroupCount(), 1u);
    EXPECT_EQ(LangNames(At(*db, 0, 0)), u"Plain Carbon Steel/Steel");
}

// What a material keeps of the same element depends on its database's type.
TEST_F(LibraryReaderTest, EachDatabaseTypeKeepsItsOwnFieldsOfAMaterial) {
    const struct { eKxtMaterialBDType db; int type; std::u16string id; int envData; std::u16string gabi, nativeClass; } cases[] = {
        {eKxtNativeDB, 0, u"42", 1, u"Plain Carbon Steel", u"Steel"}, {eKxtNativeDinDB, 1, u"42", 1, u"", u""},
        {eKxtCustomDB, 2, u"", 0, u"", u""}, {eKxtSustainExtrasDB, 2, u"", 1, u"Plain Carbon Steel", u"Steel"},
        {static_cast<eKxtMaterialBDType>(7), 2, u"42", 1, u"", u""}};  // the last: an unknown type
    for (const auto& c : cases) {
        const auto db = Read(kOneMaterial, c.db);
        const kxtMaterialBase& m = At(*db, 0, 0);
        EXPECT_EQ(std::tuple(static_cast<int>(m.GetType()), m.GetMaterialID(), m.GetEnvData(), m.GetGabiName(), m.GetNativeClassName(), LangNames(m)),
                  std::tuple(c.type, c.id, c.envData, c.gabi, c.nativeClass, u"Plain Carbon Steel/Steel")) << static_cast<int>(c.db);
    }
}

TEST(ShortenedGabiName, LongNamesLoseDoubleSpacesAndTheirMiddle) {
    EXPECT_EQ(ShortenedGabiName(u"ABCDEFGHIJKLMNOPQRSTUVWXYZ01234"), u"ABCDEFGHIJKLMNOQRSTUVWXYZ01234");
    EXPECT_EQ(ShortenedGabiName(u"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123"), u"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123");
    EXPECT_EQ(ShortenedGabiName(u"A   B" + std::u16string(30, u'x')), u"A  B" + std::u16string(26, u'x'));  // one pass without overlap
    EXPECT_EQ(ShortenedGabiName(std::u16string(30, u'x') + u"  "), std::u16string(29, u'x') + u" ");  // a double space at the end
    EXPECT_EQ(ShortenedGabiName(u"a          b          c        d"), u"a     b     c     b     c    d");  // below 30: overlapping halves
}

TEST_F(LibraryReaderTest, ClassesHoldTheirDirectMaterialsWithExactlyNamedAttributes) {
    const auto db = Read(R"(<m><classification name="Outer"><material name="a" envdata="TRUE"/><material name="b" envdata="1.0"/>
        <classification name="Inner"/><group><material name="deep"/></group>
        <material Name="Upper" MATID="7" ENVDATA="1"/><material name="d" envdata="1"/></classification>
      <Classification name="Wrong case"/><classification name="Outer"><Material name="wrong case"/></classification></m>)");
    ASSERT_EQ(db->GetGroupCount(), 3u);
    ASSERT_EQ(db->GetMaterialClass(0)->GetMaterialCount(), 4u);
    const std::pair<std::u16string, int> expected[] = {{u"a", 1}, {u"b", 0}, {u"", 0}, {u"d", 1}};  // name, envdata
    for (unsigned i = 0; i < 4; ++i) EXPECT_EQ(std::pair(At(*db, 0, i).GetName(), At(*db, 0, i).GetEnvData()), expected[i]) << i;
    EXPECT_TRUE(At(*db, 0, 2).GetMaterialID().empty() && db->GetMaterialClass(1)->GetName() == u"Inner" && db->GetMaterialClass(2)->GetMaterialCount() == 0u);
}

// Properties are the elements with a display name under "physicalproperties";
// the cost is the first "Financial Impact" item of the first "custom" element.
TEST_F(LibraryReaderTest, PropertiesAreElementsWithADisplayNameAndCostTheFirstFinancialImpact) {
    const auto db = Read(R"(<m><classification name="Steel"><material name="S">
      <physicalproperties><DENS displayname="Mass density" value="7.85"/><NODISP value="1"/>
        <UTS displayname="Tensile strength" value="12.5 kg"/><dens displayname="Again" value="n/a"/></physicalproperties>
      <physicalproperties><EMPTY displayname="No value"/></physicalproperties><DIRECT displayname="Direct" value="3"/>
      <custom><!-- c --><item name="Weight" value="9" units="USD/kg"/><item name="financial impact" value="3" units="EUR/kg"/><item name="Financial Impact" value="7" units="USD/lb"/></custom>
      <custom><item name="Financial Impact" value="11" units="USD/kg"/></custom></material>
      <material name="none"><custom><item name="Weight" value="9" units="USD/kg"/></custom></material>
    </classification></m>)");
    kxtMaterialBase& s = At(*db, 0, 0);
    std::vector<std::pair<std::u16string, double>> properties;
    for (const kxtMatPhysPropSet& entry : s.GetMatPhysPropSet()) properties.emplace_back(Got(entry, &kxtMatPhysPropSet::GetAbb), kxtMatPhysPropSet(entry).GetProperty().GetValue());
    EXPECT_EQ(properties, (std::vector<std::pair<std::u16string, double>>{{u"DENS", 7.85}, {u"UTS", 12.5}, {u"dens", 0.0}, {u"EMPTY", 0.0}}));
    EXPECT_EQ(Got(s.GetProperty(u"DENS"), &kxtMatPhysProp::GetPropName), u"Mass density");
    EXPECT_EQ(std::pair(s.GetMaterialCostPerUnitMass(), s.GetCurrency()), std::pair(3.0, std::u16string(u"EUR")));
    EXPECT_FALSE(At(*db, 0, 1).IsMaterialCostDefined());
}

// The same value, or NaN for NaN; -0.0 is not 0.0.
::testing::AssertionResult SameNumber(double actual, double expected) {
    if ((std::isnan(actual) && std::isnan(expected)) || (actual == expected && std::signbit(actual) == std::signbit(expected))) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << actual << " instead of " << expected;
}

// Numbers read as strtod (leading number) and sscanf "%lf" (scan) read them, under the C locale
// and under one whose decimal separator is a comma (which the build compiles into LOCPATH).
TEST(AttributeNumbers, ReadAsTheCRuntimeReadsThemInTheCurrentLocale) {
    const char* const texts[] = {"1e5", "-.5", "+3", " 7.25", "0x1p3", "-0x10", "inf", "infinity", "nan", "-nan", "1e", "1e+", "-", ".", "0x", "12 ", "5e-3x",
                                 "1.", "-0", "0.1", "7850.25", "2.1e11", "1e400", "-1e400", "1e-400", "4.9e-324", "123456789012345678901234567890", "1,5",
                                 "3.25,5", "2.5", "25e-1", "", "abc", "12.5\xE2\x82\xAC", "\xEF\xBC\x97",
                                 // around the exact reading: 2^53, 10^22, nineteen digits, leading zeros, long exponents
                                 "9007199254740992", "9007199254740993", "-9007199254740993e-3", "1e22", "1e23", "123456789e-22", "1e-23",
                                 "0.000000000000000000000001", "00000000000000000000000012.5", "1234567890123456789", "12345678901234567890",
                                 "-0.0e5", "5.e3", ".5e-3", "1E5", "1.5.5", "1e+x", "0e99999", "1e00005", "1e99999", "7.25e-0", "-.e1"};
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    for (const char* locale : {"C", KXTMAT_COMMA_LOCALE}) {
        SCOPED_TRACE(locale);
        ASSERT_NE(std::setlocale(LC_NUMERIC, locale), nullptr) << "the locale of the test build is missing (LOCPATH)";
        for (const char* text : texts) {
            double scanned = -1.0;
            if (std::sscanf(text, "%lf", &scanned) != 1) scanned = -1.0;
            EXPECT_TRUE(SameNumber(ScannedNumberOr(platform::Utf8ToUtf16(text), -1.0), scanned)) << text;
            char* end = nullptr;
            const double read = std::strtod(text, &end);  // no conversion is 0.0 (Windows' C runtime gives -0.0 for "-")
            EXPECT_TRUE(SameNumber(LeadingNumberOrZero(platform::Utf8ToUtf16(text)), end == text ? 0.0 : read)) << text;
        }
        // A cost amount reads as "%lf" does: its comma is the decimal separator where the locale's is.
        kxtMaterialBase material;
        material.SetMaterialCostData(u"1,25", u"EUR/kg");
        EXPECT_EQ(material.GetMaterialCostPerUnitMass(), std::string_view(locale) == "C" ? 1.0 : 1.25);
    }
    std::setlocale(LC_NUMERIC, previous.c_str());
    Document document;
    ASSERT_TRUE(document.Load("<r><n v='&#49;2.5'/><n v='2&amp;3'/><n v='4\xC3\xA9'/><n v='abc'/><n/></r>"));
    for (const Node n : document.Root().FirstChild().ChildWalk()) {
        const Attribute value = n.GetAttribute("v");
        EXPECT_EQ(std::pair(LeadingNumberOrZero(value), ScannedNumberOr(value, -1.0)), std::pair(LeadingNumberOrZero(value.Text()), ScannedNumberOr(value.Text(), -1.0)))
            << platform::Utf16ToUtf8(value.Text());
    }
}

// Language names go to the target's materials by position, not by name.
TEST_F(LibraryReaderTest, LanguageNamesFollowPositionNotName) {
    const auto db = Read(R"(<m><classification name="Iron"><material name="Grey Iron"/></classification><classification name="Steel">
      <material name="Carbon Steel"><physicalproperties><DENS displayname="Mass density" value="7.85"/><EX displayname="Elastic modulus" value="2e11"/>
      </physicalproperties></material><material name="Tool Steel"/></classification></m>)");
    EXPECT_EQ(Reader(R"(<m><classification name="Fonte"><material name="Fonte grise"/><material name="extra"/></classification>
      <classification name="Acier"><material name="Acier au carbone"><physicalproperties><dens displayname="Masse volumique"/><XX displayname="Inconnue"/>
      </physicalproperties></material></classification><classification name="Extra class"><material name="x"/></classification></m>)").ParseLanguageNames(db.get()), 1);
    // A material without an element at its position keeps its names.
    EXPECT_EQ((std::vector{LangNames(At(*db, 0, 0)), LangNames(At(*db, 1, 0)), LangNames(At(*db, 1, 1))}),
              (std::vector<std::u16string>{u"Fonte grise/Fonte", u"Acier au carbone/Acier", u"Tool Steel/Steel"}));
    const auto langName = [&](const std::u16string& abbreviation) { return Got(At(*db, 1, 0).GetProperty(abbreviation), &kxtMatPhysProp::GetLangPropName); };
    EXPECT_EQ(langName(u"DENS") + u"/" + langName(u"EX") + u"/" + Got(model::SharedDefaultProperty(), &kxtMatPhysProp::GetLangPropName), u"Masse volumique//");
}

// How a custom library gets its links: read, then linked in a second pass, or read and linked in one call.
enum class LinkPass { kAfterReading, kWhileReading };

// Databases to link against: an extras library (its second material's language name is the third's
// name), a standard one, and a second library with the standard one's name.
class SustainabilityLinkTest : public LibraryReaderTest, public ::testing::WithParamInterface<LinkPass> {
protected:
    void SetUp() override {
        extras_ = Read(R"(<m><classification name="Metals"><material name="Iron"/><material name="Stahl"/><material name="Steel"/>
            <material name="in Sustainability Extras"/></classification></m>)", eKxtSustainExtrasDB, platform::JoinPath(u"x", {u"Sustainability Extras.kvxmat"}));
        At(*extras_, 0, 1).SetLangName(u"STEEL");
        standard_ = Read(R"(<m><classification name="Steel"><material name="Carbon" matid="ab12"/>
            <material name="Tool" matid="99"/></classification></m>)", eKxtNativeDB, platform::JoinPath(u"x", {u"Korvex Materials.kvxmat"}));
        twin_ = Read(R"(<m><classification name="Steel"><material name="Twin" matid="77"/>
            <material name="Twin carbon" matid="AB12"/></classification></m>)", eKxtNativeDB, platform::JoinPath(u"y", {u"korvex materials.kvxmat"}));
    }

    // Reads xml into target and links it against databases, in the pass under
    // test; between reading and linking, in the pass that has them, runs between.
    void ReadAndLink(std::string_view xml, kxtMaterialDB& target, const std::vector<kxtMaterialDB*>& databases, const std::function<void()>& between = [] {}) {
        kxtXMLPhysPropParser reader = Reader(xml);
        const bool whileReading = GetParam() == LinkPass::kWhileReading;
        EXPECT_EQ(whileReading ? reader.ParseWithLinks(&target, databases) : reader.Parse(&target), 1);
        if (!whileReading) {
            between();
            EXPECT_EQ(reader.ParseSustainabilityLinks(&target, databases), 1);
        }
    }

    std::unique_ptr<kxtMaterialDB> extras_, standard_, twin_;
};

// A link without both texts keeps the material's link, one without an element drops it; a negative amount
// takes the linked one's, within the limits. Only a target read first holds links and amounts before the linking.
TEST_P(SustainabilityLinkTest, LinksFindTheFirstMatchInDatabasesOfTheirName) {
    kxtMaterialBase* const kept = &At(*standard_, 0, 1);
    kxtMaterialBase& iron = At(*extras_, 0, 0);
    const struct { const char* link; const kxtMaterialBase* linked; } cases[] = {
        {R"(linkId="Steel in Sustainability Extras" dbName="sustainability extras")", &At(*extras_, 0, 1)},
        {R"(linkId="in Sustainability Extras" dbName="Sustainability Extras")", &At(*extras_, 0, 3)},
        {R"(linkId="Steel IN Sustainability Extras" dbName="Sustainability Extras")", nullptr}, {R"(linkId="iron" dbName="Sustainability Extras")", &iron},
        {R"(linkId="AB12" dbName="Korvex Materials")", &At(*standard_, 0, 0)}, {R"(linkId="77" dbName="korvex materials")", &At(*twin_, 0, 0)},
        {R"(linkId="Carbon" dbName="korvex materials")", nullptr}, {R"(linkId="ab12" dbName="korvex din materials")", nullptr},
        {R"(linkId="99" dbName="")", kept}, {R"(dbName="Sustainability Extras")", kept}, {nullptr, nullptr}};
    std::string xml = "<m><classification name=\"Mine\">";
    for (const auto& c : cases) xml += c.link ? std::string("<material><sustainability ") + c.link + "/></material>" : "<material/>";
    iron.SetRecycledContentLimits(100.0, 0.0, 0.0);
    iron.SetRecycledContentAmount(95.0);
    kxtMaterialDB custom;
    custom.SetDBType(eKxtCustomDB);
    ReadAndLink(xml + "</classification></m>", custom, {standard_.get(), twin_.get(), extras_.get()}, [&] {
        for (unsigned i = 0; i < std::size(cases); ++i) {
            At(custom, 0, i).SetSageLink(kept);
            At(custom, 0, i).SetRecycledContentLimits(90.0, -10.0, 0.0);
            At(custom, 0, i).SetRecycledContentAmount(-1.0);
        }
    });
    const bool preset = GetParam() == LinkPass::kAfterReading;
    for (unsigned i = 0; i < std::size(cases); ++i) {
        const kxtMaterialBase* linked = cases[i].linked == kept && !preset ? nullptr : cases[i].linked;
        const double amount = !preset ? 0.0 : linked == &iron ? 90.0 : linked == nullptr || linked == kept ? -1.0 : 0.0;
        EXPECT_EQ((std::pair<const kxtMaterialBase*, double>(At(custom, 0, i).GetSageLink(), At(custom, 0, i).GetRecycledContentAmount())), std::pair(linked, amount)) << i;
    }
}

// Links go by position into a target that holds classes already, and may
// name a later material of the same file when the target is a database searched.
TEST_P(SustainabilityLinkTest, LinksIntoTheTargetItselfGoByPosition) {
    const std::string xml = R"(<m><classification name="Metals"><material name="Lead"><sustainability linkId="Zinc in Sustainability Extras" dbName="Sustainability Extras"/></material>
      <material name="Zinc"><sustainability linkId="Carbon" dbName="Sustainability Extras"/></material></classification></m>)";
    for (const bool startFull : {false, true}) {
        SCOPED_TRACE(startFull ? "target full" : "target empty");
        kxtMaterialDB db;
        db.SetDBType(eKxtSustainExtrasDB);
        db.SetPath(platform::JoinPath(u"w", {u"Sustainability Extras.kvxmat"}));
        if (startFull) { ASSERT_EQ(Reader(xml).Parse(&db), 1); }
        ReadAndLink(xml, db, {&db});
        ASSERT_EQ(db.GetGroupCount(), startFull ? 2u : 1u);
        EXPECT_EQ((std::vector<const kxtMaterialBase*>{At(db, 0, 0).GetSageLink(), At(db, 0, 1).GetSageLink(), At(db, startFull ? 1 : 0, 0).GetSageLink()}),
                  (std::vector<const kxtMaterialBase*>{&At(db, 0, 1), nullptr, startFull ? nullptr : &At(db, 0, 1)}));
    }
}

INSTANTIATE_TEST_SUITE_P(EitherPass, SustainabilityLinkTest, ::testing::Values(LinkPass::kAfterReading, LinkPass::kWhileReading),
                         [](const auto& info) { return info.param == LinkPass::kAfterReading ? "AfterReading" : "WhileReading"; });

TEST_F(LibraryReaderTest, ReadingAppendsAndListedClassesRemoveTheirFirstMatchEach) {
    constexpr std::string_view kClasses = R"(<m><classification name="plastics"/><classification name="Steel"/><classification name="plastics"/></m>)";
    const auto db = Read(kClasses);
    EXPECT_EQ(Reader(kClasses).Parse(db.get()), 1);
    ASSERT_EQ(db->GetGroupCount(), 6u);
    kxtMaterialClass* fourth = db->GetMaterialClass(3);
    EXPECT_EQ(Reader(R"(<m><classification name="Plastics"/><classification name="PLASTICS"/><classification name="Wood"/></m>)").RemoveListedClasses(db.get()), 1);
    ASSERT_EQ(db->GetGroupCount(), 4u);
    EXPECT_TRUE(db->GetMaterialClass(0)->GetName() == u"Steel" && db->GetMaterialClass(1) == fourth);
}

}  // namespace
}  // namespace kxt::xml
