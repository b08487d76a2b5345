// The property search of a database.
#include <gtest/gtest.h>

#include <kxtmat/kxtmat.h>

#include "module/resources.h"
#include "platform/modules.h"
#include "platform/text.h"

namespace {

using Condition = kxtPhysPropSearchCriterionDef::eSearchCondition;
using Names = std::vector<std::u16string>;

kxtSearchCriterionsSet SetOf(int classIndex, std::initializer_list<std::tuple<const char16_t*, Condition, double>> list) {
    kxtSearchCriterionsSet set;
    set.SetClassIndex(static_cast<unsigned int>(classIndex));
    for (const auto& [name, condition, value] : list) {
        kxtPhysPropSearchCriterionDef c;
        c.SetName(name), c.SetCondition(condition), c.SetValue(value);
        set.InsertCriterion(c);
    }
    return set;
}

// Class 0: Steel (DENS 7.85, cost 2), Aluminium (DENS 2.7, cost 3), Lead (no
// DENS, cost 10). Class 1: Oak (DENS 0.75, no cost).
class SearchTest : public ::testing::Test {
protected:
    SearchTest() {
        const std::tuple<const char16_t*, double, const char16_t*> rows[] = {
            {u"Steel", 7.85, u"2"}, {u"Aluminium", 2.7, u"3"}, {u"Lead", -1, u"10"}, {u"Oak", 0.75, u""}};
        for (const auto& [name, density, cost] : rows) {
            if (db_.GetGroupCount() == 0 || name == std::u16string_view(u"Oak")) db_.InsertGroup(kxtMaterialClass(&db_));
            kxtMaterialBase m;
            m.SetName(name), m.SetMaterialCostData(cost, u"USD/kg");
            if (density > 0) m.SetProperty(u"DENS", kxtMatPhysProp(u"Density", density));
            db_.GetMaterialClass(static_cast<int>(db_.GetGroupCount()) - 1)->InsertMaterial(m);
        }
    }

    Names Found() const {
        Names names;
        for (const kxtMaterialBase* m : results_) names.push_back(m->GetName());
        return names;
    }

    Names Search(const kxtSearchCriterionsSet& set, const std::u16string& excluded = u"") {
        results_.clear();
        db_.SearchMaterials(set, results_, excluded, nullptr);
        return Found();
    }

    kxtMaterialDB db_;
    std::vector<kxtMaterialBase*> results_;
};

TEST_F(SearchTest, ConditionsCompareThePropertyWithTheCriterionValue) {
    const std::tuple<Condition, double, Names> cases[] = {
        {Condition::eGreaterThan, 2.7, {u"Steel"}}, {Condition::eLessThan, 7.85, {u"Aluminium"}}, {static_cast<Condition>(4), 0.0, {}},
        {Condition::eAny, 0.0, {u"Steel", u"Aluminium"}},  // the property must exist
        {Condition::eApproximately, 7.5, {u"Steel"}},  // 4.7 % of the criterion value
        {Condition::eApproximately, 7.4, {}},          // 6.1 %
        {Condition::eApproximately, 2.7 / 1.05, {u"Aluminium"}}, {Condition::eApproximately, 0.0, {}},
        {Condition::eApproximately, -1.0, {u"Steel", u"Aluminium"}},
    };
    // Exactly 5 % of the criterion value still qualifies.
    kxtMaterialDB exact;
    exact.InsertGroup(kxtMaterialClass(&exact));
    kxtMaterialBase block;
    block.SetProperty(u"DENS", kxtMatPhysProp(u"Density", 105.0));
    exact.GetMaterialClass(0)->InsertMaterial(block);
    results_.clear();
    exact.SearchMaterials(SetOf(0, {{u"DENS", Condition::eApproximately, 100.0}}), results_, u"x", nullptr);
    EXPECT_EQ(results_.size(), 1u);
    for (const auto& [condition, value, found] : cases) EXPECT_EQ(Search(SetOf(0, {{u"dens", condition, value}})), found) << value;
    EXPECT_EQ(Search(SetOf(0, {{u"DENS", Condition::eGreaterThan, 1}, {u"DENS", Condition::eLessThan, 5}})), (Names{u"Aluminium"}));
}

// Results are appended; the answer is whether any are held afterwards.
TEST_F(SearchTest, ClassesExclusionAndIncludeAll) {
    EXPECT_EQ(Search(SetOf(-1, {}), u"STEEL"), (Names{u"Aluminium", u"Lead", u"Oak"}));
    results_.clear();
    EXPECT_EQ(db_.SearchMaterials(SetOf(0, {}), results_, u"", db_.GetMaterialClass(1)), 1);
    EXPECT_EQ(Found(), (Names{u"Oak"}));  // a class overrides a class index, but not -1
    EXPECT_EQ(db_.SearchMaterials(SetOf(-1, {}), results_, u"", db_.GetMaterialClass(1)), 1);
    EXPECT_EQ(Found().size(), 5u);
    results_.clear();
    const auto none = SetOf(0, {{u"DENS", Condition::eGreaterThan, 100.0}});
    EXPECT_EQ(db_.SearchInGroup(none, 0, results_, 1, u"lead", nullptr), 1);
    EXPECT_EQ(Found(), (Names{u"Steel", u"Aluminium"}));
    EXPECT_EQ(db_.SearchInGroup(none, 0, results_, 0, u"", nullptr), 0);
    EXPECT_EQ(db_.SearchMaterials(none, results_, u"", nullptr), 1) << "results were not empty";
    EXPECT_EQ(db_.SearchInGroup(SetOf(0, {}), -1, results_, 1, u"", nullptr), 0);
    EXPECT_EQ(db_.SearchMaterials(SetOf(5, {}), results_, u"", nullptr), 1);
    EXPECT_EQ(results_.size(), 2u);
}

TEST_F(SearchTest, FoundMaterialsTakeTheirTypeFromTheDatabase) {
    for (const auto& [dbType, type] : {std::pair{eKxtNativeDinDB, eKxtDinMaterial}, std::pair{eKxtNativeDB, eKxtStandardMaterial},
                                       std::pair{eKxtCustomDB, eKxtCustomMaterial}, std::pair{eKxtSustainExtrasDB, eKxtCustomMaterial}}) {
        db_.SetDBType(dbType);
        Search(SetOf(-1, {{u"DENS", Condition::eLessThan, 3.0}}));
        for (const kxtMaterialBase* m : results_) EXPECT_EQ(m->GetType(), type);
    }
    EXPECT_EQ(db_.GetMaterialClass(0)->GetMaterial(0u)->GetType(), eKxtCustomMaterial) << "Steel did not qualify";
}

// The cost criterion is named by string 32965 of the framework's resources.
TEST_F(SearchTest, TheCostCriterionTestsTheCostWhenThePropertyIsMissing) {
    ASSERT_EQ(kxt::module::FindFrameworkString(32965), u"");
    EXPECT_EQ(Search(SetOf(0, {{u"", Condition::eLessThan, 5}})), (Names{u"Steel", u"Aluminium"}));
    EXPECT_EQ(Search(SetOf(0, {{u"Material Cost", Condition::eAny, 0}})), Names{});
    const auto module = kxt::platform::LoadModuleForResources(
        kxt::platform::Utf8ToUtf16(KXTMAT_SAMPLE_DIR "/lang/english/kxTerraMatResU.dll"));
    if (module == nullptr) GTEST_SKIP() << "the English resource module is not built";
    kxt::module::RegisterResourceModule(module);
    EXPECT_EQ(Search(SetOf(-1, {{u"MATERIAL COST", Condition::eLessThan, 2.5}})), (Names{u"Steel", u"Oak"}));
    db_.GetMaterialClass(0)->GetMaterial(0u)->SetProperty(u"material cost", kxtMatPhysProp(u"Cost", 100));
    EXPECT_EQ(Search(SetOf(0, {{u"Material Cost", Condition::eGreaterThan, 50}})), (Names{u"Steel"}));
    kxt::module::UnregisterResourceModule(module);
    kxt::platform::ReleaseModule(module);
}

}  // namespace
