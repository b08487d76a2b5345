// The sample installation loaded as the host loads it: its modules, its user
// data folder, its registry export and host version 33. Runs once per
// language (KXT_LANGUAGE english, french, german).
#include <kxtmat/kxtmat.h>

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "paths/data_paths.h"
#include "paths/sibling_services.h"
#include "platform/environment.h"
#include "platform/modules.h"
#include "platform/text.h"

namespace {

namespace paths = kxt::paths;
using kxt::platform::Utf8ToUtf16;

const std::u16string kSample = Utf8ToUtf16(KXTMAT_SAMPLE_DIR);

bool English() {
    const char* language = std::getenv("KXT_LANGUAGE");
    return language == nullptr || language[0] == '\0' || std::string(language) == "english";
}

// Calls fn(material) for every material of db.
template <class Fn>
void ForEachMaterial(const kxtMaterialDB& db, Fn fn) {
    for (int i = 0; i < static_cast<int>(db.GetGroupCount()); ++i) {
        const kxtMaterialClass* group = db.GetMaterialClass(i);
        for (unsigned j = 0; j < group->GetMaterialCount(); ++j) fn(*group->GetMaterial(j));
    }
}

class ManagerSampleTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // The host loads its main and installation modules before the add-in's.
        for (const char* module : {"libkxTerraU.so", "libkxTerraTPU.so", "libkxTerraMatU.so"}) {
            if (kxt::platform::LoadModule(paths::JoinPath(kSample, {Utf8ToUtf16(module)})) == nullptr)
                throw std::runtime_error(std::string("cannot load the sample's ") + module);
        }
        kxt::platform::SetEnvironmentValue("KXT_REGISTRY_FILE",
                                           kxt::platform::Utf16ToUtf8(paths::JoinPath(kSample, {u"registry.reg"})));
    }

    void SetUp() override {
        const std::u16string user = paths::JoinPath(kSample, {u"user"});
        std::vector<std::u16string> files =
            paths::HostLibraryList(user, {paths::JoinPath(user, {u"My Materials.kvxmat"})});
        manager_.InitResourcesData();
        manager_.SetKXVersion(33);
        manager_.SetProgDataSustainabilityPath(user);
        manager_.UpdateMaterials(files, 0);
    }

    kxtMaterialDBsManager manager_;
};

TEST_F(ManagerSampleTest, EveryStandardMaterialHasALanguageNameTranslatedOutsideEnglish) {
    ASSERT_EQ(manager_.GetDatabaseCount(), 4);
    for (kxtMaterialDB* db : {manager_.GetKxNativeDB(), manager_.GetKxNativeDinDB(), manager_.GetDB(2)}) {
        ASSERT_GT(db->GetGroupCount(), 0u) << kxt::platform::Utf16ToUtf8(db->GetPath());
        int translated = 0;
        ForEachMaterial(*db, [&](const kxtMaterialBase& material) {
            EXPECT_FALSE(material.GetLangName().empty()) << kxt::platform::Utf16ToUtf8(material.GetName());
            EXPECT_FALSE(material.GetLangClassName().empty()) << kxt::platform::Utf16ToUtf8(material.GetName());
            if (material.GetLangName() != material.GetName()) ++translated;
        });
        if (English()) {
            EXPECT_EQ(translated, 0);
        } else if (db != manager_.GetKxNativeDinDB()) {  // DIN numbers may read the same in every language
            EXPECT_GT(translated, 0);
        }
    }
}

TEST_F(ManagerSampleTest, StandardAndExtrasMaterialsHaveNamedProcesses) {
    for (kxtMaterialDB* db : {manager_.GetKxNativeDB(), manager_.GetDB(2)}) {
        int withProcesses = 0;
        ForEachMaterial(*db, [&](const kxtMaterialBase& material) {
            if (!material.GetManufacturingTypes().empty()) ++withProcesses;
            for (const kxtManufacturingProcess& process : material.GetManufacturingTypes())
                EXPECT_FALSE(process.GetLangName().empty()) << kxt::platform::Utf16ToUtf8(process.GetNativeName());
        });
        EXPECT_GT(withProcesses, 0) << kxt::platform::Utf16ToUtf8(db->GetPath());
    }
}

}  // namespace
