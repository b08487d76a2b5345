// The first-match index: what a walk of the databases in order would find
// first, without regard to case, whether it answers every key or the asked ones.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <kxtmat/kxtmat.h>

#include "model/material_index.h"

namespace kxt::model {
namespace {

// A database of one class whose materials have these (name, language name) pairs.
std::unique_ptr<kxtMaterialDB> Database(const std::vector<std::pair<std::u16string, std::u16string>>& names) {
    auto db = std::make_unique<kxtMaterialDB>();
    db->SetDBType(eKxtNativeDB);
    kxtMaterialClass group(db.get());
    for (const auto& [name, langName] : names) {
        kxtMaterialBase material(&group);
        material.SetMaterialType(eKxtStandardMaterial);
        material.SetName(name);
        material.SetLangName(langName);
        group.InsertMaterial(std::move(material));
    }
    db->InsertGroup(std::move(group));
    return db;
}

// A language name of an earlier material wins over a name of a later one,
// earlier databases first; a key equal in other case is the same key. Keys
// asked of an index of every key change nothing.
TEST(MaterialIndex, EveryKeyAndAskedKeysGiveTheFirstMatchOfTheWalk) {
    const auto first = Database({{u"Steel", u"Acier"}, {u"Acier", u"Stahl"}, {u"Iron", u"Fer"}, {u"\u00C4rger", u""}});
    const auto second = Database({{u"Copper", u"Steel"}, {u"Zinc", u"Kupfer"}, {u"FER", u"Eisen"}});
    const kxtMaterialBase* a = first->GetMaterialClass(0)->GetMaterial(0u);
    const kxtMaterialBase* b = first->GetMaterialClass(0)->GetMaterial(1u);
    const kxtMaterialBase* c = first->GetMaterialClass(0)->GetMaterial(2u);
    const kxtMaterialBase* d = first->GetMaterialClass(0)->GetMaterial(3u);
    const kxtMaterialBase* copper = second->GetMaterialClass(0)->GetMaterial(0u);
    const kxtMaterialBase* zinc = second->GetMaterialClass(0)->GetMaterial(1u);
    const kxtMaterialBase* fer = second->GetMaterialClass(0)->GetMaterial(2u);
    const std::vector<std::pair<std::u16string, const kxtMaterialBase*>> cases{
        {u"acier", a},   {u"STAHL", b}, {u"kupfer", zinc}, {u"fer", c},       {u"\u00E4RGER", d}, {u"eisen", fer},
        {u"copper", copper}, {u"steel", a}, {u"nothing", nullptr}, {u"Stee", nullptr}, {u"Steel ", nullptr}};

    for (const IndexScope scope : {IndexScope::kEveryKey, IndexScope::kAskedKeys}) {
        MaterialIndex index(MaterialKeys::kNameThenLangName, scope);
        for (const auto& [key, expected] : cases) index.Ask(key);
        index.Ask(u"Acier");
        index.Add(*first);
        index.Add(*second);
        for (const auto& [key, expected] : cases) {
            EXPECT_EQ(index.Find(key), expected) << std::string(key.begin(), key.end()) << " scope "
                                                 << static_cast<int>(scope);
        }
    }
}

TEST(MaterialIndex, AnswersEveryKeyOfALargeDatabase) {
    std::vector<std::pair<std::u16string, std::u16string>> names;
    for (int i = 0; i < 5000; ++i) {
        names.emplace_back(u"Material " + std::u16string(1, char16_t(u'A' + i % 26)) +
                               std::u16string(static_cast<std::size_t>(i % 7), u'x') + std::u16string(1, char16_t(0x100 + i)),
                           u"");
    }
    const auto db = Database(names);
    const MaterialIndex index = BuildIndex(*db, MaterialKeys::kNameThenLangName);
    for (unsigned i = 0; i < names.size(); ++i) {
        ASSERT_EQ(index.Find(names[i].first), db->GetMaterialClass(0)->GetMaterial(i)) << i;
    }
    EXPECT_EQ(index.Find(u"Material"), nullptr);
}

}  // namespace
}  // namespace kxt::model
