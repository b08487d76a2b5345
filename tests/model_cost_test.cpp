#include <gtest/gtest.h>

#include <kxtmat/kxtmat.h>

#include <iterator>

namespace {

kxtMaterialCostData CostOf(const std::u16string& amount, const std::u16string& unit) {
    kxtMaterialBase m;
    m.SetMaterialCostData(amount, unit);
    kxtMaterialCostData data;
    m.GetMaterialCostData(data);
    return data;
}

// A material whose cost is already defined as 7 EUR per gram.
kxtMaterialBase Priced() {
    kxtMaterialBase m;
    m.SetMaterialCostData(u"7", u"EUR/g");
    return m;
}

void ExpectFields(const kxtMaterialBase& m, double cost, std::u16string_view currency, eKxtMassUnits units,
                  std::u16string_view unitString, bool defined) {
    EXPECT_EQ(m.GetMaterialCostPerUnitMass(), cost);
    EXPECT_EQ(m.GetCurrency(), currency);
    EXPECT_EQ(m.GetMaterialCostMassUnits(), units);
    EXPECT_EQ(m.GetUnitString(), unitString);
    EXPECT_EQ(m.IsMaterialCostDefined(), defined);
}

TEST(MaterialCostTest, NewMaterialHasNoCostAndEmptyTextsKeepIt) {
    kxtMaterialBase m;
    ExpectFields(m, 0.0, u"USD", eKxtKilogram, u"USD/kg", false);
    m.SetMaterialCostData(u"", u"");
    ExpectFields(m, 0.0, u"USD", eKxtKilogram, u"USD/kg", false);
}

TEST(MaterialCostTest, WellFormedTextsAreParsed) {
    kxtMaterialBase m;
    m.SetMaterialCostData(u"12.50", u"EUR/kg");
    ExpectFields(m, 12.5, u"EUR", eKxtKilogram, u"EUR/kg", true);

    m.SetMaterialCostData(u"  3.2 USD ", u"  USD / LB\t");
    ExpectFields(m, 3.2, u"USD", eKxtPound, u"USD / LB", true);
}

TEST(MaterialCostTest, EveryMassUnitWordIsRecognisedWithoutRegardToCase) {
    const std::pair<const char16_t*, eKxtMassUnits> cases[] = {
        {u"Milligrams", eKxtMilligram}, {u"MG", eKxtMilligram}, {u"milli", eKxtMilligram}, {u"mgs", eKxtMilligram},
        {u"g", eKxtGram},               {u"GM", eKxtGram},      {u"grams", eKxtGram},      {u"KGS", eKxtKilogram},
        {u"Kilo", eKxtKilogram},        {u"kilograms", eKxtKilogram}, {u"lbs", eKxtPound}, {u"Pounds", eKxtPound},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const kxtMaterialCostData data = CostOf(u"1", std::u16string(u"CHF/") + cases[i].first);
        EXPECT_EQ(data.massUnits, cases[i].second) << "case " << i;
        EXPECT_TRUE(data.defined) << "case " << i;
    }
}

TEST(MaterialCostTest, CommaEndsTheNumberButIsAccepted) {
    EXPECT_EQ(CostOf(u"1,250.00", u"USD/kg").costPerUnitMass, 1.0);
    const kxtMaterialCostData onlyMarks = CostOf(u".,.", u"USD/kg");
    EXPECT_EQ(onlyMarks.costPerUnitMass, 0.0);
    EXPECT_TRUE(onlyMarks.defined);
}

// Each call starts from a cost of 7 EUR per gram and changes only as far as its texts reach.
TEST(MaterialCostTest, EarlierFieldsStayWhereTheTextsStopTheParse) {
    struct Case {
        const char16_t* amount;
        const char16_t* unit;
        double cost;
        const char16_t* currency;
        eKxtMassUnits units;
        const char16_t* unitString;
        bool defined;
    };
    const Case cases[] = {
        // A malformed amount changes nothing.
        {u"abc", u"USD/kg", 7.0, u"EUR", eKxtGram, u"EUR/g", true},
        {u"-5", u"USD/kg", 7.0, u"EUR", eKxtGram, u"EUR/g", true},
        {u"1e3", u"USD/kg", 7.0, u"EUR", eKxtGram, u"EUR/g", true},
        {u"1 000 USD", u"USD/kg", 7.0, u"EUR", eKxtGram, u"EUR/g", true},
        // An empty unit keeps the earlier unit fields.
        {u"5", u"   ", 5.0, u"EUR", eKxtGram, u"EUR/g", true},
        // Not exactly one slash, or an empty side: undefined, unit fields kept.
        {u"5", u"USD", 0.0, u"EUR", eKxtGram, u"EUR/g", false},
        {u"5", u"USD/kg/kg", 0.0, u"EUR", eKxtGram, u"EUR/g", false},
        {u"5", u"/kg", 0.0, u"EUR", eKxtGram, u"EUR/g", false},
        {u"5", u" / ", 0.0, u"EUR", eKxtGram, u"EUR/g", false},
        // An unknown mass unit stores the currency and unit text but not the units.
        {u"5", u"USD/ton", 0.0, u"USD", eKxtGram, u"USD/ton", false},
        // No amount at all is a defined cost of 0.
        {u"", u"USD/g", 0.0, u"USD", eKxtGram, u"USD/g", true},
        {u"", u"", 7.0, u"EUR", eKxtGram, u"EUR/g", true},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        const Case& c = cases[i];
        kxtMaterialBase m = Priced();
        m.SetMaterialCostData(c.amount, c.unit);
        ExpectFields(m, c.cost, c.currency, c.units, c.unitString, c.defined);
    }
}

}  // namespace
