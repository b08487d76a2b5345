// The manager's construction, copies, small stores and resource module set-up.
#include <kxtmat/kxtmat.h>

#include <memory>
#include <set>
#include <tuple>

#include <gtest/gtest.h>

#include "module/resources.h"
#include "support/temp_installation.h"

namespace {

using kxt::module::FindFrameworkString;
using Texts = std::vector<std::u16string>;

kxtMaterialDB OneMaterialDB(const std::u16string& path, const std::u16string& className) {
    kxtMaterialDB db;
    db.SetDBType(eKxtCustomDB), db.SetPath(path), db.InsertGroup(kxtMaterialClass(&db));
    db.GetMaterialClass(0)->SetName(className), db.GetMaterialClass(0)->InsertMaterial(kxtMaterialBase());
    return db;
}

TEST(ManagerLifecycleTest, ANewManagerHasThreeEmptyDatabasesAndNoList) {
    kxtMaterialDBsManager m;
    EXPECT_TRUE(m.GetDatabaseCount() == 0 && m.GetDB(0) == nullptr && m.GetDB(-1) == nullptr);
    EXPECT_EQ(std::set<kxtMaterialDB*>({m.GetKxNativeDB(), m.GetKxNativeDinDB(), m.GetKxSustainExtrasDB()}).size(), 3u);
}

TEST(ManagerLifecycleTest, SageStringsAreReplacedAppendedAndNeverDuplicated) {
    kxtMaterialDBsManager manager;
    const std::tuple<int, const char16_t*, Texts> steps[] = {
        {0, u"A", {u"A"}}, {0, u"B", {u"B"}}, {5, u"B", {u"B"}}, {5, u"b", {u"B", u"b"}}, {-1, u"c", {u"B", u"b"}}};
    for (const auto& [index, text, after] : steps) {
        manager.SetSustainSageString(index, text);
        EXPECT_EQ(manager.GetSustainSageStrings(), after) << index;
    }
    manager.ClearSustainSageStrings();
    EXPECT_TRUE(manager.GetSustainSageStrings().empty());
}

TEST(ManagerLifecycleTest, CopiesOwnDeepCopiesOfTheirDatabases) {
    kxtMaterialDBsManager source;
    source.GetCustomDBs() = {OneMaterialDB(u"lib/first.kvxmat", u"Steel"), OneMaterialDB(u"lib/second.kvxmat", u"Wood")};
    source.SetProgDataSustainabilityPath(u"sustain"), source.SetSustainSageString(0, u"sage");

    kxtMaterialDBsManager copied(source), assigned;
    assigned.SetSustainSageString(0, u"other"), assigned = source;
    for (kxtMaterialDBsManager* copy : {&copied, &assigned}) {
        ASSERT_EQ(copy->GetCustomDBs().size(), 2u);
        const kxtMaterialClass* wood = copy->GetCustomDBs()[1].GetMaterialClass(0);
        EXPECT_NE(wood, source.GetCustomDBs()[1].GetMaterialClass(0));
        EXPECT_EQ(wood->GetName() + u"|" + copy->GetProgDataSustainabilityPath(), u"Wood|sustain");
        EXPECT_EQ(wood->GetDbOwner(), &copy->GetCustomDBs()[1]);
        EXPECT_EQ(copy->GetSustainSageStrings(), Texts{u"sage"});
    }

    // Assigning to itself and copying the list into itself change nothing;
    // a copy into another list replaces it.
    const kxtMaterialClass* group = source.GetCustomDBs()[0].GetMaterialClass(0);
    auto& self = source;
    source = self, source.GetCustomDBs(source.GetCustomDBs());
    EXPECT_EQ(source.GetCustomDBs()[0].GetMaterialClass(0), group);
    std::vector<kxtMaterialDB> out(3);
    source.GetCustomDBs(out);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_TRUE(out[0].GetPath() == u"lib/first.kvxmat" && out[0].GetMaterialClass(0) != group);
}

// The resource module comes from the temporary installation; its strings
// reach the framework-wide lookup while a manager that found it lives.
TEST(ManagerResourcesTest, TheResourceModuleLivesAsLongAsTheLastManagerThatFoundIt) {
    kxt::test::TempInstallation::Get({.withOwnModule = true, .withSampleData = false, .files = {}});
    EXPECT_EQ(FindFrameworkString(32965), u"");
    auto first = std::make_unique<kxtMaterialDBsManager>();
    first->InitResourcesData(), first->InitResourcesData();
    EXPECT_EQ(FindFrameworkString(32965) + u"|" + FindFrameworkString(137), u"Material Cost|Stainless Steel");
    auto copy = std::make_unique<kxtMaterialDBsManager>(*first);
    kxtMaterialDBsManager independent;
    independent.InitResourcesData();

    first.reset();
    independent = kxtMaterialDBsManager();
    EXPECT_EQ(FindFrameworkString(32965), u"Material Cost") << "the copy still holds it";
    copy.reset();
    EXPECT_EQ(FindFrameworkString(32965), u"");
}

}  // namespace
