#include <gtest/gtest.h>

#include <kxtmat/kxtmat.h>

namespace {

kxtMaterialBase Named(std::u16string name, kxtMaterialClass* owner = nullptr) {
    kxtMaterialBase m(owner);
    m.SetName(std::move(name));
    return m;
}

TEST(MaterialClassTest, IndexesOutOfRangeAnswerHarmlessDefaults) {
    kxtMaterialClass group;
    group.InsertMaterial(Named(u"Steel"));

    kxtMaterialBase sentinel;
    kxtMaterialBase* out = &sentinel;
    EXPECT_EQ(group.GetMaterial(1u, out), 0);
    EXPECT_EQ(out, &sentinel);
    EXPECT_EQ(group.GetMaterial(1u), nullptr);
    EXPECT_EQ(group.GetMaterialName(1), u"");
    EXPECT_EQ(group.GetLangMaterialName(1), u"");

    EXPECT_EQ(group.GetMaterial(0u, out), 1);
    EXPECT_EQ(out, group.GetMaterial(0u));
    EXPECT_EQ(group.GetMaterialName(0), u"Steel");
}

TEST(MaterialClassTest, ProcessQueriesLookOnlyAtTheFirstMaterial) {
    kxtMaterialClass group;
    EXPECT_EQ(group.GetMfgProcessesCount(), -1);
    EXPECT_EQ(group.GetManufacturingProcess(0), nullptr);

    group.InsertMaterial(Named(u"No processes"));
    kxtMaterialBase withProcess = Named(u"Milled steel");
    withProcess.InsertProc(kxtManufacturingProcess());
    group.InsertMaterial(withProcess);
    EXPECT_EQ(group.GetMfgProcessesCount(), 0);
    EXPECT_EQ(group.GetManufacturingProcess(0), nullptr);

    kxtMaterialClass processed;
    processed.InsertMaterial(withProcess);
    EXPECT_EQ(processed.GetMfgProcessesCount(), 1);
    EXPECT_EQ(processed.GetManufacturingProcess(0), processed.GetMaterial(0u)->GetProcType(0));
    EXPECT_EQ(processed.GetManufacturingProcess(-1), nullptr);
}

TEST(MaterialClassTest, InsertMaterialStoresACopyThatKeepsItsOwner) {
    kxtMaterialClass elsewhere;
    kxtMaterialClass group;
    kxtMaterialBase record = Named(u"Steel", &elsewhere);
    group.InsertMaterial(record);
    record.SetName(u"Changed");
    group.InsertMaterial(std::move(record));

    ASSERT_EQ(group.GetMaterialCount(), 2u);
    EXPECT_EQ(group.GetMaterialName(0), u"Steel");
    EXPECT_EQ(group.GetMaterialName(1), u"Changed");
    EXPECT_EQ(group.GetMaterial(0u)->GetGrOwner(), &elsewhere);
    EXPECT_EQ(group.GetMaterial(1u)->GetGrOwner(), &elsewhere);
}

TEST(MaterialClassTest, MaterialPointersSurviveLaterInsertions) {
    kxtMaterialClass group;
    group.InsertMaterial(Named(u"First"));
    kxtMaterialBase* first = group.GetMaterial(0u);
    for (int i = 0; i < 100; ++i) group.InsertMaterial(Named(u"More"));
    EXPECT_EQ(group.GetMaterial(0u), first);
    EXPECT_EQ(first->GetName(), u"First");
}

TEST(MaterialClassTest, CopyAndAssignmentCreateNewMaterialsOwnedByTheCopy) {
    kxtMaterialDB db;
    kxtMaterialClass source(&db);
    source.SetName(u"Steel");
    source.InsertMaterial(Named(u"A", &source));
    source.InsertMaterial(Named(u"B", &source));

    const kxtMaterialClass copy(source);
    kxtMaterialClass assigned;
    assigned.InsertMaterial(Named(u"old"));
    assigned = source;

    for (const kxtMaterialClass* target : {&copy, static_cast<const kxtMaterialClass*>(&assigned)}) {
        EXPECT_EQ(target->GetName(), u"Steel");
        EXPECT_EQ(target->GetDbOwner(), &db);
        ASSERT_EQ(target->GetMaterialCount(), 2u);
        for (unsigned i = 0; i < 2; ++i) {
            EXPECT_NE(target->GetMaterial(i), source.GetMaterial(i));
            EXPECT_EQ(target->GetMaterialName(i), source.GetMaterialName(i));
            EXPECT_EQ(target->GetMaterial(i)->GetGrOwner(), target);
            EXPECT_EQ(source.GetMaterial(i)->GetGrOwner(), &source);
        }
    }

    kxtMaterialBase* kept = source.GetMaterial(0u);
    const kxtMaterialClass& self = source;
    source = self;
    EXPECT_EQ(source.GetMaterial(0u), kept);
}

TEST(MaterialClassTest, MovedClassRepointsTheMaterialsItTookOver) {
    kxtMaterialClass source;
    source.InsertMaterial(Named(u"A", &source));
    kxtMaterialBase* material = source.GetMaterial(0u);
    const kxtMaterialClass moved(std::move(source));
    EXPECT_EQ(moved.GetMaterial(0u), material);
    EXPECT_EQ(material->GetGrOwner(), &moved);
}

class MaterialClassLookupTest : public ::testing::Test {
protected:
    MaterialClassLookupTest() {
        db_.SetDBType(eKxtSustainExtrasDB);  // materials keep their own language names
        group_.SetName(u"Steel");
        Add(u"Carbon Steel", u"Acier au carbone", u"Acier");
        Add(u"Acier Inox", u"Stainless", u"Acier");
        Add(u"Stainless", u"Inox", u"Acier");
    }

    void Add(std::u16string name, std::u16string lang, std::u16string langClass) {
        kxtMaterialBase m = Named(std::move(name), &group_);
        m.SetLangName(std::move(lang));
        m.SetLangCLassName(std::move(langClass));
        group_.InsertMaterial(m);
    }

    kxtMaterialDB db_;
    kxtMaterialClass group_{&db_};
};

TEST_F(MaterialClassLookupTest, ByNameTakesTheFirstMaterialMatchingEitherName) {
    EXPECT_EQ(group_.GetMaterial(u"carbon steel"), group_.GetMaterial(0u));
    EXPECT_EQ(group_.GetMaterial(u"ACIER AU CARBONE"), group_.GetMaterial(0u));
    // A language match of an earlier material beats a native match of a later one.
    EXPECT_EQ(group_.GetMaterial(u"Stainless"), group_.GetMaterial(1u));
    EXPECT_EQ(group_.GetMaterial(u"Copper"), nullptr);
}

TEST_F(MaterialClassLookupTest, LanguageNamesComeFromTheMaterials) {
    EXPECT_EQ(group_.GetLangName(), u"Acier");
    EXPECT_EQ(group_.GetLangMaterialName(2), u"Inox");
    EXPECT_EQ(kxtMaterialClass().GetLangName(), u"");

    db_.SetDBType(eKxtCustomDB);  // now the class's own names serve
    EXPECT_EQ(group_.GetLangName(), u"Steel");
    EXPECT_EQ(group_.GetLangMaterialName(2), u"Stainless");
}

}  // namespace
