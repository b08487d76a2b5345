#include <gtest/gtest.h>

#include <kxtmat/kxtmat.h>

namespace {

std::u16string PropName(const kxtMatPhysProp& p) {
    std::u16string out;
    p.GetPropName(out);
    return out;
}

std::u16string LangName(const kxtMatPhysProp& p) {
    std::u16string out;
    p.GetLangPropName(out);
    return out;
}

std::u16string Abb(const kxtMatPhysPropSet& s) {
    std::u16string out;
    s.GetAbb(out);
    return out;
}

kxtMatPhysPropSet SetWithAbb(std::u16string abb) {
    kxtMatPhysPropSet s;
    s.SetProperty(std::move(abb), kxtMatPhysProp());
    return s;
}

TEST(PhysPropSetTest, ComparisonsIgnoreCaseAndLookOnlyAtTheAbbreviation) {
    kxtMatPhysPropSet upper;
    upper.SetProperty(u"DENS", u"Density", 1.0);
    kxtMatPhysPropSet lower;
    lower.SetProperty(u"dens", u"Other", 2.0);
    EXPECT_TRUE(upper == lower);
    EXPECT_FALSE(upper < lower);
    EXPECT_FALSE(upper > lower);

    const kxtMatPhysPropSet a = SetWithAbb(u"alpha");
    const kxtMatPhysPropSet b = SetWithAbb(u"BETA");
    EXPECT_FALSE(a == b);
    EXPECT_TRUE(a < b);  // case-insensitive: "alpha" before "beta" although 'B' < 'a' in code units
    EXPECT_TRUE(b > a);
    EXPECT_FALSE(b < a);
}

TEST(PhysPropSetTest, OnlyTheTwoArgumentSetPropertyReplacesTheLanguageName) {
    kxtMatPhysPropSet s;
    kxtMatPhysProp translated(u"Density", 1.0);
    translated.SetLangPropName(u"Dichte");
    s.SetProperty(u"DENS", translated);

    s.SetProperty(u"RHO", u"Mass density", 7.85);
    kxtMatPhysProp out;
    s.GetProperty(out);
    EXPECT_EQ(Abb(s), u"RHO");
    EXPECT_EQ(PropName(out), u"Mass density");
    EXPECT_EQ(out.GetValue(), 7.85);
    EXPECT_EQ(LangName(out), u"Dichte");

    s.SetProperty(u"DENS", kxtMatPhysProp(u"Density", 2.0));  // its empty language name too
    s.GetProperty(out);
    EXPECT_EQ(LangName(out), u"");
    EXPECT_EQ(out.GetValue(), 2.0);
}

TEST(PhysPropSetTest, ChangeThroughModifiableReferenceIsSeenByCopyingGetter) {
    kxtMatPhysPropSet s;
    s.SetProperty(u"DENS", u"Density", 1.0);
    s.GetProperty().SetLangPropName(u"Masse volumique");
    s.GetProperty().SetValue(3.0);

    kxtMatPhysProp out;
    s.GetProperty(out);
    EXPECT_EQ(LangName(out), u"Masse volumique");
    EXPECT_EQ(out.GetValue(), 3.0);
}

}  // namespace
