#include <gtest/gtest.h>

#include <kxtmat/kxtmat.h>

#include <vector>

#include "module/resources.h"
#include "platform/modules.h"
#include "platform/text.h"

namespace {

using Condition = kxtPhysPropSearchCriterionDef::eSearchCondition;

kxtPhysPropSearchCriterionDef Criterion(std::u16string name, Condition condition, double value) {
    kxtPhysPropSearchCriterionDef c;
    c.SetName(std::move(name));
    c.SetCondition(condition);
    c.SetValue(value);
    return c;
}

kxtSearchCriterionsSet SetOf(int classIndex, std::initializer_list<kxtPhysPropSearchCriterionDef> criteria) {
    kxtSearchCriterionsSet set;
    set.SetClassIndex(static_cast<unsigned int>(classIndex));
    for (const auto& c : criteria) set.InsertCriterion(c);
    return set;
}

TEST(SearchCriteriaTest, SetterRulesOfTheSet) {
    kxtSearchCriterionsSet set;
    set.SetClassIndex(4294967295u);
    EXPECT_EQ(set.GetClassIndex(), -1);
    set.SetFindSimilarUnits(4);
    EXPECT_EQ(set.GetFindSimilarUnits(), 4);
    set.SetFindSimilarUnits(5);
    EXPECT_EQ(set.GetFindSimilarUnits(), 0);
    set.SetFindSimilarUnits(3);
    set.SetFindSimilarUnits(-1);
    EXPECT_EQ(set.GetFindSimilarUnits(), 0);
}

TEST(SearchCriteriaTest, CriteriaByIndexIgnoreIndexesOutOfRange) {
    kxtSearchCriterionsSet set = SetOf(2, {Criterion(u"DENS", Condition::eLessThan, 5.0)});
    set.SetFindSimilarUnits(2);

    kxtPhysPropSearchCriterionDef out = Criterion(u"kept", Condition::eAny, 1.0);
    set.GetCriterion(1, out);
    EXPECT_EQ(out.GetName(), u"kept");
    set.SetCriterion(1, Criterion(u"E", Condition::eAny, 0.0));
    EXPECT_EQ(set.GetCount(), 1);

    set.SetCriterion(0, Criterion(u"E", Condition::eGreaterThan, 200.0));
    const kxtSearchCriterionsSet copy(set);
    set.Clear();
    EXPECT_EQ(set.GetCount(), 0);
    EXPECT_EQ(set.GetClassIndex(), 2);
    EXPECT_EQ(set.GetFindSimilarUnits(), 2);

    ASSERT_EQ(copy.GetCount(), 1);
    copy.GetCriterion(0, out);
    EXPECT_EQ(out.GetName(), u"E");
    EXPECT_EQ(out.GetCondition(), Condition::eGreaterThan);
    EXPECT_EQ(out.GetValue(), 200.0);
}

// Class 0 "Metals": Steel (DENS 7.85, cost 2), Aluminium (DENS 2.7, cost 3),
// Lead (no DENS, cost 10). Class 1 "Woods": Oak (DENS 0.75).
class SearchTest : public ::testing::Test {
protected:
    SearchTest() {
        kxtMaterialClass metals(&db_);
        metals.SetName(u"Metals");
        Add(metals, u"Steel", 7.85, u"2");
        Add(metals, u"Aluminium", 2.7, u"3");
        kxtMaterialBase lead(&metals);
        lead.SetName(u"Lead");
        lead.SetProperty(u"E", kxtMatPhysProp(u"Modulus", 16.0));
        lead.SetMaterialCostData(u"10", u"USD/kg");
        metals.InsertMaterial(lead);
        db_.InsertGroup(metals);
        kxtMaterialClass woods(&db_);
        woods.SetName(u"Woods");
        Add(woods, u"Oak", 0.75, u"");
        db_.InsertGroup(woods);
    }

    static void Add(kxtMaterialClass& group, std::u16string name, double density, std::u16string cost) {
        kxtMaterialBase m(&group);
        m.SetName(std::move(name));
        m.SetProperty(u"DENS", kxtMatPhysProp(u"Density", density));
        m.SetMaterialCostData(cost, u"USD/kg");
        group.InsertMaterial(m);
    }

    std::vector<std::u16string> Names() const {
        std::vector<std::u16string> names;
        for (const kxtMaterialBase* m : results_) names.push_back(m->GetName());
        return names;
    }

    // The names that a search of class 0 for one density criterion finds.
    std::vector<std::u16string> DensitySearch(Condition condition, double value) {
        results_.clear();
        db_.SearchInGroup(SetOf(0, {Criterion(u"dens", condition, value)}), 0, results_, 0, u"", nullptr);
        return Names();
    }

    using Names_ = std::vector<std::u16string>;
    kxtMaterialDB db_;
    std::vector<kxtMaterialBase*> results_;
};

TEST_F(SearchTest, WithoutCriteriaEverythingButTheExcludedNameQualifies) {
    EXPECT_EQ(db_.SearchMaterials(SetOf(-1, {}), results_, u"STEEL", nullptr), 1);
    EXPECT_EQ(Names(), (Names_{u"Aluminium", u"Lead", u"Oak"}));
}

TEST_F(SearchTest, GreaterAndLessAreStrictAndAnyNeedsTheProperty) {
    EXPECT_EQ(DensitySearch(Condition::eGreaterThan, 2.7), (Names_{u"Steel"}));
    EXPECT_EQ(DensitySearch(Condition::eLessThan, 7.85), (Names_{u"Aluminium"}));
    EXPECT_EQ(DensitySearch(Condition::eAny, 0.0), (Names_{u"Steel", u"Aluminium"}));
    EXPECT_EQ(DensitySearch(static_cast<Condition>(4), 0.0), Names_{});
}

TEST_F(SearchTest, ApproximatelyIsRelativeToTheCriterionValueItself) {
    EXPECT_EQ(DensitySearch(Condition::eApproximately, 7.5), (Names_{u"Steel"}));   // 4.7 %
    EXPECT_EQ(DensitySearch(Condition::eApproximately, 7.4), Names_{});             // 6.1 %
    EXPECT_EQ(DensitySearch(Condition::eApproximately, 0.0), Names_{});
    EXPECT_EQ(DensitySearch(Condition::eApproximately, -1.0), (Names_{u"Steel", u"Aluminium"}));
}

TEST_F(SearchTest, ApproximatelyBoundaryIsInclusive) {
    kxtMaterialClass group;
    const std::pair<const char16_t*, double> materials[] = {{u"10.5", 10.5}, {u"10.6", 10.6}, {u"9.5", 9.5}};
    for (const auto& [name, value] : materials) {
        kxtMaterialBase m;
        m.SetName(name);
        m.SetProperty(u"X", kxtMatPhysProp(u"x", value));
        group.InsertMaterial(m);
    }
    db_.SearchInGroup(SetOf(0, {Criterion(u"X", Condition::eApproximately, 10.0)}), 0, results_, 0, u"", &group);
    EXPECT_EQ(Names(), (Names_{u"10.5", u"9.5"}));
}

TEST_F(SearchTest, AllCriteriaMustHold) {
    const auto set = SetOf(0, {Criterion(u"DENS", Condition::eGreaterThan, 1.0),
                               Criterion(u"DENS", Condition::eLessThan, 5.0)});
    EXPECT_EQ(db_.SearchMaterials(set, results_, u"", nullptr), 1);
    EXPECT_EQ(Names(), (Names_{u"Aluminium"}));
}

TEST_F(SearchTest, ClassPointerOverridesASpecificIndexButNotMinusOne) {
    kxtMaterialClass* woods = db_.GetMaterialClass(1);
    EXPECT_EQ(db_.SearchMaterials(SetOf(0, {}), results_, u"", woods), 1);
    EXPECT_EQ(Names(), (Names_{u"Oak"}));

    results_.clear();
    db_.SearchMaterials(SetOf(-1, {}), results_, u"", woods);
    EXPECT_EQ(Names(), (Names_{u"Steel", u"Aluminium", u"Lead", u"Oak"}));
}

TEST_F(SearchTest, ClassIndexOutOfRangeLeavesTheListAlone) {
    EXPECT_EQ(db_.SearchInGroup(SetOf(0, {}), 2, results_, 0, u"", nullptr), 0);
    EXPECT_EQ(db_.SearchInGroup(SetOf(0, {}), -1, results_, 1, u"", nullptr), 0);
    EXPECT_EQ(db_.SearchMaterials(SetOf(5, {}), results_, u"", nullptr), 0);
    EXPECT_TRUE(results_.empty());
}

TEST_F(SearchTest, ResultsAccumulateAcrossSearches) {
    const auto none = SetOf(0, {Criterion(u"DENS", Condition::eGreaterThan, 100.0)});
    results_.push_back(nullptr);
    EXPECT_EQ(db_.SearchMaterials(none, results_, u"", nullptr), 1);
    EXPECT_EQ(db_.SearchInGroup(none, 0, results_, 0, u"", nullptr), 0);
    EXPECT_EQ(results_.size(), 1u);

    results_.clear();
    const auto light = SetOf(1, {Criterion(u"DENS", Condition::eLessThan, 1.0)});
    db_.SearchMaterials(light, results_, u"", nullptr);
    db_.SearchMaterials(light, results_, u"", nullptr);
    EXPECT_EQ(Names(), (Names_{u"Oak", u"Oak"}));
}

TEST_F(SearchTest, IncludeAllAppendsFailingMaterialsButStillHonoursExclusion) {
    const auto none = SetOf(0, {Criterion(u"DENS", Condition::eGreaterThan, 100.0)});
    EXPECT_EQ(db_.SearchInGroup(none, 0, results_, 1, u"lead", nullptr), 1);
    EXPECT_EQ(Names(), (Names_{u"Steel", u"Aluminium"}));
}

TEST_F(SearchTest, AppendedMaterialsTakeTheirTypeFromTheDatabase) {
    const std::pair<eKxtMaterialBDType, int> cases[] = {
        {eKxtNativeDinDB, 1}, {eKxtNativeDB, 0}, {eKxtCustomDB, 2}, {eKxtSustainExtrasDB, 2}};
    for (const auto& [dbType, materialType] : cases) {
        db_.SetDBType(dbType);
        db_.GetMaterialClass(1)->GetMaterial(0u)->SetMaterialType(static_cast<eKxtMaterialType>(1 - materialType % 2));
        results_.clear();
        db_.SearchMaterials(SetOf(-1, {Criterion(u"DENS", Condition::eLessThan, 3.0)}), results_, u"", nullptr);
        ASSERT_EQ(results_.size(), 2u);
        for (const kxtMaterialBase* m : results_) EXPECT_EQ(m->GetType(), materialType);
    }
    // A material that did not qualify keeps its type.
    EXPECT_EQ(db_.GetMaterialClass(0)->GetMaterial(0u)->GetType(), eKxtCustomMaterial);
    db_.SetDBType(eKxtNativeDinDB);
}

// A class longer than the search reads ahead, with materials without any
// property among the others: every material is tested, in order, to the last.
TEST_F(SearchTest, LongClassesAreSearchedInOrderToTheirLastMaterial) {
    kxtMaterialClass group;
    for (int i = 0; i < 21; ++i) {
        kxtMaterialBase m;
        m.SetName(std::u16string(1, static_cast<char16_t>(u'a' + i)));
        if (i % 3 != 1) m.SetProperty(u"DENS", kxtMatPhysProp(u"Density", i));
        group.InsertMaterial(m);
    }
    db_.SearchInGroup(SetOf(0, {Criterion(u"dens", Condition::eGreaterThan, 4.0)}), 0, results_, 0, u"", &group);
    EXPECT_EQ(Names(), (Names_{u"f", u"g", u"i", u"j", u"l", u"m", u"o", u"p", u"r", u"s", u"u"}));
}

// Without a resource module known to the framework the cost criterion's name is empty.
TEST_F(SearchTest, WithoutResourcesOnlyAnUnnamedCriterionTestsTheCost) {
    ASSERT_EQ(kxt::module::FindFrameworkString(32965), u"");
    // The cost criterion's name is then the empty text: an unnamed criterion tests the cost.
    EXPECT_EQ(db_.SearchMaterials(SetOf(0, {Criterion(u"", Condition::eAny, 0.0)}), results_, u"", nullptr), 1);
    results_.clear();
    EXPECT_EQ(db_.SearchMaterials(SetOf(0, {Criterion(u"Material Cost", Condition::eAny, 0.0)}), results_, u"",
                                  nullptr),
              0);
}

// With the English resource module registered, "Material Cost" tests the cost per unit mass.
class CostSearchTest : public SearchTest {
protected:
    void SetUp() override {
        module_ = kxt::platform::LoadModuleForResources(
            kxt::platform::Utf8ToUtf16(KXTMAT_SAMPLE_DIR "/lang/english/kxTerraMatResU.dll"));
        if (module_ == nullptr) GTEST_SKIP() << "the English resource module is not built";
        kxt::module::RegisterResourceModule(module_);
    }

    void TearDown() override {
        if (module_ == nullptr) return;
        kxt::module::UnregisterResourceModule(module_);
        kxt::platform::ReleaseModule(module_);
    }

    kxt::platform::ModuleHandle module_ = nullptr;
};

TEST_F(CostSearchTest, CostCriterionTestsTheCostWhenThePropertyIsMissing) {
    db_.SearchMaterials(SetOf(-1, {Criterion(u"MATERIAL COST", Condition::eGreaterThan, 2.5)}), results_, u"",
                        nullptr);
    EXPECT_EQ(Names(), (Names_{u"Aluminium", u"Lead"}));

    results_.clear();  // an undefined cost counts as 0
    db_.SearchMaterials(SetOf(1, {Criterion(u"Material Cost", Condition::eLessThan, 1.0)}), results_, u"", nullptr);
    EXPECT_EQ(Names(), (Names_{u"Oak"}));
}

TEST_F(CostSearchTest, APropertyNamedLikeTheCostCriterionWins) {
    kxtMaterialClass group;
    kxtMaterialBase m;
    m.SetName(u"Priced");
    m.SetMaterialCostData(u"100", u"USD/kg");
    m.SetProperty(u"material cost", kxtMatPhysProp(u"Cost", 1.0));
    group.InsertMaterial(m);
    const auto set = SetOf(0, {Criterion(u"Material Cost", Condition::eGreaterThan, 50.0)});
    EXPECT_EQ(db_.SearchInGroup(set, 0, results_, 0, u"", &group), 0);
}

}  // namespace
