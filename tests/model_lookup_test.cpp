// A database answers its lookups by name and identifier from an index: after
// any change to the model, each answer must be what a first-match walk answers.
#include <gtest/gtest.h>

#include <kxtmat/kxtmat.h>

#include <array>
#include <functional>
#include <vector>

#include "platform/text.h"

namespace {

using kxt::platform::EqualsNoCase;

enum Key { kName = 0, kGabiName = 1, kIdentifier = 2 };

kxtMaterialBase* At(const kxtMaterialDB& db, unsigned group, unsigned material) {
    return db.GetMaterialClass(static_cast<int>(group))->GetMaterial(material);
}

// The database's answer; its result code must agree with it.
kxtMaterialBase* Asked(const kxtMaterialDB& db, Key key, const std::u16string& text) {
    kxtMaterialBase* out = nullptr;
    const int found = key == kIdentifier ? db.GetMaterialByID(text, out) : db.GetMaterialByName(text, out, key);
    EXPECT_EQ(found, out != nullptr ? 1 : 0);
    return out;
}

// Every key of every material, as stored and in upper case.
std::vector<std::u16string> Keys(const kxtMaterialDB& db) {
    std::vector<std::u16string> keys{u"Steel", u"", u"nothing bears this"};
    kxt::ForEachMaterial(db, [&](const kxtMaterialBase& m) {
        for (const std::u16string* text : {&m.GetName(), &m.GetLangName(), &m.GetGabiName(), &m.GetMaterialID()}) {
            keys.push_back(*text);
            std::u16string upper = *text;
            for (char16_t& c : upper) c = (c >= u'a' && c <= u'z') || c == u'ä' ? static_cast<char16_t>(c - 32) : c;
            keys.push_back(upper);
        }
    });
    return keys;
}

// Each question under every key: the database must answer what a walk does.
void ExpectWalkAnswers(const kxtMaterialDB& db, const std::vector<std::u16string>& questions) {
    for (const std::u16string& question : questions) {
        for (Key key : {kName, kGabiName, kIdentifier}) {
            const kxtMaterialBase* walked = kxt::FirstMaterial(db, [&](const kxtMaterialBase& m) {
                if (key == kIdentifier) return EqualsNoCase(question, m.GetMaterialID());
                return EqualsNoCase(question, key == kGabiName ? m.GetGabiName() : m.GetName()) ||
                       EqualsNoCase(question, m.GetLangName());
            });
            ASSERT_EQ(Asked(db, key, question), walked)
                << "key " << key << ", '" << kxt::platform::Utf16ToUtf8(question) << "'";
        }
    }
}

// Two classes whose names recur, so that the first match matters. Copper is
// a custom material: in this standard database its language name is its name.
void Fill(kxtMaterialDB& db) {
    const std::vector<std::array<const char16_t*, 5>> rows{
        {u"Steel", u"Acier", u"steel_g", u"M-1"}, {u"ÄRGER", u"Ärgerlich", u"", u"M-2"},
        {u"Copper", u"", u"copper_g", u"M-3"},    {u"ABS", u"Steel", u"steel_g", u"m-1"},
        {u"PVC", u"Acier", u"pvc_g", u"P-2"},     {u"Copper Foil", u"copper", u"", u"M-3"}};
    for (std::size_t i = 0; i < rows.size(); i += 3) {
        kxtMaterialClass group(&db);
        for (std::size_t j = i; j < i + 3; ++j) {
            kxtMaterialBase m(&group);
            m.SetMaterialType(j == 2 ? eKxtCustomMaterial : eKxtStandardMaterial);
            m.SetName(rows[j][0]);
            m.SetLangName(rows[j][1]);
            m.SetGaBiName(rows[j][2]);
            m.SetMaterialID(rows[j][3]);
            group.InsertMaterial(std::move(m));
        }
        db.InsertGroup(std::move(group));
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
        std::vector<std::u16string> questions = Keys(db);
        ExpectWalkAnswers(db, questions);
        change(db);
        const std::vector<std::u16string> after = Keys(db);
        questions.insert(questions.end(), after.begin(), after.end());
        ExpectWalkAnswers(db, questions);
    }
}

// A class whose owner is another database is listed here: changes to its
// materials reach that database only, so this one must answer by walking.
TEST(LookupIndexTest, AClassOwnedElsewhereIsStillAnsweredRight) {
    kxtMaterialDB db;
    Fill(db);
    kxtMaterialDB other;
    kxtMaterialClass foreign(&other);
    foreign.InsertMaterial(kxtMaterialBase(&foreign));
    db.InsertGroup(foreign);
    ExpectWalkAnswers(db, Keys(db));
    At(db, 2, 0)->SetName(u"Late");
    EXPECT_EQ(Asked(db, kName, u"late"), At(db, 2, 0));
}

}  // namespace
