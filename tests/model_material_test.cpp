#include <gtest/gtest.h>

#include <kxtmat/kxtmat.h>

#include <string>
#include <vector>

#include "platform/files.h"

namespace {

kxtMaterialBase WithProperties(std::initializer_list<std::pair<std::u16string, double>> entries) {
    kxtMaterialBase m;
    for (const auto& [abb, value] : entries) m.SetProperty(abb, kxtMatPhysProp(u"name of " + abb, value));
    return m;
}

kxtManufacturingProcess Process(std::u16string native, std::u16string lang, std::u16string gabi) {
    kxtManufacturingProcess p;
    p.SetNativeName(std::move(native));
    p.SetLangName(std::move(lang));
    p.SetGaBiName(std::move(gabi));
    return p;
}

TEST(MaterialTest, PropertiesAreAppendedAndLookupsFindTheFirst) {
    kxtMaterialBase m = WithProperties({{u"DENS", 7.85}, {u"dens", 1.0}});
    EXPECT_EQ(m.GetMatPhysPropSet().size(), 2u);

    double density = 0.0;
    EXPECT_EQ(m.GetDensity(density), 1);
    EXPECT_EQ(density, 7.85);
    EXPECT_EQ(m.GetProperty(u"Dens").GetValue(), 7.85);
    kxtMatPhysProp found;
    EXPECT_EQ(m.FindElement(u"dEnS", found), 1);
    EXPECT_EQ(found.GetValue(), 7.85);
}

TEST(MaterialTest, AppendingOneOfItsOwnPropertiesSurvivesTheListGrowing) {
    // The argument lives in the list that the append reallocates.
    kxtMaterialBase m;
    m.SetProperty(u"DENS", kxtMatPhysProp(u"Mass density of the material, measured at 20 degrees", 7.85));
    for (int i = 0; i < 40; ++i) m.SetProperty(u"COPY", m.GetProperty(u"DENS"));
    m.SetProperty(u"MOVED", std::move(m.GetProperty(u"DENS")));
    ASSERT_EQ(m.GetMatPhysPropSet().size(), 42u);
    for (const std::size_t at : {std::size_t{1}, std::size_t{40}, std::size_t{41}}) {
        kxtMatPhysProp appended;
        m.GetMatPhysPropSet()[at].GetProperty(appended);
        std::u16string name;
        appended.GetPropName(name);
        EXPECT_EQ(name, u"Mass density of the material, measured at 20 degrees") << at;
        EXPECT_EQ(appended.GetValue(), 7.85) << at;
    }
}

TEST(MaterialTest, MissingPropertyAnswersSharedDefaultAndLeavesOutArgument) {
    kxtMaterialBase first = WithProperties({{u"E", 200.0}});
    kxtMaterialBase second;
    kxtMatPhysProp& missing = first.GetProperty(u"DENS");
    EXPECT_EQ(&missing, &second.GetProperty(u"XYZ"));  // one default for every material
    EXPECT_EQ(missing.GetValue(), 0.0);
    std::u16string name = u"unchanged";
    missing.GetPropName(name);
    EXPECT_EQ(name, u"");

    first.GetProperty(u"e").SetLangPropName(u"Module");  // changes the stored entry
    kxtMatPhysProp out(u"kept", 3.0);
    EXPECT_EQ(first.FindElement(u"E", out), 1);
    out.GetLangPropName(name);
    EXPECT_EQ(name, u"Module");

    out = kxtMatPhysProp(u"kept", 3.0);
    first.GetProperty(u"DENS", out);
    EXPECT_EQ(out.GetValue(), 3.0);
    EXPECT_EQ(first.FindElement(u"DENS", out), 0);
    EXPECT_EQ(out.GetValue(), 3.0);
}

TEST(MaterialTest, NextElementVisitsEachEntryOnceThenStartsOver) {
    kxtMaterialBase empty;
    std::u16string abb = u"kept";
    kxtMatPhysProp prop;
    EXPECT_EQ(empty.GetNextElement(abb, prop), 0);
    EXPECT_EQ(empty.GetNextElement(abb, prop), 0);
    EXPECT_EQ(abb, u"kept");

    const kxtMaterialBase m = WithProperties({{u"A", 1.0}, {u"B", 2.0}, {u"C", 3.0}});
    std::vector<std::u16string> seen;
    while (m.GetNextElement(abb, prop) == 1) seen.push_back(abb);
    EXPECT_EQ(seen, (std::vector<std::u16string>{u"A", u"B", u"C"}));
    EXPECT_EQ(abb, u"C");  // the final 0 left the outputs alone
    EXPECT_EQ(m.GetNextElement(abb, prop), 1);
    EXPECT_EQ(abb, u"A");
    EXPECT_EQ(prop.GetValue(), 1.0);
}

TEST(MaterialTest, CopiesAndNewPropertiesRestartTheIteration) {
    kxtMaterialBase m = WithProperties({{u"A", 1.0}, {u"B", 2.0}});
    std::u16string abb;
    kxtMatPhysProp prop;
    m.GetNextElement(abb, prop);
    m.GetNextElement(abb, prop);  // cursor on B

    kxtMaterialBase copy(m);
    EXPECT_EQ(copy.GetNextElement(abb, prop), 1);
    EXPECT_EQ(abb, u"A");

    m.SetProperty(u"C", kxtMatPhysProp());
    EXPECT_EQ(m.GetNextElement(abb, prop), 1);
    EXPECT_EQ(abb, u"A");

    const kxtMaterialBase& self = m;
    m = self;  // self-assignment leaves the cursor where it stands
    EXPECT_EQ(m.GetNextElement(abb, prop), 1);
    EXPECT_EQ(abb, u"B");
}

TEST(MaterialTest, DensityFallsBackToCalculatedOnlyWithoutAnyProperty) {
    kxtMaterialBase bare;
    double out = -1.0;
    bare.SetCalculatedDensity(1.0);
    EXPECT_EQ(bare.GetDensity(out), 0);
    EXPECT_EQ(out, -1.0);

    bare.SetCalculatedDensity(2.5);
    EXPECT_EQ(bare.GetDensity(out), 1);
    EXPECT_EQ(out, 2.5);

    kxtMaterialBase standard;
    standard.SetMaterialType(static_cast<eKxtMaterialType>(0));
    standard.SetCalculatedDensity(2.5);
    out = -1.0;
    EXPECT_EQ(standard.GetDensity(out), 0);

    kxtMaterialBase other = WithProperties({{u"E", 200.0}});
    other.SetCalculatedDensity(2.5);
    EXPECT_EQ(other.GetDensity(out), 0);
    EXPECT_EQ(out, -1.0);
}

TEST(MaterialTest, RecycledAmountIsClampedMaximumFirst) {
    kxtMaterialBase m;
    m.SetRecycledContentAmount(42.0);
    EXPECT_EQ(m.GetRecycledContentAmount(), 0.0);  // no limits yet

    m.SetRecycledContentLimits(20.0, 10.0, 1.0);
    EXPECT_EQ(m.GetRecycledContentAmount(), 0.0);  // limits do not re-clamp
    m.SetRecycledContentAmount(30.0);
    EXPECT_EQ(m.GetRecycledContentAmount(), 20.0);
    m.SetRecycledContentAmount(5.0);
    EXPECT_EQ(m.GetRecycledContentAmount(), 10.0);
    m.SetRecycledContentAmount(15.0);
    EXPECT_EQ(m.GetRecycledContentAmount(), 15.0);

    m.SetRecycledContentLimits(80.0, 5.0, 1.0);
    EXPECT_EQ(m.GetRecycledContentMax(), 80.0);
    EXPECT_EQ(m.GetRecycledContentMin(), 5.0);
    EXPECT_EQ(m.GetTradeMix(), 1.0);

    m.SetRecycledContentLimits(10.0, 20.0, 0.0);  // inverted
    m.SetRecycledContentAmount(15.0);
    EXPECT_EQ(m.GetRecycledContentAmount(), 10.0);
    m.SetRecycledContentAmount(5.0);
    EXPECT_EQ(m.GetRecycledContentAmount(), 20.0);
}

TEST(MaterialTest, FindProcTypeTriesLanguageNativeAndGabiNamesAndTakesTheFirst) {
    kxtMaterialBase m;
    m.InsertProc(Process(u"Milled", u"Fraisé", u"milling"));
    m.InsertProc(Process(u"Turned", u"Tourné", u"turning"));
    m.InsertProc(Process(u"Turned", u"Tourné 2", u"turning 2"));

    EXPECT_EQ(m.FindProcType(u"MILLING"), m.GetProcType(0));
    EXPECT_EQ(m.FindProcType(u"fraisé"), m.GetProcType(0));
    EXPECT_EQ(m.FindProcType(u"turned"), m.GetProcType(1));
    EXPECT_EQ(m.FindProcType(u"Forged"), nullptr);
    EXPECT_EQ(kxtMaterialBase().FindProcType(u""), nullptr);
}

TEST(MaterialTest, ProcessIndexesOutOfRangeChangeNothing) {
    kxtMaterialBase m;
    EXPECT_EQ(m.SetProcType(0, Process(u"a", u"b", u"c")), 0);
    EXPECT_EQ(m.GetProcCount(), 0u);
    EXPECT_EQ(m.GetProcType(0), nullptr);

    m.InsertProc(Process(u"Milled", u"", u""));
    EXPECT_EQ(m.SetProcType(0, Process(u"Turned", u"Tourné", u"turning")), 1);
    EXPECT_EQ(m.GetProcType(0)->GetLangName(), u"Tourné");
    EXPECT_EQ(m.GetProcType(1), nullptr);

    m.SetManufacturingTypes(m.GetManufacturingTypes());
    EXPECT_EQ(m.GetProcCount(), 1u);
}

TEST(MaterialTest, EnergyParametersAreKeyedCaseSensitivelyAndFirstInsertWins) {
    kxtMaterialBase m;
    m.InsertManufacturingParams(u"Milled", {1.0, 2.0});
    m.InsertManufacturingParams(u"Milled", {9.0});
    m.InsertManufacturingParams(u"MILLED", {3.0});
    EXPECT_EQ(m.GetManufacturingProcToEnergyParamMap().size(), 2u);

    std::vector<double> out;
    m.GetManufacturingEnergyParams(out, u"Milled");
    EXPECT_EQ(out, (std::vector<double>{1.0, 2.0}));
    m.GetManufacturingEnergyParams(out, u"MILLED");
    EXPECT_EQ(out, (std::vector<double>{3.0}));
    m.GetManufacturingEnergyParams(out, u"milled");
    EXPECT_EQ(out, (std::vector<double>{3.0}));  // unchanged
}

TEST(MaterialTest, CopyIsDeepButSharesOwnerAndLink) {
    kxtMaterialClass group;
    kxtMaterialBase linked;
    kxtMaterialBase m(&group);
    m.SetName(u"Steel");
    m.SetSageLink(&linked);
    m.SetProperty(u"DENS", kxtMatPhysProp(u"Density", 7.85));
    m.InsertProc(Process(u"Milled", u"", u""));
    m.InsertManufacturingParams(u"Milled", {1.0});

    kxtMaterialBase copy(m);
    EXPECT_EQ(copy.GetGrOwner(), &group);
    EXPECT_EQ(copy.GetSageLink(), &linked);
    copy.GetProperty(u"DENS").SetValue(1.0);
    copy.GetProcType(0)->SetNativeName(u"Turned");
    copy.SetManufacturingProcToEnergyParamMap({});

    EXPECT_EQ(m.GetProperty(u"DENS").GetValue(), 7.85);
    EXPECT_EQ(m.GetProcType(0)->GetNativeName(), u"Milled");
    EXPECT_EQ(m.GetManufacturingProcToEnergyParamMap().size(), 1u);
}

TEST(MaterialTest, OwnerQueriesWithoutOwnersAnswerEmpty) {
    kxtMaterialBase m;
    std::u16string name = u"kept";
    m.GetOwnerDbName(name);
    EXPECT_EQ(name, u"kept");
    EXPECT_EQ(m.GetOwnerDbPath(), u"");
    EXPECT_EQ(m.GetGrOwnerName(), u"");
    EXPECT_EQ(m.GetDbOwner(), nullptr);

    kxtMaterialClass orphanClass;  // a class that belongs to no database
    orphanClass.SetName(u"Steel");
    m.SetGrOwner(&orphanClass);
    EXPECT_EQ(m.GetGrOwnerName(), u"Steel");
    m.GetOwnerDbName(name);
    EXPECT_EQ(name, u"kept");
}

TEST(MaterialTest, OwnerQueriesReachTheDatabaseThroughTheClass) {
    kxtMaterialDB db;
    const std::u16string path = std::u16string(u"Libraries") + kxt::platform::kPathSeparator + u"My Metals.kvxmat";
    db.SetPath(path);
    kxtMaterialClass group(&db);
    group.SetName(u"Steel");
    const kxtMaterialBase m(&group);
    EXPECT_EQ(m.GetDbOwner(), &db);
    EXPECT_EQ(m.GetOwnerDbPath(), path);
    std::u16string name;
    m.GetOwnerDbName(name);
    EXPECT_EQ(name, u"my metals");
}

// A material of type 2 in a database that is not a sustainability extras one
// answers with its database's names; elsewhere it keeps its own.
class MaterialLangNamesTest : public ::testing::Test {
protected:
    MaterialLangNamesTest() {
        group_.SetName(u"Steel");
        material_.SetName(u"Plain Carbon Steel");
    }

    void SetDbType(eKxtMaterialBDType type) { db_.SetDBType(type); }

    kxtMaterialDB db_;
    kxtMaterialClass group_{&db_};
    kxtMaterialBase material_{&group_};
};

TEST_F(MaterialLangNamesTest, CustomMaterialUsesDatabaseNamesUnlessInSustainabilityExtras) {
    SetDbType(eKxtNativeDB);
    material_.SetLangName(u"ignored");
    material_.SetLangCLassName(u"ignored");
    EXPECT_EQ(material_.GetLangName(), u"Plain Carbon Steel");
    EXPECT_EQ(material_.GetLangClassName(), u"Steel");

    SetDbType(eKxtSustainExtrasDB);
    EXPECT_EQ(material_.GetLangName(), u"");  // the ignored calls stored nothing
    EXPECT_EQ(material_.GetLangClassName(), u"");
    material_.SetLangName(u"Acier au carbone");
    material_.SetLangCLassName(u"Acier");
    EXPECT_EQ(material_.GetLangName(), u"Acier au carbone");
    EXPECT_EQ(material_.GetLangClassName(), u"Acier");
}

TEST_F(MaterialLangNamesTest, StandardMaterialKeepsItsOwnEvenEmptyNames) {
    SetDbType(eKxtNativeDB);
    material_.SetMaterialType(static_cast<eKxtMaterialType>(0));
    EXPECT_EQ(material_.GetLangName(), u"");  // no fallback to the native name
    material_.SetLangName(u"Acier au carbone");
    EXPECT_EQ(material_.GetLangName(), u"Acier au carbone");
}

}  // namespace
