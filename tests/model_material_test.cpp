// Material records: properties, processes, recycled content, cost, names.
#include <gtest/gtest.h>

#include <kxtmat/kxtmat.h>

#include <array>

#include "platform/text.h"

namespace {

kxtMaterialBase WithProperties(std::initializer_list<std::pair<std::u16string, double>> entries) {
    kxtMaterialBase m;
    for (const auto& [abb, value] : entries) m.SetProperty(abb, kxtMatPhysProp(u"name of " + abb, value));
    return m;
}

TEST(MaterialTest, PropertyLookupsFindTheFirstOrLeaveTheOutArgument) {
    kxtMaterialBase m = WithProperties({{u"DENS", 7.85}, {u"dens", 1.0}});
    double density = 0.0;
    EXPECT_EQ(m.GetDensity(density), 1);
    EXPECT_EQ(density, 7.85);
    m.GetProperty(u"Dens").SetValue(8.0);  // changes the stored entry
    kxtMatPhysProp out(u"kept", 3.0);
    EXPECT_EQ(m.FindElement(u"dEnS", out), 1);
    EXPECT_EQ(out.GetValue(), 8.0);
    out = kxtMatPhysProp(u"kept", 3.0);
    EXPECT_EQ(m.FindElement(u"E", out), 0);
    m.GetProperty(u"E", out);
    EXPECT_EQ(out.GetValue(), 3.0);
}

TEST(MaterialTest, NextElementVisitsEachEntryOnceThenStartsOverAndRestartsOnChange) {
    kxtMaterialBase m = WithProperties({{u"A", 1.0}, {u"B", 2.0}});
    std::u16string abb, seen;
    kxtMatPhysProp prop;
    while (m.GetNextElement(abb, prop) == 1) seen += abb;
    EXPECT_EQ(seen + abb, u"ABB");
    EXPECT_EQ(m.GetNextElement(abb, prop), 1);
    seen = abb;
    m.SetProperty(u"C", kxtMatPhysProp());
    m.GetNextElement(abb, prop);
    EXPECT_EQ(seen + abb, u"AA");
}

TEST(MaterialTest, DensityFallsBackToTheCalculatedOneOnlyForACustomMaterialWithoutProperties) {
    for (const auto& [type, withProperty, calculated, found] :
         {std::tuple{eKxtCustomMaterial, false, 2.5, 1}, std::tuple{eKxtCustomMaterial, false, 1.0, 0},
          std::tuple{eKxtStandardMaterial, false, 2.5, 0}, std::tuple{eKxtCustomMaterial, true, 2.5, 0}}) {
        kxtMaterialBase m = withProperty ? WithProperties({{u"E", 200.0}}) : kxtMaterialBase();
        m.SetMaterialType(type), m.SetCalculatedDensity(calculated);
        double out = -1.0;
        EXPECT_EQ(m.GetDensity(out), found);
        EXPECT_EQ(out, found != 0 ? calculated : -1.0);
    }
}

TEST(MaterialTest, RecycledAmountIsClampedMaximumFirst) {
    for (const auto& [maximum, minimum, value, stored] : std::initializer_list<std::array<double, 4>>{
             {0, 0, 42, 0}, {20, 10, 30, 20}, {20, 10, 5, 10}, {20, 10, 15, 15}, {10, 20, 15, 10}, {10, 20, 5, 20}}) {
        kxtMaterialBase m;
        m.SetRecycledContentLimits(maximum, minimum, 1.0), m.SetRecycledContentAmount(value);
        EXPECT_EQ(m.GetRecycledContentAmount(), stored) << maximum << ' ' << minimum << ' ' << value;
    }
}

TEST(MaterialTest, ProcessesAreFoundByAnyNameAndIndexesOutOfRangeChangeNothing) {
    kxtMaterialBase m;
    EXPECT_EQ(m.SetProcType(0, kxtManufacturingProcess()), 0);
    for (const std::u16string native : {u"Milled", u"Turned", u"Turned"}) {
        kxtManufacturingProcess p;
        p.SetNativeName(native), p.SetGaBiName(u"gabi " + native);
        m.InsertProc(p);
    }
    m.GetProcType(0)->SetLangName(u"Fraisé");
    const std::pair<const char16_t*, kxtManufacturingProcess*> cases[] = {
        {u"GABI MILLED", m.GetProcType(0)}, {u"fraisé", m.GetProcType(0)}, {u"turned", m.GetProcType(1)}, {u"Forged", nullptr}};
    for (const auto& [name, found] : cases) EXPECT_EQ(m.FindProcType(name), found);
}

// Each call starts from 7 EUR per gram and changes only as far as its texts reach.
TEST(MaterialCostTest, FieldsChangeOnlyAsFarAsTheTextsReach) {
    const std::tuple<const char16_t*, const char16_t*, double, const char16_t*, eKxtMassUnits, const char16_t*, bool> cases[] = {
        // amount, unit: cost, currency, units, unit string, defined
        {u"12.50", u"USD/kg", 12.5, u"USD", eKxtKilogram, u"USD/kg", true},
        {u"  3.2 USD ", u"  USD / LB\t", 3.2, u"USD", eKxtPound, u"USD / LB", true},
        {u"1,250.00", u"CHF/Milligrams", 1.0, u"CHF", eKxtMilligram, u"CHF/Milligrams", true},
        {u"1", u"x/GM", 1.0, u"x", eKxtGram, u"x/GM", true},  {u"", u"USD/g", 0.0, u"USD", eKxtGram, u"USD/g", true},
        {u"abc", u"USD/kg", 7.0, u"EUR", eKxtGram, u"EUR/g", true}, {u"1e3", u"USD/kg", 7.0, u"EUR", eKxtGram, u"EUR/g", true},
        {u"5", u"   ", 5.0, u"EUR", eKxtGram, u"EUR/g", true},     {u"", u"", 7.0, u"EUR", eKxtGram, u"EUR/g", true},
        {u"5", u"USD/kg/kg", 0.0, u"EUR", eKxtGram, u"EUR/g", false}, {u"5", u"USD/ton", 0.0, u"USD", eKxtGram, u"USD/ton", false},
    };
    for (const auto& [amount, unit, cost, currency, units, unitString, defined] : cases) {
        kxtMaterialBase m;
        m.SetMaterialCostData(u"7", u"EUR/g"), m.SetMaterialCostData(amount, unit);
        EXPECT_EQ(std::tuple(m.GetMaterialCostPerUnitMass(), m.GetCurrency(), m.GetMaterialCostMassUnits(), m.GetUnitString(),
                             m.IsMaterialCostDefined()),
                  std::tuple(cost, std::u16string(currency), units, std::u16string(unitString), defined))
            << kxt::platform::Utf16ToUtf8(amount) << " " << kxt::platform::Utf16ToUtf8(unit);
    }
}

// A custom material outside a sustainability extras database answers with its
// database's names; every other material keeps its own, possibly empty, ones.
TEST(MaterialTest, LanguageNamesComeFromTheDatabaseOnlyForCustomMaterials) {
    kxtMaterialDB db;
    kxtMaterialClass group(&db);
    group.SetName(u"Steel");
    kxtMaterialBase m(&group);
    m.SetName(u"Carbon Steel"), m.SetLangName(u"ignored");
    EXPECT_EQ(m.GetLangName() + u"|" + m.GetLangClassName(), u"Carbon Steel|Steel");
    db.SetDBType(eKxtSustainExtrasDB);
    EXPECT_EQ(m.GetLangName(), u"");  // the ignored call stored nothing
    m.SetLangName(u"Acier au carbone"), m.SetLangCLassName(u"Acier");
    EXPECT_EQ(m.GetLangClassName(), u"Acier");
    db.SetDBType(eKxtNativeDB), m.SetMaterialType(eKxtStandardMaterial);
    EXPECT_EQ(m.GetLangName(), u"Acier au carbone");
}

}  // namespace
