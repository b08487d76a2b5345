// The first-match index: the answer a walk in insertion order would give,
// without regard to case, through growth and probe chains.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <kxtmat/kxtmat.h>

#include "mapping/material_index.h"

namespace kxt::mapping {
namespace {

TEST(FirstMatchIndex, KeepsTheFirstAnswerOfKeysEqualWithoutRegardToCase) {
    FirstMatchIndex<int> index;
    EXPECT_EQ(index.Find(u"anything"), 0);  // an empty index answers nothing
    index.Add(u"Stahl", 1);
    index.Add(u"STAHL", 2);
    index.Add(u"\u00C4rger", 3);
    index.Add(u"\u00E4RGER", 4);
    index.Add(u"", 5);
    EXPECT_EQ(index.Find(u"stahl"), 1);
    EXPECT_EQ(index.Find(u"\u00E4rger"), 3);
    EXPECT_EQ(index.Find(u""), 5);
    EXPECT_EQ(index.Find(u"Stahl "), 0);
    EXPECT_EQ(index.Find(u"Stah"), 0);
    EXPECT_EQ(index.Size(), 3u);
}

TEST(FirstMatchIndex, AnswersEveryKeyAfterGrowingWithOrWithoutReserve) {
    for (const bool reserve : {false, true}) {
        std::vector<std::u16string> keys;
        for (int i = 0; i < 5000; ++i) keys.push_back(u"Material " + std::u16string(1, char16_t(u'A' + i % 26)) +
                                                      std::u16string(static_cast<std::size_t>(i % 7), u'x') +
                                                      std::u16string(1, char16_t(0x100 + i)));
        FirstMatchIndex<int> index;
        if (reserve) index.Reserve(keys.size());
        for (std::size_t i = 0; i < keys.size(); ++i) index.Add(keys[i], static_cast<int>(i) + 1);
        // A second round under the same keys must not replace any answer.
        for (std::size_t i = 0; i < keys.size(); ++i) index.Add(keys[i], -1);
        ASSERT_EQ(index.Size(), keys.size());
        for (std::size_t i = 0; i < keys.size(); ++i) {
            ASSERT_EQ(index.Find(keys[i]), static_cast<int>(i) + 1) << i << (reserve ? " reserved" : "");
        }
        EXPECT_EQ(index.Find(u"Material"), 0);
    }
}

// A database of one class whose materials have these (name, language name) pairs.
std::unique_ptr<kxtMaterialDB> Database(std::vector<std::pair<std::u16string, std::u16string>> names) {
    auto db = std::make_unique<kxtMaterialDB>();
    db->SetDBType(eKxtNativeDB);
    kxtMaterialClass group(db.get());
    for (auto& [name, langName] : names) {
        kxtMaterialBase material(&group);
        material.SetMaterialType(eKxtStandardMaterial);
        material.SetName(std::move(name));
        material.SetLangName(std::move(langName));
        group.InsertMaterial(std::move(material));
    }
    db->InsertGroup(std::move(group));
    return db;
}

// Questions asked first and answered by walks give what an index filled
// database by database gives: a language name of an earlier material before
// a name of a later one, earlier databases first, a question asked twice in
// other case once, and a question left open by the first database answered
// by the second.
TEST(FirstMatchQuestions, AnswerAsAnIndexFilledDatabaseByDatabase) {
    const auto first = Database({{u"Steel", u"Acier"}, {u"Acier", u"Stahl"}, {u"Iron", u"Fer"}});
    const auto second = Database({{u"Copper", u"Steel"}, {u"Zinc", u"Kupfer"}, {u"FER", u"Eisen"}});
    const std::vector<std::u16string> asked{u"acier", u"STAHL", u"kupfer", u"fer", u"Acier",
                                            u"nothing", u"", u"copper", u"eisen", u"steel"};

    MaterialIndex index;
    FirstMatchQuestions questions;
    std::vector<std::size_t> slots;
    for (const std::u16string& key : asked) slots.push_back(questions.Ask(key));
    for (const kxtMaterialDB* db : {first.get(), second.get()}) {
        AddToIndex(index, *db, MaterialKeys::kNameThenLangName);
        questions.Walk(*db, MaterialKeys::kNameThenLangName);
    }
    EXPECT_EQ(slots[0], slots[4]);
    for (std::size_t i = 0; i < asked.size(); ++i) {
        EXPECT_EQ(questions.Answer(slots[i]), index.Find(asked[i])) << i;
    }
    EXPECT_EQ(questions.Answer(slots[0]), first->GetMaterialClass(0)->GetMaterial(0u));
    EXPECT_EQ(questions.Answer(slots[8]), second->GetMaterialClass(0)->GetMaterial(2u));
    EXPECT_EQ(questions.AnswerClass(slots[8]), second->GetMaterialClass(0));
    EXPECT_EQ(questions.Answer(slots[5]), nullptr);
    EXPECT_EQ(questions.AnswerClass(slots[5]), nullptr);
}

}  // namespace
}  // namespace kxt::mapping
