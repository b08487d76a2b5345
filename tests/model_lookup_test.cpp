// Lookups by name and identifier answer from a first-match index: after any
// change to the model, each answer must be what a first-match walk answers,
// without regard to case, whether the index holds every key or the asked ones.
#include <gtest/gtest.h>

#include <kxtmat/kxtmat.h>

#include <array>
#include <functional>

#include "model/material_index.h"
#include "platform/text.h"

namespace {

using kxt::platform::EqualsNoCase;
using Texts = std::vector<std::u16string>;
enum Key { kName = 0, kGabiName = 1, kIdentifier = 2 };

kxtMaterialBase* At(const kxtMaterialDB& db, unsigned group, unsigned material) {
    return db.GetMaterialClass(static_cast<int>(group))->GetMaterial(material);
}

// The first material of the databases, in order, that the key names.
const kxtMaterialBase* Walked(std::initializer_list<const kxtMaterialDB*> dbs, Key key, const std::u16string& text) {
    const auto named = [&](const kxtMaterialBase& m) {
        return key == kIdentifier ? EqualsNoCase(text, m.GetMaterialID())
                                  : EqualsNoCase(text, key == kGabiName ? m.GetGabiName() : m.GetName()) || EqualsNoCase(text, m.GetLangName());
    };
    for (const kxtMaterialDB* db : dbs)
        if (const kxtMaterialBase* m = kxt::FirstMaterial(*db, named)) return m;
    return nullptr;
}

// Every key of every material, as stored and in upper case, and keys of none.
Texts Keys(const kxtMaterialDB& db) {
    Texts keys{u"Steel", u"", u"nothing bears this", u"Stee", u"Steel "};
    kxt::ForEachMaterial(db, [&](const kxtMaterialBase& m) {
        for (std::u16string text : {m.GetName(), m.GetLangName(), m.GetGabiName(), m.GetMaterialID()}) {
            keys.push_back(text);
            for (char16_t& c : text) c = (c >= u'a' && c <= u'z') || c == u'ä' ? static_cast<char16_t>(c - 32) : c;
            keys.push_back(text);
        }
    });
    return keys;
}

// The database's answers, whose result codes must agree with them.
void ExpectWalkAnswers(const kxtMaterialDB& db, const Texts& questions) {
    for (const std::u16string& question : questions) {
        for (Key key : {kName, kGabiName, kIdentifier}) {
            kxtMaterialBase* out = nullptr;
            const int found = key == kIdentifier ? db.GetMaterialByID(question, out) : db.GetMaterialByName(question, out, key);
            ASSERT_EQ(std::pair(found, static_cast<const kxtMaterialBase*>(out)),
                      std::pair(out != nullptr ? 1 : 0, Walked({&db}, key, question)))
                << "key " << key << ", '" << kxt::platform::Utf16ToUtf8(question) << "'";
        }
    }
}

// Two classes whose names recur, so that the first match matters. Copper is
// a custom material: in this standard database its language name is its name.
void Fill(kxtMaterialDB& db) {
    const std::array<std::array<const char16_t*, 4>, 6> rows{{
        {u"Steel", u"Acier", u"steel_g", u"M-1"}, {u"ÄRGER", u"Ärgerlich", u"", u"M-2"}, {u"Copper", u"", u"copper_g", u"M-3"},
        {u"ABS", u"Steel", u"steel_g", u"m-1"}, {u"PVC", u"Acier", u"pvc_g", u"P-2"}, {u"Copper Foil", u"copper", u"", u"M-3"}}};
    for (unsigned j = 0; j < rows.size(); ++j) {
        if (j % 3 == 0) db.InsertGroup(kxtMaterialClass(&db));
        kxtMaterialClass* group = db.GetMaterialClass(static_cast<int>(j / 3));
        kxtMaterialBase m(group);
        m.SetMaterialType(j == 2 ? eKxtCustomMaterial : eKxtStandardMaterial);
        m.SetName(rows[j][0]), m.SetLangName(rows[j][1]), m.SetGaBiName(rows[j][2]), m.SetMaterialID(rows[j][3]);
        group->InsertMaterial(std::move(m));
    }
}

// One change after the index was built: the lookups after it, of the keys
// before and after it, must answer what a walk answers then.
TEST(LookupIndexTest, EveryChangeThatAltersAnAnswerIsSeenByTheNextLookup) {
    using Change = std::function<void(kxtMaterialDB&)>;
    kxtMaterialClass spare;
    const std::vector<std::pair<const char*, Change>> changes{
        {"native name", [](kxtMaterialDB& db) { At(db, 0, 0)->SetName(u"Mild"); }},
        {"language name", [](kxtMaterialDB& db) { At(db, 0, 0)->SetLangName(u"Stahl"); }},
        {"GaBi name", [](kxtMaterialDB& db) { At(db, 0, 0)->SetGaBiName(u"x"); }},
        {"identifier", [](kxtMaterialDB& db) { At(db, 0, 0)->SetMaterialID(u"M-9"); }},
        {"material type", [](kxtMaterialDB& db) { At(db, 0, 2)->SetMaterialType(eKxtStandardMaterial); }},
        {"database type", [](kxtMaterialDB& db) { db.SetDBType(eKxtSustainExtrasDB); }},
        {"owner class", [](kxtMaterialDB& db) { At(db, 0, 2)->SetGrOwner(nullptr); }},
        {"class's owner", [](kxtMaterialDB& db) { db.GetMaterialClass(0)->SetDbOwner(nullptr); }},
        {"material assigned", [](kxtMaterialDB& db) { *At(db, 0, 0) = *At(db, 1, 1); }},
        {"material move-assigned", [](kxtMaterialDB& db) { *At(db, 0, 0) = kxtMaterialBase(*At(db, 1, 1)); }},
        {"material moved from", [](kxtMaterialDB& db) { kxtMaterialBase taken(std::move(*At(db, 0, 0))); }},
        {"material inserted", [](kxtMaterialDB& db) { db.GetMaterialClass(0)->InsertMaterial(*At(db, 1, 1)); }},
        {"class inserted", [](kxtMaterialDB& db) { db.InsertGroup(*db.GetMaterialClass(1)); }},
        {"class erased", [](kxtMaterialDB& db) { db.EraseMaterialGroup(0); }},
        {"class assigned", [](kxtMaterialDB& db) { *db.GetMaterialClass(0) = *db.GetMaterialClass(1); }},
        {"class move-assigned", [&spare](kxtMaterialDB& db) { *db.GetMaterialClass(0) = std::move(spare); }},
        {"class moved from", [](kxtMaterialDB& db) { kxtMaterialClass taken(std::move(*db.GetMaterialClass(0))); }},
        {"database cleared", [](kxtMaterialDB& db) { db.Clear(); }},
        {"database assigned", [](kxtMaterialDB& db) { db = kxtMaterialDB(); }},
        {"database moved from", [](kxtMaterialDB& db) { kxtMaterialDB taken(std::move(db)); }},
        {"database copied", [](kxtMaterialDB& db) { db = kxtMaterialDB(db); }},
    };
    for (const auto& [name, change] : changes) {
        SCOPED_TRACE(name);
        kxtMaterialDB db;
        Fill(db);
        Texts questions = Keys(db);
        ExpectWalkAnswers(db, questions);
        change(db);
        const Texts after = Keys(db);
        questions.insert(questions.end(), after.begin(), after.end());
        ExpectWalkAnswers(db, questions);
    }
}

// A class whose owner is another database is listed here: changes to its
// materials reach that database only, so this one must answer by walking.
TEST(LookupIndexTest, AClassOwnedElsewhereIsStillAnsweredRight) {
    kxtMaterialDB db, other;
    Fill(db);
    kxtMaterialClass foreign(&other);
    foreign.InsertMaterial(kxtMaterialBase(&foreign));
    db.InsertGroup(foreign);
    ExpectWalkAnswers(db, Keys(db));
    At(db, 2, 0)->SetName(u"Late");
    ExpectWalkAnswers(db, {u"late"});
}

// The index on its own: earlier databases answer first, and a large one grows
// the table many times.
TEST(MaterialIndexTest, EveryKeyAndAskedKeysGiveTheFirstMatchOfTheWalk) {
    kxtMaterialDB first, second, large;
    Fill(first), Fill(second), At(second, 0, 1)->SetLangName(u"Kupfer"), At(second, 1, 2)->SetName(u"Zinc");
    large.InsertGroup(kxtMaterialClass(&large));
    for (unsigned i = 0; i < 5000; ++i) {
        large.GetMaterialClass(0)->InsertMaterial(kxtMaterialBase(large.GetMaterialClass(0)));
        At(large, 0, i)->SetName(u"Material " + std::u16string(1, char16_t(u'A' + i % 26)) + std::u16string(i % 7, u'x') +
                                 std::u16string(1, char16_t(0x100 + i)));
    }
    Texts keys = Keys(second);
    kxt::ForEachMaterial(large, [&](const kxtMaterialBase& m) { keys.push_back(m.GetName()); });
    keys.push_back(u"Material");
    for (const auto scope : {kxt::model::IndexScope::kEveryKey, kxt::model::IndexScope::kAskedKeys}) {
        kxt::model::MaterialIndex index(kxt::model::MaterialKeys::kNameThenLangName, scope);
        for (const std::u16string& key : keys) index.Ask(key);
        index.Add(first), index.Add(second), index.Add(large);
        for (const std::u16string& key : keys)
            ASSERT_EQ(index.Find(key), Walked({&first, &second, &large}, kName, key)) << kxt::platform::Utf16ToUtf8(key);
    }
}

}  // namespace
