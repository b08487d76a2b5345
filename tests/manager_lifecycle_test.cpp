// The manager's construction, copies, small stores and resource module set-up.
#include <kxtmat/kxtmat.h>

#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "module/resources.h"
#include "support/temp_installation.h"

namespace {

using kxt::module::FindFrameworkString;

// A database of one class holding one material, with a path.
kxtMaterialDB OneMaterialDB(const std::u16string& path, const std::u16string& className,
                            const std::u16string& materialName) {
    kxtMaterialDB db;
    db.SetDBType(eKxtCustomDB);
    db.SetPath(path);
    kxtMaterialClass group;
    group.SetName(className);
    kxtMaterialBase material;
    material.SetName(materialName);
    group.InsertMaterial(material);
    db.InsertGroup(std::move(group));
    return db;
}

TEST(ManagerLifecycleTest, NewManagerHasAnEmptyDatabaseSet) {
    kxtMaterialDBsManager manager;
    EXPECT_EQ(manager.GetDatabaseCount(), 0);
    EXPECT_EQ(manager.GetDB(0), nullptr);
    EXPECT_EQ(manager.GetDB(-1), nullptr);

    kxtMaterialDB* native = manager.GetKxNativeDB();
    kxtMaterialDB* din = manager.GetKxNativeDinDB();
    kxtMaterialDB* extras = manager.GetKxSustainExtrasDB();
    ASSERT_NE(native, nullptr);
    EXPECT_NE(native, din);
    EXPECT_NE(din, extras);
    EXPECT_NE(native, extras);
    for (kxtMaterialDB* db : {native, din, extras}) {
        EXPECT_EQ(db->GetDBType(), eKxtNativeDB);
        EXPECT_EQ(db->GetGroupCount(), 0u);
    }
    EXPECT_EQ(manager.GetKxNativeDB(), native);
}

TEST(ManagerLifecycleTest, SageStringsAreReplacedAppendedAndNeverDuplicated) {
    kxtMaterialDBsManager manager;
    manager.ClearSustainSageStrings();
    EXPECT_TRUE(manager.GetSustainSageStrings().empty());

    manager.SetSustainSageString(0, u"A");
    EXPECT_EQ(manager.GetSustainSageStrings(), (std::vector<std::u16string>{u"A"}));
    manager.SetSustainSageString(0, u"B");
    EXPECT_EQ(manager.GetSustainSageStrings(), (std::vector<std::u16string>{u"B"}));
    manager.SetSustainSageString(5, u"B");
    EXPECT_EQ(manager.GetSustainSageStrings(), (std::vector<std::u16string>{u"B"}));
    manager.SetSustainSageString(5, u"b");
    EXPECT_EQ(manager.GetSustainSageStrings(), (std::vector<std::u16string>{u"B", u"b"}));
    manager.SetSustainSageString(-1, u"c");
    EXPECT_EQ(manager.GetSustainSageStrings(), (std::vector<std::u16string>{u"B", u"b"}));

    manager.ClearSustainSageStrings();
    EXPECT_TRUE(manager.GetSustainSageStrings().empty());
}

TEST(ManagerLifecycleTest, CopiesOwnDeepCopiesOfTheirDatabases) {
    kxtMaterialDBsManager source;
    source.GetCustomDBs().push_back(OneMaterialDB(u"lib/first.kvxmat", u"Steel", u"Rail"));
    source.GetCustomDBs().push_back(OneMaterialDB(u"lib/second.kvxmat", u"Wood", u"Oak"));
    source.SetProgDataSustainabilityPath(u"sustain");
    source.SetSustainSageString(0, u"sage");

    kxtMaterialDBsManager copy(source);
    ASSERT_EQ(copy.GetCustomDBs().size(), 2u);
    EXPECT_NE(copy.GetKxNativeDB(), source.GetKxNativeDB());
    const kxtMaterialClass* copied = copy.GetCustomDBs()[1].GetMaterialClass(0);
    const kxtMaterialClass* original = source.GetCustomDBs()[1].GetMaterialClass(0);
    ASSERT_NE(copied, nullptr);
    EXPECT_NE(copied, original);
    EXPECT_EQ(copied->GetName(), u"Wood");
    EXPECT_EQ(copied->GetDbOwner(), &copy.GetCustomDBs()[1]);
    EXPECT_EQ(copy.GetCustomDBs()[1].GetPath(), u"lib/second.kvxmat");
    EXPECT_EQ(copy.GetProgDataSustainabilityPath(), u"sustain");
    EXPECT_EQ(copy.GetSustainSageStrings(), source.GetSustainSageStrings());

    kxtMaterialDBsManager assigned;
    assigned.SetSustainSageString(0, u"other");
    assigned = source;
    EXPECT_EQ(assigned.GetCustomDBs().size(), 2u);
    EXPECT_EQ(assigned.GetSustainSageStrings(), source.GetSustainSageStrings());
}

TEST(ManagerLifecycleTest, SelfAssignmentAndSelfCopyChangeNothing) {
    kxtMaterialDBsManager manager;
    manager.GetCustomDBs().push_back(OneMaterialDB(u"lib/first.kvxmat", u"Steel", u"Rail"));
    const kxtMaterialClass* group = manager.GetCustomDBs()[0].GetMaterialClass(0);

    auto& self = manager;
    manager = self;
    manager.GetCustomDBs(manager.GetCustomDBs());
    ASSERT_EQ(manager.GetCustomDBs().size(), 1u);
    EXPECT_EQ(manager.GetCustomDBs()[0].GetMaterialClass(0), group);
}

TEST(ManagerLifecycleTest, CustomDatabaseCopiesReplaceTheCallersList) {
    kxtMaterialDBsManager manager;
    manager.GetCustomDBs().push_back(OneMaterialDB(u"lib/first.kvxmat", u"Steel", u"Rail"));
    std::vector<kxtMaterialDB> out(3);
    manager.GetCustomDBs(out);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].GetPath(), u"lib/first.kvxmat");
    EXPECT_EQ(out[0].GetDBType(), eKxtCustomDB);
    EXPECT_NE(out[0].GetMaterialClass(0), manager.GetCustomDBs()[0].GetMaterialClass(0));
}

// The resource module comes from the temporary installation; its strings
// reach the framework-wide lookup while a manager that found it lives.
class ManagerResourcesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        kxt::test::InstallationOptions options;
        options.withOwnModule = true;
        kxt::test::TempInstallation::Get(options);
    }
};

TEST_F(ManagerResourcesTest, InitResourcesDataMakesTheCostCriterionKnown) {
    EXPECT_EQ(FindFrameworkString(32965), u"");
    {
        kxtMaterialDBsManager manager;
        manager.InitResourcesData();
        EXPECT_EQ(FindFrameworkString(32965), u"Material Cost");
        EXPECT_EQ(FindFrameworkString(137), u"Stainless Steel");
    }
    EXPECT_EQ(FindFrameworkString(32965), u"");
}

TEST_F(ManagerResourcesTest, ResourceModuleOutlivesTheManagerThatLoadedIt) {
    auto first = std::make_unique<kxtMaterialDBsManager>();
    first->InitResourcesData();
    kxtMaterialDBsManager copy(*first);
    kxtMaterialDBsManager independent;
    independent.InitResourcesData();

    first.reset();
    EXPECT_EQ(FindFrameworkString(32965), u"Material Cost");
    {
        kxtMaterialDBsManager assigned;
        assigned = copy;
    }
    copy = kxtMaterialDBsManager();
    EXPECT_EQ(FindFrameworkString(32965), u"Material Cost");
}

TEST_F(ManagerResourcesTest, LastOwnerReleasesTheResourceModule) {
    {
        kxtMaterialDBsManager manager;
        manager.InitResourcesData();
        manager.InitResourcesData();
        kxtMaterialDBsManager copy(manager);
    }
    EXPECT_EQ(FindFrameworkString(32965), u"");
}

}  // namespace
