// A database answers its material lookups by name and identifier from a
// table it keeps: whatever changes in the model between two lookups, each
// answer must be what a plain first-match walk of the model answers then.
#include <gtest/gtest.h>

#include <kxtmat/kxtmat.h>

#include <algorithm>
#include <array>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <unordered_map>
#include <utility>
#include <vector>

#include "model/name_match.h"
#include "model/prefetch.h"
#include "platform/text.h"

namespace {

using kxt::platform::EqualsNoCase;

enum Key { kName = 0, kGabiName = 1, kIdentifier = 2 };

// The reference: classes, then materials, in list order.
kxtMaterialBase* Walked(const kxtMaterialDB& db, Key key, const std::u16string& text) {
    for (std::uint64_t i = 0; i < db.GetGroupCount(); ++i) {
        const kxtMaterialClass* group = db.GetMaterialClass(static_cast<int>(i));
        for (std::uint64_t j = 0; j < group->GetMaterialCount(); ++j) {
            kxtMaterialBase* m = group->GetMaterial(static_cast<unsigned>(j));
            const bool hit = key == kIdentifier ? EqualsNoCase(text, m->GetMaterialID())
                                                : EqualsNoCase(text, key == kGabiName ? m->GetGabiName() : m->GetName()) ||
                                                      EqualsNoCase(text, m->GetLangName());
            if (hit) return m;
        }
    }
    return nullptr;
}

// The database's own answer; its result code must agree with it.
kxtMaterialBase* Asked(const kxtMaterialDB& db, Key key, const std::u16string& text) {
    kxtMaterialBase* out = nullptr;
    const int found = key == kIdentifier ? db.GetMaterialByID(text, out) : db.GetMaterialByName(text, out, key);
    EXPECT_EQ(found, out != nullptr ? 1 : 0) << "result code of a lookup of '" << kxt::platform::Utf16ToUtf8(text)
                                             << "'";
    return out;
}

// Names the tests ask for, whether or not any material bears them now.
const std::vector<std::u16string> kAskedAlways{
    u"Steel", u"STEEL", u"acier", u"ärger", u"ÄRGERLICH", u"copper", u"COPPER_G", u"m-1", u"M-3", u"steel_g",
    u"Mild Steel", u"stahl", u"iron_g", u"m-9", u"Wood", u"pvc", u"", u"nothing bears this"};

// A standard database of two classes. Names recur so that the first match
// matters: "Steel" is a native name and a later language name, "Acier" two
// language names, "M-3" two identifiers. Copper is a custom material, so in
// this database its language name is its native name.
class LookupTest : public ::testing::Test {
protected:
    LookupTest() { Fill(db_); }

    static void Fill(kxtMaterialDB& db) {
        struct Row {
            eKxtMaterialType type;
            const char16_t* name;
            const char16_t* lang;
            const char16_t* gabi;
            const char16_t* id;
        };
        const std::vector<std::pair<const char16_t*, std::vector<Row>>> classes{
            {u"Metals",
             {{eKxtStandardMaterial, u"Steel", u"Acier", u"steel_g", u"M-1"},
              {eKxtStandardMaterial, u"ÄRGER", u"Ärgerlich", u"", u"M-2"},
              {eKxtCustomMaterial, u"Copper", u"", u"copper_g", u"M-3"}}},
            {u"Plastics",
             {{eKxtStandardMaterial, u"ABS", u"Steel", u"steel_g", u"m-1"},
              {eKxtStandardMaterial, u"PVC", u"Acier", u"pvc_g", u"P-2"},
              {eKxtStandardMaterial, u"Copper Foil", u"copper", u"", u"M-3"}}}};
        for (const auto& [className, rows] : classes) {
            kxtMaterialClass group(&db);
            group.SetName(className);
            for (const Row& row : rows) Add(group, row.type, row.name, row.lang, row.gabi, row.id);
            db.InsertGroup(std::move(group));
        }
    }

    static void Add(kxtMaterialClass& group, eKxtMaterialType type, std::u16string name, std::u16string lang,
                    std::u16string gabi, std::u16string id) {
        kxtMaterialBase m(&group);
        m.SetMaterialType(type);
        m.SetName(std::move(name));
        m.SetLangName(std::move(lang));
        m.SetGaBiName(std::move(gabi));
        m.SetMaterialID(std::move(id));
        group.InsertMaterial(std::move(m));
    }

    static kxtMaterialBase* At(const kxtMaterialDB& db, unsigned group, unsigned material) {
        return db.GetMaterialClass(static_cast<int>(group))->GetMaterial(material);
    }
    kxtMaterialBase* At(unsigned group, unsigned material) const { return At(db_, group, material); }

    // Every key of every material as stored and in upper case, and the fixed
    // questions, each under every key, asked of db and of a walk. Asking many
    // questions in a row makes the later answers come from the table.
    static void ExpectWalkAnswers(const kxtMaterialDB& db) {
        std::vector<std::u16string> questions = kAskedAlways;
        for (std::uint64_t i = 0; i < db.GetGroupCount(); ++i) {
            const kxtMaterialClass* group = db.GetMaterialClass(static_cast<int>(i));
            for (std::uint64_t j = 0; j < group->GetMaterialCount(); ++j) {
                const kxtMaterialBase* m = group->GetMaterial(static_cast<unsigned>(j));
                for (const std::u16string* text : {&m->GetName(), &m->GetLangName(), &m->GetGabiName(),
                                                   &m->GetMaterialID()}) {
                    questions.push_back(*text);
                    questions.push_back(Upper(*text));
                }
            }
        }
        for (const std::u16string& question : questions) {
            for (Key key : {kName, kGabiName, kIdentifier}) {
                ASSERT_EQ(Asked(db, key, question), Walked(db, key, question))
                    << "key " << key << ", question '" << kxt::platform::Utf16ToUtf8(question) << "'";
            }
        }
    }

    // ASCII and German letters in upper case.
    static std::u16string Upper(std::u16string text) {
        for (char16_t& c : text) {
            if ((c >= u'a' && c <= u'z') || c == u'ä' || c == u'ö' || c == u'ü') c = static_cast<char16_t>(c - 0x20);
        }
        return text;
    }

    kxtMaterialDB db_;
};

TEST_F(LookupTest, AnswersAreTheFirstOfAWalkInAnyCase) {
    ExpectWalkAnswers(db_);
    EXPECT_EQ(Asked(db_, kName, u"STEEL"), At(0, 0));
    EXPECT_EQ(Asked(db_, kName, u"acier"), At(0, 0));
    EXPECT_EQ(Asked(db_, kName, u"ärger"), At(0, 1));
    EXPECT_EQ(Asked(db_, kName, u"ÄRGERLICH"), At(0, 1));
    EXPECT_EQ(Asked(db_, kGabiName, u"Steel"), At(1, 0));
    EXPECT_EQ(Asked(db_, kGabiName, u"COPPER"), At(0, 2)) << "a custom material's language name is its name";
    EXPECT_EQ(Asked(db_, kIdentifier, u"m-3"), At(0, 2));
    EXPECT_EQ(Asked(db_, kName, u"nothing bears this"), nullptr);
    EXPECT_EQ(Asked(db_, kIdentifier, u""), nullptr);
}

// One change after the table was built, then the question whose answer it
// changes: the answer must be the new one, and every other answer a walk's.
TEST_F(LookupTest, ChangesToMaterialsAndClassesAreSeenByTheNextLookup) {
    struct Case {
        const char* change;
        std::function<void(kxtMaterialDB&)> apply;
        Key key;
        std::u16string question;
        std::array<int, 2> expected;  // class and material in the database as filled; {-1, -1}: none
    };
    kxtMaterialClass spare;  // empty, and left empty by a move from it
    const std::vector<Case> cases{
        {"native name", [](kxtMaterialDB& db) { At(db, 0, 0)->SetName(u"Mild Steel"); }, kName, u"steel", {1, 0}},
        {"native name, new", [](kxtMaterialDB& db) { At(db, 0, 0)->SetName(u"Mild Steel"); }, kName, u"MILD STEEL",
         {0, 0}},
        {"language name", [](kxtMaterialDB& db) { At(db, 0, 0)->SetLangName(u"Stahl"); }, kName, u"ACIER", {1, 1}},
        {"GaBi name", [](kxtMaterialDB& db) { At(db, 0, 0)->SetGaBiName(u"iron_g"); }, kGabiName, u"steel_g",
         {1, 0}},
        {"identifier", [](kxtMaterialDB& db) { At(db, 0, 0)->SetMaterialID(u"M-9"); }, kIdentifier, u"m-1",
         {1, 0}},
        {"material type", [](kxtMaterialDB& db) { At(db, 0, 2)->SetMaterialType(eKxtStandardMaterial); },
         kGabiName, u"copper", {1, 2}},
        {"database type", [](kxtMaterialDB& db) { db.SetDBType(eKxtSustainExtrasDB); }, kGabiName, u"copper",
         {1, 2}},
        {"owner class", [](kxtMaterialDB& db) { At(db, 0, 2)->SetGrOwner(nullptr); }, kGabiName, u"copper", {1, 2}},
        {"class's owner database", [](kxtMaterialDB& db) { db.GetMaterialClass(0)->SetDbOwner(nullptr); },
         kGabiName, u"copper", {1, 2}},
        {"material assigned", [](kxtMaterialDB& db) { *At(db, 0, 0) = *At(db, 1, 1); }, kName, u"pvc", {0, 0}},
        {"material move-assigned",
         [](kxtMaterialDB& db) {
             kxtMaterialBase source(*At(db, 1, 1));
             *At(db, 0, 0) = std::move(source);
         },
         kName, u"steel", {1, 0}},
        {"material moved from", [](kxtMaterialDB& db) { kxtMaterialBase taken(std::move(*At(db, 0, 0))); }, kName,
         u"ABS", {1, 0}},
        {"class erased", [](kxtMaterialDB& db) { db.EraseMaterialGroup(0); }, kIdentifier, u"M-3", {1, 2}},
        {"class assigned", [](kxtMaterialDB& db) { *db.GetMaterialClass(0) = *db.GetMaterialClass(1); }, kName,
         u"ärger", {-1, -1}},
        {"class emptied by assignment",
         [](kxtMaterialDB& db) {
             const kxtMaterialClass empty(&db);
             *db.GetMaterialClass(0) = empty;
         },
         kIdentifier, u"m-1", {1, 0}},
        {"class emptied by move assignment",
         [&spare](kxtMaterialDB& db) { *db.GetMaterialClass(0) = std::move(spare); }, kIdentifier, u"m-1", {1, 0}},
        {"class moved from",
         [](kxtMaterialDB& db) { kxtMaterialClass taken(std::move(*db.GetMaterialClass(0))); }, kName, u"acier",
         {1, 1}},
        {"database cleared", [](kxtMaterialDB& db) { db.Clear(); }, kName, u"ABS", {-1, -1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.change);
        kxtMaterialDB db;
        Fill(db);
        // The materials by their places before the change, which may move them.
        std::array<std::array<kxtMaterialBase*, 3>, 2> filled{};
        for (unsigned i = 0; i < 2; ++i) {
            for (unsigned j = 0; j < 3; ++j) filled[i][j] = At(db, i, j);
        }
        ExpectWalkAnswers(db);
        c.apply(db);
        const kxtMaterialBase* expected = c.expected[0] < 0 ? nullptr : filled[c.expected[0]][c.expected[1]];
        EXPECT_EQ(Asked(db, c.key, c.question), expected);
        ExpectWalkAnswers(db);
    }
}

// Each insertion is the only change between the lookups before and after it.
TEST_F(LookupTest, InsertedMaterialsAndClassesAreFound) {
    kxtMaterialBase pvc;
    pvc.SetName(u"PVC");
    kxtMaterialClass wood(&db_);
    Add(wood, eKxtStandardMaterial, u"Oak", u"Wood", u"", u"W-1");

    ExpectWalkAnswers(db_);
    db_.GetMaterialClass(0)->InsertMaterial(pvc);
    EXPECT_EQ(Asked(db_, kName, u"pvc"), At(0, 3)) << "an earlier class than the first PVC";
    ExpectWalkAnswers(db_);
    db_.InsertGroup(wood);
    EXPECT_EQ(Asked(db_, kName, u"WOOD"), At(2, 0));
    EXPECT_EQ(Asked(db_, kIdentifier, u"w-1"), At(2, 0));
    ExpectWalkAnswers(db_);
}

// A copy answers with its own materials, a move with the same ones; the
// original of a copy and the emptied source of a move keep answering right.
TEST_F(LookupTest, CopiesAndMovesOfADatabaseAnswerWithTheirOwnMaterials) {
    ExpectWalkAnswers(db_);
    kxtMaterialBase* steel = At(0, 0);

    kxtMaterialDB copy(db_);
    ExpectWalkAnswers(copy);
    EXPECT_EQ(Asked(copy, kName, u"steel"), At(copy, 0, 0));
    EXPECT_NE(At(copy, 0, 0), steel);
    copy.GetMaterialClass(0)->GetMaterial(0u)->SetName(u"Mild Steel");
    EXPECT_EQ(Asked(db_, kName, u"steel"), steel) << "the original is not changed by its copy";

    kxtMaterialDB assigned;
    Fill(assigned);
    ExpectWalkAnswers(assigned);
    assigned = copy;
    EXPECT_EQ(Asked(assigned, kName, u"mild steel"), At(assigned, 0, 0));
    ExpectWalkAnswers(assigned);

    kxtMaterialDB moved(std::move(db_));
    EXPECT_EQ(Asked(moved, kName, u"steel"), steel);
    EXPECT_EQ(Asked(db_, kName, u"steel"), nullptr);
    ExpectWalkAnswers(moved);
    ExpectWalkAnswers(db_);

    assigned = std::move(moved);
    EXPECT_EQ(Asked(assigned, kName, u"steel"), steel);
    EXPECT_EQ(Asked(moved, kIdentifier, u"M-1"), nullptr);
    ExpectWalkAnswers(assigned);
}

TEST(LookupFingerprintTest, TextsEqualWithoutRegardToCaseShareAFingerprint) {
    using kxt::model::NoCaseFingerprint;
    const std::vector<std::pair<std::u16string, std::u16string>> equal{
        {u"ÄRGER", u"ärger"}, {u"Stahl S235", u"sTAHL s235"}, {u"ΣΟΦΙΑ", u"σοφια"}, {u"ПРИВЕТ", u"привет"}, {u"", u""}};
    for (const auto& [a, b] : equal) {
        ASSERT_TRUE(EqualsNoCase(a, b));
        EXPECT_EQ(NoCaseFingerprint(a), NoCaseFingerprint(b)) << kxt::platform::Utf16ToUtf8(a);
    }
    EXPECT_NE(NoCaseFingerprint(u"Steel"), NoCaseFingerprint(u"Steal"));
    EXPECT_NE(NoCaseFingerprint(u"ab"), NoCaseFingerprint(u"ba"));
    EXPECT_NE(NoCaseFingerprint(u"ab"), NoCaseFingerprint(std::u16string(u"ab\0", 3)));
}

// Texts are hashed four code units at a time, ASCII words without a lookup
// per unit: at every place in a word and in the tail, code units must share
// a fingerprint exactly when their folded forms are equal ('@', '[', '`' and
// '{' border the ASCII letters).
TEST(LookupFingerprintTest, CodeUnitsShareAFingerprintExactlyWhenTheyFoldAlike) {
    using kxt::model::NoCaseFingerprint;
    const std::u16string base = u"material s235jr";  // 15 units: three words and a tail of three
    std::vector<char16_t> units;
    for (char16_t c = 0; c < 0x200; ++c) units.push_back(c);
    for (const char16_t c : {u'\u0391', u'\u03B1', u'\u03A3', u'\u0410', u'\u1E9E', u'\u2126', u'\uFF21',
                             char16_t{0xD800}}) {
        units.push_back(c);
    }
    for (std::size_t at = 0; at < base.size(); ++at) {
        std::map<char16_t, std::uint32_t> byFold;
        std::map<std::uint32_t, char16_t> byFingerprint;
        for (const char16_t c : units) {
            std::u16string text = base;
            text[at] = c;
            const std::uint32_t fingerprint = NoCaseFingerprint(text);
            const char16_t fold = kxt::platform::FoldCase(c);
            const auto [sameFold, newFold] = byFold.try_emplace(fold, fingerprint);
            const auto [sameFingerprint, newFingerprint] = byFingerprint.try_emplace(fingerprint, fold);
            ASSERT_EQ(sameFold->second, fingerprint) << "unit " << int(c) << " at " << at;
            ASSERT_EQ(sameFingerprint->second, fold) << "unit " << int(c) << " at " << at;
        }
    }
}

// Two different names with one fingerprint: asking for one must never answer
// the material bearing the other.
TEST(LookupFingerprintTest, ASharedFingerprintIsNoMatch) {
    std::unordered_map<std::uint32_t, std::u16string> seen;
    seen.reserve(1 << 18);
    std::u16string first;
    std::u16string second;
    for (int i = 0; first.empty(); ++i) {
        ASSERT_LT(i, 2000000) << "no two names share a fingerprint";
        std::u16string name = u"name " + kxt::platform::Utf8ToUtf16(std::to_string(i));
        const auto [it, added] = seen.try_emplace(kxt::model::NoCaseFingerprint(name), name);
        if (!added) {
            first = it->second;
            second = std::move(name);
        }
    }
    ASSERT_FALSE(EqualsNoCase(first, second));

    kxtMaterialDB db;
    kxtMaterialClass group(&db);
    kxtMaterialBase m(&group);
    m.SetMaterialType(eKxtStandardMaterial);
    m.SetName(first);
    m.SetMaterialID(first);
    group.InsertMaterial(m);
    m.SetName(u"other");
    m.SetLangName(second);
    m.SetMaterialID(second);
    group.InsertMaterial(m);
    db.InsertGroup(std::move(group));
    const kxtMaterialBase* bearer = db.GetMaterialClass(0)->GetMaterial(1u);
    for (int pass = 0; pass < 3; ++pass) {  // the later passes are answered from the table
        EXPECT_EQ(Asked(db, kName, second), bearer);
        EXPECT_EQ(Asked(db, kGabiName, second), bearer);
        EXPECT_EQ(Asked(db, kIdentifier, second), bearer);
        EXPECT_EQ(Asked(db, kName, first + u"x"), nullptr);
    }
    db.GetMaterialClass(0)->GetMaterial(1u)->SetMaterialID(u"gone");
    for (int pass = 0; pass < 3; ++pass) EXPECT_EQ(Asked(db, kIdentifier, second), nullptr);
}

// Readers on several threads at once, right after a change, each asking
// questions whose answers they know.
TEST_F(LookupTest, ConcurrentReadersAfterAChangeAllAnswerRight) {
    ExpectWalkAnswers(db_);
    At(0, 0)->SetName(u"Mild Steel");
    const std::vector<std::pair<std::u16string, const kxtMaterialBase*>> known{
        {u"mild steel", At(0, 0)}, {u"steel", At(1, 0)}, {u"pvc", At(1, 1)}, {u"Wood", nullptr}};
    std::vector<int> wrong(4, 0);
    std::vector<std::thread> readers;
    for (std::size_t t = 0; t < wrong.size(); ++t) {
        readers.emplace_back([&, t] {
            for (int round = 0; round < 500; ++round) {
                const auto& [name, expected] = known[(t + static_cast<std::size_t>(round)) % known.size()];
                kxtMaterialBase* out = nullptr;
                db_.GetMaterialByName(name, out, 0);
                wrong[t] += out != expected;
            }
        });
    }
    for (std::thread& reader : readers) reader.join();
    EXPECT_EQ(wrong, std::vector<int>(4, 0));
}

// The walk's stages see each later position once, in order, and only
// positions that exist; the visit stops the walk where it returns true.
TEST(WalkAheadTest, StagesRunAheadOfTheVisitWithinTheRange) {
    for (const std::size_t count : {std::size_t{0}, std::size_t{3}, std::size_t{20}}) {
        std::vector<std::size_t> far, near, visited;
        const std::size_t end = kxt::model::WalkAhead<8, 4>(
            count, [&](std::size_t i) { far.push_back(i); }, [&](std::size_t i) { near.push_back(i); },
            [&](std::size_t i) {
                visited.push_back(i);
                return false;
            });
        EXPECT_EQ(end, count);
        std::vector<std::size_t> all(count);
        for (std::size_t i = 0; i < count; ++i) all[i] = i;
        EXPECT_EQ(visited, all) << count;
        EXPECT_EQ(far, std::vector<std::size_t>(all.begin() + std::min<std::size_t>(8, count), all.end())) << count;
        EXPECT_EQ(near, std::vector<std::size_t>(all.begin() + std::min<std::size_t>(4, count), all.end())) << count;
    }
    std::size_t visits = 0;
    const std::size_t stop = kxt::model::WalkAhead<2, 1>(
        10, kxt::model::kNoPrefetch, kxt::model::kNoPrefetch, [&](std::size_t i) {
            ++visits;
            return i == 6;
        });
    EXPECT_EQ(stop, 6u);
    EXPECT_EQ(visits, 7u);
}

}  // namespace
