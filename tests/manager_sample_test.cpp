// The sample installation loaded as the host loads it, once per language:
// its libraries read with the language's names and resource texts as class
// names, and every custom link its files name resolves.
#include <kxtmat/kxtmat.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <stdexcept>

#include <gtest/gtest.h>

#include "paths/data_paths.h"
#include "platform/environment.h"
#include "platform/modules.h"
#include "platform/text.h"
#include "support/temp_dir.h"

namespace {

namespace platform = kxt::platform;
using kxt::paths::JoinPath;
using platform::Utf16ToUtf8;

const std::u16string kSample = platform::Utf8ToUtf16(KXTMAT_SAMPLE_DIR);
const char* const kSetLanguage = std::getenv("KXT_LANGUAGE");
const std::u16string kLanguage = platform::Utf8ToUtf16(kSetLanguage != nullptr && *kSetLanguage != '\0' ? kSetLanguage : "english");

class ManagerSampleTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // The host loads its main and installation modules before the add-in's.
        for (const char16_t* module : {u"kxTerraU.dll", u"kxTerraTPU.dll", u"kxTerraMatU.dll"})
            if (platform::LoadModule(JoinPath(kSample, {module})) == nullptr) throw std::runtime_error("a sample module does not load");
        platform::SetEnvironmentValue("KXT_REGISTRY_FILE", Utf16ToUtf8(JoinPath(kSample, {u"registry.reg"})));
    }
    void SetUp() override {
        const std::u16string user = JoinPath(kSample, {u"user"});
        std::vector<std::u16string> files = kxt::paths::HostLibraryList(user, {JoinPath(user, {u"My Materials.kvxmat"})});
        manager_.InitResourcesData(), manager_.SetKXVersion(33), manager_.SetProgDataSustainabilityPath(user);
        manager_.UpdateMaterials(files, 0);
    }
    kxtMaterialDBsManager manager_;
};

TEST_F(ManagerSampleTest, LibrariesReadWithTheLanguagesNamesAndResourceTextsAsClassNames) {
    std::map<std::u16string, std::u16string> translation;  // English resource text -> this language's
    const auto resources = [](const std::u16string& language) {
        return platform::LoadModuleForResources(JoinPath(kSample, {u"lang", language, u"kxTerraMatResU.dll"}));
    };
    const platform::ModuleHandle english = resources(u"english"), local = resources(kLanguage);
    ASSERT_TRUE(english != nullptr && local != nullptr);
    for (unsigned id = 101; id <= 139; ++id) translation[*platform::LoadModuleString(english, id)] = *platform::LoadModuleString(local, id);
    platform::ReleaseModule(english), platform::ReleaseModule(local);

    ASSERT_EQ(manager_.GetDatabaseCount(), 4);
    for (kxtMaterialDB* db : {manager_.GetKxNativeDB(), manager_.GetKxNativeDinDB(), manager_.GetDB(2)}) {
        SCOPED_TRACE(Utf16ToUtf8(db->GetPath()));
        std::size_t materials = 0, translated = 0;
        kxt::ForEachMaterial(*db, [&](const kxtMaterialBase& material, const kxtMaterialClass& group) {
            SCOPED_TRACE(Utf16ToUtf8(material.GetName()));
            const auto text = translation.find(group.GetName());
            ASSERT_NE(text, translation.end()) << "the class is no resource text";
            // Standard and DIN classes are named as the language copy's class at the same position.
            EXPECT_TRUE(db == manager_.GetDB(2) || material.GetLangClassName() == text->second) << Utf16ToUtf8(material.GetLangClassName());
            EXPECT_FALSE(material.GetLangName().empty());
            ++materials, translated += material.GetLangName() != material.GetName();
        });
        EXPECT_GT(materials, 0u);
        // DIN materials are named by number in every language; the user's extras copy stays English.
        if (db == manager_.GetKxNativeDinDB()) continue;
        EXPECT_TRUE(kLanguage == u"english" ? translated == 0 : 3 * translated > materials) << translated;
    }
}

TEST_F(ManagerSampleTest, EveryCustomLinkResolves) {
    const std::string bytes = kxt::test::ReadFileBytes(std::filesystem::path(KXTMAT_SAMPLE_DIR) / "user/My Materials.kvxmat");
    std::size_t links = 0, linked = 0;
    for (auto at = bytes.find("<sustainability "); at != std::string::npos; at = bytes.find("<sustainability ", at + 1)) ++links;
    kxt::ForEachMaterial(*manager_.GetDB(3), [&](const kxtMaterialBase& material) { linked += material.GetSageLink() != nullptr; });
    EXPECT_TRUE(linked > 0 && linked == links) << linked << " of " << links;
}

}  // namespace
