#include <gtest/gtest.h>

#include <kxtmat/kxtmat.h>

#include <string>
#include <vector>

#include "platform/files.h"

namespace {

std::u16string DbName(std::u16string path) {
    kxtMaterialDB db;
    db.SetPath(std::move(path));
    return db.GetDbName();
}

// Classes shorter and longer than a walk reads ahead: each material is found
// at its own position by name and identifier in any case, and the first of
// two bearing a name wins.
TEST(MaterialDbWalkTest, NameAndIdLookupsReachEveryPositionOfClassesOfAnyLength) {
    kxtMaterialDB db;
    const unsigned sizes[] = {1, 9, 17};
    for (unsigned k = 0; k < 3; ++k) {
        kxtMaterialClass group;
        for (unsigned j = 0; j < sizes[k]; ++j) {
            kxtMaterialBase m;
            const std::u16string key = std::u16string(1, static_cast<char16_t>(u'A' + k)) +
                                       std::u16string(1, static_cast<char16_t>(u'A' + j));
            m.SetName(u"Name " + key);
            m.SetMaterialID(u"ID" + key);
            group.InsertMaterial(std::move(m));
        }
        db.InsertGroup(std::move(group));
    }
    for (unsigned k = 0; k < 3; ++k) {
        for (unsigned j = 0; j < sizes[k]; ++j) {
            const std::u16string key = std::u16string(1, static_cast<char16_t>(u'a' + k)) +
                                       std::u16string(1, static_cast<char16_t>(u'a' + j));
            const kxtMaterialBase* expected = db.GetMaterialClass(static_cast<int>(k))->GetMaterial(j);
            kxtMaterialBase* found = nullptr;
            ASSERT_EQ(db.GetMaterialByName(u"NAME " + key, found, 0), 1) << k << ' ' << j;
            EXPECT_EQ(found, expected);
            ASSERT_EQ(db.GetMaterialByID(u"id" + key, found), 1);
            EXPECT_EQ(found, expected);
        }
    }
    kxtMaterialBase* found = nullptr;
    EXPECT_EQ(db.GetMaterialByName(u"Name CR", found, 0), 0);
    EXPECT_EQ(found, nullptr);

    db.GetMaterialClass(2)->GetMaterial(16u)->SetName(u"Name BI");  // also the last of class 1
    ASSERT_EQ(db.GetMaterialByName(u"name bi", found, 0), 1);
    EXPECT_EQ(found, db.GetMaterialClass(1)->GetMaterial(8u));
}

TEST(MaterialDbIdentityTest, ShortNameIsTheLowerCaseFileNameWithoutExtension) {
    const std::u16string sep(1, kxt::platform::kPathSeparator);
    EXPECT_EQ(DbName(u"korvex" + sep + u"lang" + sep + u"Korvex DIN Materials.kvxmat"), u"korvex din materials");
    EXPECT_EQ(DbName(u"data" + sep + u"lib.v2" + sep + u"My.Metals.KVXMAT"), u"my.metals");
    EXPECT_EQ(DbName(u"Ölwerkstoffe"), u"ölwerkstoffe");
    EXPECT_EQ(DbName(u"folder.d" + sep + u"noext"), u"noext");
    EXPECT_EQ(DbName(u""), u"");
}

TEST(MaterialDbIdentityTest, OnlyThePlatformSeparatorEndsAFolder) {
#ifdef _WIN32
    EXPECT_EQ(DbName(u"C:/libs/Korvex Materials.kvxmat"), u"c:/libs/korvex materials");
#else
    EXPECT_EQ(DbName(u"/data/lib\\My Metals.kvxmat"), u"lib\\my metals");
#endif
}

TEST(MaterialDbIdentityTest, LangPathOfCustomDatabasesIsTheirOwnPath) {
    kxtMaterialDB db;
    db.SetPath(u"somewhere/My Materials.kvxmat");
    std::u16string out;
    for (eKxtMaterialBDType type : {eKxtCustomDB, eKxtSustainExtrasDB}) {
        db.SetDBType(type);
        db.GetLangPath(out);
        EXPECT_EQ(out, u"somewhere/My Materials.kvxmat");
    }
}

TEST(MaterialDbIdentityTest, LangPathOfStandardDatabasesWithoutSiblingModuleIsRelative) {
    // No sibling module is loaded in this test program.
    kxtMaterialDB db;
    std::u16string out;
    db.GetLangPath(out);
#ifdef _WIN32
    EXPECT_EQ(out, u"kvxmaterials\\korvex materials.kvxmat");
#else
    EXPECT_EQ(out, u"kvxmaterials/korvex materials.kvxmat");
#endif
    db.SetDBType(eKxtNativeDinDB);
    db.GetLangPath(out);
    EXPECT_TRUE(out.ends_with(u"korvex din materials.kvxmat"));
}

// Two classes of three materials in a sustainability extras database, so that
// the materials keep their own language names.
class MaterialDbTest : public ::testing::Test {
protected:
    MaterialDbTest() {
        db_.SetDBType(eKxtSustainExtrasDB);
        db_.SetPath(u"extras/Sustainability Extras.kvxmat");
        kxtMaterialClass steel(&db_);
        steel.SetName(u"Steel");
        Add(steel, u"Carbon Steel", u"Acier au carbone", u"Acier", u"ID-1", u"steel_gabi", u"Fraisé");
        Add(steel, u"Tool Steel", u"Acier à outils", u"Acier", u"ID-2", u"", u"FRAISÉ");
        db_.InsertGroup(steel);
        kxtMaterialClass plastics(&db_);
        plastics.SetName(u"Plastics");
        Add(plastics, u"ABS", u"Carbon Steel", u"Plastiques", u"id-1", u"abs_gabi", u"Moulé");
        Add(plastics, u"PVC", u"PVC", u"Plastiques", u"ID-3", u"", u"");
        db_.InsertGroup(std::move(plastics));
    }

    static void Add(kxtMaterialClass& group, std::u16string name, std::u16string lang, std::u16string langClass,
                    std::u16string id, std::u16string gabi, std::u16string process) {
        kxtMaterialBase m(&group);
        m.SetName(std::move(name));
        m.SetLangName(std::move(lang));
        m.SetLangCLassName(std::move(langClass));
        m.SetMaterialID(std::move(id));
        m.SetGaBiName(std::move(gabi));
        kxtManufacturingProcess p;
        p.SetLangName(std::move(process));
        m.InsertProc(p);
        group.InsertMaterial(m);
    }

    kxtMaterialBase* At(unsigned group, unsigned material) {
        kxtMaterialBase* out = nullptr;
        db_.GetMaterial(group, material, out);
        return out;
    }

    kxtMaterialDB db_;
};

TEST_F(MaterialDbTest, InsertedClassesPointTheirMaterialsAtThemselves) {
    for (int i = 0; i < 2; ++i) {
        const kxtMaterialClass* group = db_.GetMaterialClass(i);
        EXPECT_EQ(group->GetDbOwner(), &db_);
        EXPECT_EQ(group->GetMaterial(0u)->GetGrOwner(), group);
    }
}

TEST_F(MaterialDbTest, IndexLookupsRejectOutOfRange) {
    EXPECT_EQ(db_.GetMaterialClass(-1), nullptr);
    EXPECT_EQ(db_.GetMaterialClass(2), nullptr);
    std::u16string name = u"kept";
    EXPECT_EQ(db_.GetMaterialGroupName(2, name), 0);
    EXPECT_EQ(name, u"kept");
    EXPECT_EQ(db_.GetMaterialGroupName(1, name), 1);
    EXPECT_EQ(name, u"Plastics");

    kxtMaterialBase* out = nullptr;
    EXPECT_EQ(db_.GetMaterial(2, 0, out), 0);
    EXPECT_EQ(db_.GetMaterial(0, 2, out), 0);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(db_.GetMaterial(1, 1, out), 1);
    EXPECT_EQ(out->GetName(), u"PVC");
}

TEST_F(MaterialDbTest, FindMaterialGroupMatchesNameOrLanguageName) {
    EXPECT_EQ(db_.FindMaterialGroup(u"PLASTICS"), db_.GetMaterialClass(1));
    EXPECT_EQ(db_.FindMaterialGroup(u"acier"), db_.GetMaterialClass(0));
    EXPECT_EQ(db_.FindMaterialGroup(u"Wood"), nullptr);
    EXPECT_EQ(db_.FindMaterial(u"Plastiques", u"pvc"), At(1, 1));
    EXPECT_EQ(db_.FindMaterial(u"Steel", u"PVC"), nullptr);
    EXPECT_EQ(db_.FindMaterial(u"Wood", u"PVC"), nullptr);
}

TEST_F(MaterialDbTest, MaterialByNameTakesTheFirstMaterialMatchingAnyKey) {
    kxtMaterialBase* out = nullptr;
    EXPECT_EQ(db_.GetMaterialByName(u"abs", out, 0), 1);
    EXPECT_EQ(out, At(1, 0));
    // "Carbon Steel" is the native name of the first material and the language name of a later one.
    EXPECT_EQ(db_.GetMaterialByName(u"carbon steel", out, 0), 1);
    EXPECT_EQ(out, At(0, 0));
    EXPECT_EQ(db_.GetMaterialByName(u"acier à outils", out, 0), 1);
    EXPECT_EQ(out, At(0, 1));

    // Under the GaBi key the native name no longer matches, the language name still does.
    EXPECT_EQ(db_.GetMaterialByName(u"Carbon Steel", out, 1), 1);
    EXPECT_EQ(out, At(1, 0));
    EXPECT_EQ(db_.GetMaterialByName(u"ABS_GABI", out, 1), 1);
    EXPECT_EQ(out, At(1, 0));

    out = nullptr;
    EXPECT_EQ(db_.GetMaterialByName(u"abs_gabi", out, 0), 0);
    EXPECT_EQ(db_.GetMaterialByName(u"abs_gabi", out, static_cast<unsigned short>(1), 1), 0);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(db_.GetMaterialByName(u"Tool Steel", out, static_cast<unsigned short>(7), -3), 1);
    EXPECT_EQ(out, At(0, 1));
}

TEST_F(MaterialDbTest, MaterialByIdIgnoresCaseAndTakesTheFirst) {
    kxtMaterialBase* out = nullptr;
    EXPECT_EQ(db_.GetMaterialByID(u"id-1", out), 1);
    EXPECT_EQ(out, At(0, 0));
    EXPECT_EQ(db_.GetMaterialByID(u"Id-3", out), 1);
    EXPECT_EQ(out, At(1, 1));
    EXPECT_EQ(db_.GetMaterialByID(u"ID-9", out), 0);
    EXPECT_EQ(out, At(1, 1));
}

TEST_F(MaterialDbTest, GroupNameFollowsTheLanguageOfTheMatchedName) {
    EXPECT_EQ(db_.FindMaterialGroupName(u"tool steel"), u"Steel");
    EXPECT_EQ(db_.FindMaterialGroupName(u"Acier à outils"), u"Acier");
    EXPECT_EQ(db_.FindMaterialGroupName(u"pvc"), u"Plastics");  // native match is tested first
    EXPECT_EQ(db_.FindMaterialGroupName(u"Wood"), u"");
}

TEST_F(MaterialDbTest, AllProcessTypesListsEachLanguageNameOnceInFirstCase) {
    EXPECT_EQ(db_.GetAllProcessTypes(), (std::vector<std::u16string>{u"Fraisé", u"Moulé", u""}));
}

TEST_F(MaterialDbTest, EraseMaterialGroupKeepsTheErasedClassAlive) {
    kxtMaterialClass* erased = db_.GetMaterialClass(0);
    kxtMaterialClass* second = db_.GetMaterialClass(1);
    db_.EraseMaterialGroup(5);
    EXPECT_EQ(db_.GetGroupCount(), 2u);

    db_.EraseMaterialGroup(0);
    EXPECT_EQ(db_.GetGroupCount(), 1u);
    EXPECT_EQ(db_.GetMaterialClass(0), second);
    EXPECT_EQ(erased->GetName(), u"Steel");
    EXPECT_EQ(erased->GetMaterialName(1), u"Tool Steel");
    kxtMaterialBase* out = nullptr;
    EXPECT_EQ(db_.GetMaterialByName(u"Tool Steel", out, 0), 0);
}

TEST_F(MaterialDbTest, ClearKeepsTypeAndPath) {
    db_.Clear();
    EXPECT_EQ(db_.GetGroupCount(), 0u);
    EXPECT_EQ(db_.GetDBType(), eKxtSustainExtrasDB);
    EXPECT_EQ(db_.GetDbName(), u"sustainability extras");
}

TEST_F(MaterialDbTest, CopyAnswersAlikeWithNewObjectsOwnedByTheCopy) {
    kxtMaterialDB copy(db_);
    kxtMaterialDB assigned;
    assigned.InsertGroup(kxtMaterialClass());
    assigned = db_;

    for (kxtMaterialDB* target : {&copy, &assigned}) {
        EXPECT_EQ(target->GetDBType(), eKxtSustainExtrasDB);
        EXPECT_EQ(target->GetPath(), db_.GetPath());
        ASSERT_EQ(target->GetGroupCount(), 2u);
        for (int i = 0; i < 2; ++i) {
            kxtMaterialClass* group = target->GetMaterialClass(i);
            EXPECT_NE(group, db_.GetMaterialClass(i));
            EXPECT_EQ(group->GetDbOwner(), target);
            EXPECT_EQ(group->GetMaterial(0u)->GetGrOwner(), group);
        }
        kxtMaterialBase* out = nullptr;
        EXPECT_EQ(target->GetMaterialByID(u"ID-3", out), 1);
        EXPECT_EQ(out->GetName(), u"PVC");
        EXPECT_NE(out, At(1, 1));
        EXPECT_EQ(out->GetLangName(), u"PVC");
        EXPECT_EQ(target->FindMaterialGroupName(u"Acier à outils"), u"Acier");
    }
    EXPECT_EQ(db_.GetMaterialClass(0)->GetDbOwner(), &db_);
}

}  // namespace
