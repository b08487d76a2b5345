// The sample installation loaded as the host loads it, once per language:
// its libraries read with the language's names and resource texts as class
// names, and every process, DIN partner and custom link its files name resolves.
#include <kxtmat/kxtmat.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>

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
const std::u16string kLanguage = platform::Utf8ToUtf16(std::getenv("KXT_LANGUAGE") != nullptr ? std::getenv("KXT_LANGUAGE") : "");

// Loads the sample's libraries with `user` as the folder of the user's process settings.
void LoadAsHost(kxtMaterialDBsManager& manager, const std::u16string& user) {
    const std::u16string sampleUser = JoinPath(kSample, {u"user"});
    std::vector<std::u16string> files = kxt::paths::HostLibraryList(sampleUser, {JoinPath(sampleUser, {u"My Materials.kvxmat"})});
    manager.InitResourcesData();
    manager.SetKXVersion(33);
    manager.SetProgDataSustainabilityPath(user);
    manager.UpdateMaterials(files, 0);
}

class ManagerSampleTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // The host loads its main and installation modules before the add-in's.
        for (const char16_t* module : {u"kxTerraU.dll", u"kxTerraTPU.dll", u"kxTerraMatU.dll"}) {
            if (platform::LoadModule(JoinPath(kSample, {module})) == nullptr) throw std::runtime_error("a sample module does not load");
        }
        platform::SetEnvironmentValue("KXT_REGISTRY_FILE", Utf16ToUtf8(JoinPath(kSample, {u"registry.reg"})));
    }
    void SetUp() override { LoadAsHost(manager_, JoinPath(kSample, {u"user"})); }
    kxtMaterialDBsManager manager_;
};

TEST_F(ManagerSampleTest, LibrariesReadWithTheLanguagesNamesAndResourceTextsAsClassNames) {
    std::map<std::u16string, std::u16string> translation;  // English resource text -> this language's
    const auto resources = [](std::u16string language) {
        return platform::LoadModuleForResources(JoinPath(kSample, {u"lang", language.empty() ? u"english" : language, u"kxTerraMatResU.dll"}));
    };
    const platform::ModuleHandle english = resources(u"english"), local = resources(kLanguage);
    ASSERT_TRUE(english != nullptr && local != nullptr);
    for (unsigned id = 101; id <= 139; ++id) translation[*platform::LoadModuleString(english, id)] = *platform::LoadModuleString(local, id);
    platform::ReleaseModule(english);
    platform::ReleaseModule(local);

    ASSERT_EQ(manager_.GetDatabaseCount(), 4);
    for (kxtMaterialDB* db : {manager_.GetKxNativeDB(), manager_.GetKxNativeDinDB(), manager_.GetDB(2)}) {
        SCOPED_TRACE(Utf16ToUtf8(db->GetPath()));
        std::size_t materials = 0, translated = 0;
        kxt::ForEachMaterial(*db, [&](const kxtMaterialBase& material, const kxtMaterialClass& group) {
            SCOPED_TRACE(Utf16ToUtf8(material.GetName()));
            const auto text = translation.find(group.GetName());
            ASSERT_NE(text, translation.end()) << "the class is no resource text";
            // Standard and DIN classes are named as the language copy's class at the same position.
            if (db != manager_.GetDB(2)) {
                EXPECT_EQ(material.GetLangClassName(), text->second);
            }
            EXPECT_FALSE(material.GetLangName().empty());
            ++materials;
            translated += material.GetLangName() != material.GetName();
        });
        EXPECT_GT(materials, 0u);
        // DIN materials are named by number in every language; the user's extras copy stays English.
        if (db == manager_.GetKxNativeDinDB()) continue;
        EXPECT_TRUE(kLanguage.empty() || kLanguage == u"english" ? translated == 0 : 3 * translated > materials) << translated;
    }
}

TEST_F(ManagerSampleTest, EveryStandardAndDinMaterialHasNamedProcessesFromEitherSettingsFile) {
    kxtMaterialDBsManager installedSettings;  // with no user process settings
    LoadAsHost(installedSettings, JoinPath(kSample, {u"lang"}));
    for (kxtMaterialDBsManager* manager : {&manager_, &installedSettings}) {
        for (kxtMaterialDB* db : {manager->GetKxNativeDB(), manager->GetKxNativeDinDB()}) {
            kxt::ForEachMaterial(*db, [&](const kxtMaterialBase& material) {
                EXPECT_FALSE(material.GetManufacturingTypes().empty()) << Utf16ToUtf8(material.GetName());
                for (const kxtManufacturingProcess& process : material.GetManufacturingTypes()) EXPECT_FALSE(process.GetLangName().empty());
            });
        }
    }
}

TEST_F(ManagerSampleTest, EveryCustomLinkResolves) {
    const std::string bytes = kxt::test::ReadFileBytes(std::filesystem::path(KXTMAT_SAMPLE_DIR) / "user/My Materials.kvxmat");
    std::size_t links = 0, linked = 0;
    for (auto at = bytes.find("<sustainability "); at != std::string::npos; at = bytes.find("<sustainability ", at + 1)) ++links;
    kxt::ForEachMaterial(*manager_.GetDB(3), [&](const kxtMaterialBase& material) { linked += material.GetSageLink() != nullptr; });
    EXPECT_GT(linked, 0u);
    EXPECT_EQ(linked, links);
}

}  // namespace
