// Databases and classes: identity, ownership, lookups by index and name.
#include <gtest/gtest.h>

#include <kxtmat/kxtmat.h>

#include "platform/files.h"

namespace {

TEST(MaterialDbIdentityTest, ShortNameIsTheLowerCaseFileNameWithoutExtension) {
    const std::u16string sep(1, kxt::platform::kPathSeparator);
    const std::u16string other = sep == u"/" ? u"\\" : u"/";
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"korvex" + sep + u"Korvex DIN Materials.kvxmat", u"korvex din materials"}, {u"lib.v2" + sep + u"My.Metals.KVXMAT", u"my.metals"},
        {u"folder.d" + sep + u"noext", u"noext"}, {u"Ölwerkstoffe", u"ölwerkstoffe"},
        {u"a" + other + u"B.kvxmat", u"a" + other + u"b"},  // only the platform's separator ends a folder
        {u"", u""}};
    kxtMaterialDB db;
    for (const auto& [path, name] : cases) EXPECT_EQ((db.SetPath(path), db.GetDbName()), name);
}

TEST(MaterialDbIdentityTest, LangPathIsTheOwnPathOnlyForCustomAndExtrasDatabases) {
    kxtMaterialDB db;
    db.SetPath(u"My Materials.kvxmat");
    std::u16string custom, din;  // no sibling module here: the standard databases' path is relative
    db.SetDBType(eKxtCustomDB), db.GetLangPath(custom), db.SetDBType(eKxtNativeDinDB), db.GetLangPath(din);
    EXPECT_EQ(custom + u"|" + din,
              u"My Materials.kvxmat|kvxmaterials" + std::u16string(1, kxt::platform::kPathSeparator) + u"korvex din materials.kvxmat");
}

// Two classes of two materials in an extras database, whose materials keep their own language names.
class MaterialDbTest : public ::testing::Test {
protected:
    MaterialDbTest() {
        db_.SetDBType(eKxtSustainExtrasDB);
        const std::array<std::array<const char16_t*, 4>, 4> rows{{
            {u"Carbon Steel", u"Acier", u"ID-1", u"Fraisé"}, {u"Tool Steel", u"Outil", u"ID-2", u"FRAISÉ"},
            {u"ABS", u"Carbon Steel", u"id-1", u"Moulé"}, {u"PVC", u"PVC", u"ID-3", u""}}};
        for (unsigned j = 0; j < rows.size(); ++j) {
            const std::u16string className = j < 2 ? u"Steel" : u"Plastics";
            if (j % 2 == 0) db_.InsertGroup(kxtMaterialClass(&db_)), db_.GetMaterialClass(j / 2)->SetName(className);
            kxtMaterialBase m(db_.GetMaterialClass(j / 2));
            m.SetName(rows[j][0]), m.SetLangName(rows[j][1]), m.SetLangCLassName(u"L " + className), m.SetMaterialID(rows[j][2]);
            kxtManufacturingProcess p;
            p.SetLangName(rows[j][3]);
            m.InsertProc(p);
            db_.GetMaterialClass(j / 2)->InsertMaterial(m);
        }
    }

    kxtMaterialBase* At(int group, unsigned material) const { return db_.GetMaterialClass(group)->GetMaterial(material); }

    kxtMaterialDB db_;
};

TEST_F(MaterialDbTest, LookupsTakeTheFirstMatchAndAnswerHarmlessDefaultsOutOfRange) {
    EXPECT_EQ(db_.GetMaterialClass(-1), db_.GetMaterialClass(2));
    std::u16string name = u"kept";
    EXPECT_EQ(db_.GetMaterialGroupName(2, name), 0);
    EXPECT_EQ(name, u"kept");
    kxtMaterialBase* out = At(0, 0);
    EXPECT_EQ(db_.GetMaterial(0, 2, out), 0);
    EXPECT_EQ(out, At(0, 0));
    EXPECT_EQ(db_.GetMaterialClass(0)->GetLangMaterialName(2), u"");
    EXPECT_EQ(db_.GetAllProcessTypes(), (std::vector<std::u16string>{u"Fraisé", u"Moulé", u""}));
    EXPECT_EQ(db_.FindMaterialGroup(u"l plastics"), db_.GetMaterialClass(1));
    EXPECT_EQ(db_.FindMaterial(u"Plastics", u"pvc"), At(1, 1));
    EXPECT_EQ(db_.GetMaterialClass(1)->GetMaterial(u"carbon steel"), At(1, 0));
    EXPECT_EQ(db_.FindMaterialGroupName(u"outil"), u"L Steel");
    EXPECT_EQ(db_.FindMaterialGroupName(u"pvc"), u"Plastics") << "the native name is tested first";
    EXPECT_EQ(db_.GetMaterialByName(u"Carbon Steel", out, 1), 1) << "the GaBi key skips the native name";
    EXPECT_EQ(out, At(1, 0));
    EXPECT_EQ(db_.GetMaterialByName(u"Tool Steel", out, static_cast<unsigned short>(7), -3), 1);
    EXPECT_EQ(out, At(0, 1));
}

TEST_F(MaterialDbTest, ErasedClassesStayAliveAndClearKeepsTypeAndPath) {
    kxtMaterialClass* erased = db_.GetMaterialClass(0);
    db_.EraseMaterialGroup(2);  // one past the last: nothing happens
    db_.EraseMaterialGroup(0);
    ASSERT_EQ(db_.GetGroupCount(), 1u);
    EXPECT_EQ(erased->GetMaterialName(1), u"Tool Steel");
    EXPECT_EQ(db_.FindMaterialGroup(u"Steel"), nullptr);
    db_.SetPath(u"Extras.kvxmat");
    db_.Clear();
    EXPECT_EQ(db_.GetGroupCount(), 0u);
    EXPECT_EQ(db_.GetDBType(), eKxtSustainExtrasDB);
    EXPECT_EQ(db_.GetDbName(), u"extras");
}

// Copies hold new classes and materials pointed at the copy; moves keep the
// objects and re-point them; inserted materials keep their own owner.
TEST_F(MaterialDbTest, CopiesAndMovesPointTheirRecordsAtTheirNewHolder) {
    kxtMaterialDB copy(db_), assigned(db_);
    assigned = copy;
    for (kxtMaterialDB* target : {&db_, &copy, &assigned}) {
        ASSERT_EQ(target->GetGroupCount(), 2u);
        kxtMaterialClass* group = target->GetMaterialClass(1);
        EXPECT_EQ(group->GetDbOwner(), target);
        EXPECT_EQ(group->GetMaterial(1u)->GetGrOwner(), group);
        EXPECT_EQ(group->GetMaterial(1u)->GetLangName(), u"PVC");
    }
    kxtMaterialBase* first = At(0, 0);
    kxtMaterialClass moved(std::move(*db_.GetMaterialClass(0)));
    EXPECT_EQ(moved.GetMaterial(0u), first);
    EXPECT_EQ(first->GetGrOwner(), &moved);
    kxtMaterialClass elsewhere;
    elsewhere.InsertMaterial(*first);
    EXPECT_EQ(elsewhere.GetMaterial(0u)->GetGrOwner(), &moved);
}

}  // namespace
