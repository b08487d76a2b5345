// The lookups of a loaded generated installation answer exactly what a plain
// first-match walk of the model answers: the indexes and fast paths that make
// them quick must never change an answer.
#include <kxtmat/kxtmat.h>

#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "installation_generator.h"
#include "paths/data_paths.h"
#include "platform/text.h"
#include "support/temp_installation.h"
#include "support/temp_dir.h"

namespace {

using kxt::platform::EqualsNoCase;
using kxt::test::TempInstallation;

// ---- the reference: plain walks in list order ----

std::vector<kxtMaterialDB*> DatabaseList(kxtMaterialDBsManager& manager) {
    std::vector<kxtMaterialDB*> list;
    for (int i = 0; manager.GetDB(i) != nullptr; ++i) list.push_back(manager.GetDB(i));
    return list;
}

template <class Accept>
kxtMaterialBase* WalkMaterials(const kxtMaterialDB& db, Accept accept) {
    for (std::uint64_t i = 0; i < db.GetGroupCount(); ++i) {
        const kxtMaterialClass* group = db.GetMaterialClass(static_cast<int>(i));
        for (std::uint64_t j = 0; j < group->GetMaterialCount(); ++j) {
            kxtMaterialBase* material = group->GetMaterial(static_cast<unsigned>(j));
            if (material != nullptr && accept(*material)) return material;
        }
    }
    return nullptr;
}

kxtMaterialBase* WalkNamed(const kxtMaterialDB& db, const std::u16string& name, bool byGabiName = false) {
    return WalkMaterials(db, [&](const kxtMaterialBase& m) {
        return EqualsNoCase(name, byGabiName ? m.GetGabiName() : m.GetName()) || EqualsNoCase(name, m.GetLangName());
    });
}

kxtMaterialBase* WalkNamedIn(const std::vector<kxtMaterialDB*>& dbs, const std::u16string& name) {
    for (const kxtMaterialDB* db : dbs) {
        if (kxtMaterialBase* found = WalkNamed(*db, name)) return found;
    }
    return nullptr;
}

std::vector<kxtMaterialDB*> NamedDatabases(const std::vector<kxtMaterialDB*>& dbs, const std::u16string& library) {
    std::vector<kxtMaterialDB*> named;
    for (kxtMaterialDB* db : dbs) {
        if (EqualsNoCase(db->GetDbName(), library)) named.push_back(db);
    }
    return named;
}

kxtMaterialClass* WalkClasses(const std::vector<kxtMaterialDB*>& dbs, const std::u16string& name) {
    for (const kxtMaterialDB* db : dbs) {
        for (std::uint64_t i = 0; i < db->GetGroupCount(); ++i) {
            kxtMaterialClass* group = db->GetMaterialClass(static_cast<int>(i));
            if (EqualsNoCase(name, group->GetName()) || EqualsNoCase(name, group->GetLangName())) return group;
        }
    }
    return nullptr;
}

// ASCII letters in upper case: a name as the host may spell it.
std::u16string Upper(std::u16string text) {
    for (char16_t& c : text) {
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    }
    return text;
}

// Every name under which the installation's materials may be asked for, in
// several spellings, with names that nothing bears.
struct Questions {
    std::vector<std::u16string> materials;
    std::vector<std::u16string> ids;
    std::vector<std::u16string> classes;
};

Questions AskedNames(const std::vector<kxtMaterialDB*>& dbs) {
    Questions questions;
    for (const kxtMaterialDB* db : dbs) {
        for (std::uint64_t i = 0; i < db->GetGroupCount(); ++i) {
            const kxtMaterialClass* group = db->GetMaterialClass(static_cast<int>(i));
            questions.classes.push_back(group->GetName());
            questions.classes.push_back(Upper(group->GetLangName()));
            // Every third material keeps the walks of the reference short enough.
            for (std::uint64_t j = 0; j < group->GetMaterialCount(); j += 3) {
                const kxtMaterialBase* m = group->GetMaterial(static_cast<unsigned>(j));
                questions.materials.push_back(m->GetName());
                questions.materials.push_back(Upper(m->GetLangName()));
                questions.materials.push_back(m->GetGabiName());
                questions.ids.push_back(m->GetMaterialID());
                questions.ids.push_back(kxt::platform::ToLower(m->GetMaterialID()));
            }
        }
    }
    for (auto* list : {&questions.materials, &questions.ids, &questions.classes}) {
        list->push_back(u"");
        list->push_back(u"Nothing is called this");
        list->push_back(list->front() + u"x");
    }
    return questions;
}

// The favourites that the generated registry export lists, in order, as
// (library, material) pairs; the values are plain quoted strings.
std::vector<std::pair<std::u16string, std::u16string>> ListedFavourites(const std::filesystem::path& file) {
    std::istringstream content(kxt::test::ReadFileBytes(file));
    std::map<int, std::string> values;
    std::string line;
    const std::string prefix = "\"_FavMaterial";
    while (std::getline(content, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind(prefix, 0) != 0) continue;
        const std::size_t quote = line.find('"', prefix.size());
        std::string value;
        for (std::size_t i = quote + 3; i + 1 < line.size(); ++i) {
            if (line[i] == '\\') ++i;
            value += line[i];
        }
        values[std::stoi(line.substr(prefix.size(), quote - prefix.size()))] = value;
    }
    std::vector<std::pair<std::u16string, std::u16string>> favourites;
    for (const auto& [index, value] : values) {
        const std::u16string text = kxt::platform::Utf8ToUtf16(value);
        const std::size_t bar = text.find(u'|');
        const std::u16string material = text.substr(bar + 1);
        favourites.emplace_back(text.substr(0, bar), material.substr(0, material.find(u'|')));
    }
    return favourites;
}

class PerfEquivalenceTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        kxt::test::InstallationOptions options;
        options.withOwnModule = true;
        const TempInstallation& installation = TempInstallation::Get(options);
        kxt::bench::WriteInstallation({1000, 20, 7}, installation.Root());
        registry_ = installation.Root() / kxt::bench::kRegistryFile;
        setenv("KXT_REGISTRY_FILE", registry_.c_str(), 1);

        const std::u16string user = installation.Path("user");
        const std::u16string langPath = kxt::paths::DefaultLangPath();
        std::vector<std::u16string> files{kxt::paths::ReportedLibrary(langPath, kxt::paths::kNativeLibraryFile),
                                          kxt::paths::ReportedLibrary(langPath, kxt::paths::kDinLibraryFile),
                                          kxt::paths::LanguageMaterialsSustainExtras(),
                                          kxt::paths::UserSustainExtras(user),
                                          installation.Path(kxt::bench::kCustomLibraryFile)};
        manager_ = new kxtMaterialDBsManager();
        manager_->InitResourcesData();
        manager_->SetKXVersion(kxt::bench::kHostVersion);
        manager_->SetProgDataSustainabilityPath(user);
        manager_->UpdateMaterials(files, 0);
        questions_ = new Questions(AskedNames(DatabaseList(*manager_)));
    }

    static void TearDownTestSuite() {
        delete questions_;
        delete manager_;
    }

    void SetUp() override {
        dbs_ = DatabaseList(*manager_);
        ASSERT_EQ(dbs_.size(), 4u) << "native, DIN, the extras copy and the custom library";
        ASSERT_EQ(MaterialCount(*dbs_[0]), 1000u);
        standard_ = {dbs_[0], dbs_[1]};
        custom_ = {dbs_.begin() + 2, dbs_.end()};
    }

    static std::size_t MaterialCount(const kxtMaterialDB& db) {
        std::size_t count = 0;
        WalkMaterials(db, [&](const kxtMaterialBase&) { return ++count, false; });
        return count;
    }

    std::vector<std::u16string> Libraries() const {
        std::vector<std::u16string> libraries{u"", u"no such library"};
        for (const kxtMaterialDB* db : dbs_) libraries.push_back(Upper(db->GetDbName()));
        return libraries;
    }

    static inline kxtMaterialDBsManager* manager_ = nullptr;
    static inline Questions* questions_ = nullptr;
    static inline std::filesystem::path registry_;
    std::vector<kxtMaterialDB*> dbs_;
    std::vector<kxtMaterialDB*> standard_;
    std::vector<kxtMaterialDB*> custom_;
};

TEST_F(PerfEquivalenceTest, MaterialsByNameAndLibraryAreTheFirstOfAWalk) {
    std::size_t found = 0;
    for (const std::u16string& library : Libraries()) {
        const std::vector<kxtMaterialDB*> all = NamedDatabases(dbs_, library);
        const std::vector<kxtMaterialDB*> custom = NamedDatabases(custom_, library);
        for (const std::u16string& name : questions_->materials) {
            const kxtMaterialBase* expected = WalkNamedIn(all, name);
            found += expected != nullptr;
            ASSERT_EQ(manager_->GetMaterial(name, library), expected) << "GetMaterial by library";
            ASSERT_EQ(manager_->GetCustomMaterial(name, library), WalkNamedIn(custom, name)) << "GetCustomMaterial";
        }
    }
    EXPECT_GT(found, questions_->materials.size() / 2) << "most names must find their material";
}

TEST_F(PerfEquivalenceTest, MaterialsOfOneDatabaseAndOfTheStandardAndCustomListsAreTheFirstOfAWalk) {
    for (const std::u16string& name : questions_->materials) {
        for (const kxtMaterialDB* db : dbs_) {
            ASSERT_EQ(manager_->GetMaterial(name, db), WalkNamed(*db, name)) << "GetMaterial in a database";
        }
        ASSERT_EQ(manager_->GetMaterial(name, static_cast<const kxtMaterialDB*>(nullptr)), nullptr);
        ASSERT_EQ(manager_->GetStandardMaterial(name), WalkNamedIn(standard_, name)) << "GetStandardMaterial";
        ASSERT_EQ(manager_->GetCustomMaterial(name, static_cast<const kxtMaterialDB*>(nullptr)),
                  WalkNamedIn(custom_, name))
            << "GetCustomMaterial in all custom databases";
    }
}

TEST_F(PerfEquivalenceTest, DatabaseLookupsByNameGabiNameAndIdentifierAreTheFirstOfAWalk) {
    std::size_t foundById = 0;
    for (const kxtMaterialDB* db : dbs_) {
        for (const std::u16string& name : questions_->materials) {
            for (int byGabiName : {0, 1}) {
                kxtMaterialBase* out = nullptr;
                const kxtMaterialBase* expected = WalkNamed(*db, name, byGabiName != 0);
                ASSERT_EQ(db->GetMaterialByName(name, out, byGabiName), expected != nullptr ? 1 : 0);
                ASSERT_EQ(out, expected);
            }
        }
        for (const std::u16string& id : questions_->ids) {
            kxtMaterialBase* out = nullptr;
            const kxtMaterialBase* expected =
                WalkMaterials(*db, [&](const kxtMaterialBase& m) { return EqualsNoCase(id, m.GetMaterialID()); });
            foundById += expected != nullptr;
            ASSERT_EQ(db->GetMaterialByID(id, out), expected != nullptr ? 1 : 0);
            ASSERT_EQ(out, expected);
        }
    }
    EXPECT_GT(foundById, 0u);
}

TEST_F(PerfEquivalenceTest, ClassesAreTheFirstOfAWalk) {
    for (const std::u16string& name : questions_->classes) {
        for (kxtMaterialDB* db : dbs_) ASSERT_EQ(db->FindMaterialGroup(name), WalkClasses({db}, name));
        kxtMaterialClass* standard = WalkClasses(standard_, name);
        ASSERT_EQ(manager_->FindMaterialGroup(name, -1), standard != nullptr ? standard : WalkClasses(custom_, name));
        ASSERT_EQ(manager_->FindMaterialGroup(name, eKxtNativeDinDB), standard);
        ASSERT_EQ(manager_->FindMaterialGroup(name, eKxtCustomDB), WalkClasses(custom_, name));
    }
}

TEST_F(PerfEquivalenceTest, FavouritesResolveAsAWalkOfTheirLibraryInRegistryOrder) {
    std::vector<kxtMaterialBase*> expected;
    for (const auto& [library, material] : ListedFavourites(registry_)) {
        kxtMaterialBase* found = nullptr;
        if (EqualsNoCase(library, u"korvex materials"))
            found = WalkNamed(*dbs_[0], material);
        else if (EqualsNoCase(library, u"korvex din materials"))
            found = WalkNamed(*dbs_[1], material);
        else
            found = WalkNamedIn(custom_, material);
        if (found != nullptr) expected.push_back(found);
    }
    ASSERT_EQ(expected.size(), kxt::bench::kFavourites) << "every generated favourite names a material";
    EXPECT_EQ(manager_->LoadFavoritesMaterialsFromRegistry(), expected);
}

}  // namespace
