#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "platform/files.h"
#include "platform/modules.h"
#include "platform/text.h"

namespace kxt::platform {
namespace {

namespace fs = std::filesystem;

// The folder that holds libkxtTestRes.so ("…/Lang").
const std::u16string kModuleDir = Utf8ToUtf16(KXT_TEST_MODULE_DIR);
const std::u16string kLogicalName = u"kxtTestRes.dll";

std::u16string InModuleDir(std::u16string_view name) { return kModuleDir + kPathSeparator + std::u16string(name); }

std::u16string ToUpperAscii(std::u16string s) {
    for (char16_t& c : s) {
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 0x20);
    }
    return s;
}

// The module's folder with its last component in another case ("…/LANG").
std::u16string OtherCaseDir() {
    const std::size_t slash = kModuleDir.rfind(kPathSeparator);
    return kModuleDir.substr(0, slash + 1) + ToUpperAscii(kModuleDir.substr(slash + 1));
}

class PlatformModulesTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(FindLoadedModule(kLogicalName), nullptr) << "an earlier test leaked a load"; }
    void TearDown() override { EXPECT_EQ(FindLoadedModule(kLogicalName), nullptr) << "this test leaked a load"; }
};

TEST_F(PlatformModulesTest, FindsALoadedModuleByItsLogicalNameInAnyCase) {
    const ModuleHandle module = LoadModuleForResources(InModuleDir(kLogicalName));
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(FindLoadedModule(kLogicalName), module);
    EXPECT_EQ(FindLoadedModule(u"KXTTESTRES.DLL"), module);
    EXPECT_EQ(FindLoadedModule(u"libkxtTestRes.so"), module);
    EXPECT_EQ(FindLoadedModule(u"kxtTestRes"), nullptr);  // neither form of the name
    EXPECT_EQ(FindLoadedModule(u"TestRes.dll"), nullptr);
    ReleaseModule(module);
}

TEST_F(PlatformModulesTest, FindsALoadedModuleByPathOnlyInItsFolder) {
    const ModuleHandle module = LoadModuleForResources(InModuleDir(kLogicalName));
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(FindLoadedModule(InModuleDir(kLogicalName)), module);
    EXPECT_EQ(FindLoadedModule(OtherCaseDir() + kPathSeparator + u"KxtTestRes.DLL"), module);
    EXPECT_EQ(FindLoadedModule(InModuleDir(u"libkxtTestRes.so")), module);
    EXPECT_EQ(FindLoadedModule(kModuleDir + u"/french/" + kLogicalName), nullptr);
    EXPECT_EQ(FindLoadedModule(u"/" + kLogicalName), nullptr);
    ReleaseModule(module);
}

TEST_F(PlatformModulesTest, FindingTakesNoReferenceAndReleaseBalancesEachLoad) {
    const ModuleHandle first = LoadModuleForResources(InModuleDir(kLogicalName));
    const ModuleHandle second = LoadModuleForResources(OtherCaseDir() + kPathSeparator + u"KXTTESTRES.dll");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(second, first);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(FindLoadedModule(kLogicalName), first);
    ReleaseModule(second);
    EXPECT_EQ(FindLoadedModule(kLogicalName), first);
    ReleaseModule(first);
    EXPECT_EQ(FindLoadedModule(kLogicalName), nullptr);
}

TEST_F(PlatformModulesTest, AModuleFileExistsUnderItsLogicalOrItsSharedObjectName) {
    EXPECT_TRUE(ModuleFileExists(InModuleDir(kLogicalName)));
    EXPECT_TRUE(ModuleFileExists(OtherCaseDir() + kPathSeparator + u"KXTTESTRES.DLL"));
    EXPECT_TRUE(ModuleFileExists(InModuleDir(u"libkxtTestRes.so")));
    EXPECT_FALSE(ModuleFileExists(InModuleDir(u"kxtTestRes.so")));
    EXPECT_FALSE(ModuleFileExists(InModuleDir(u"kxtMissing.dll")));
    EXPECT_FALSE(ModuleFileExists(kModuleDir));
}

TEST_F(PlatformModulesTest, LoadsNothingFromAMissingFileOrAFolder) {
    EXPECT_EQ(LoadModuleForResources(InModuleDir(u"kxtMissing.dll")), nullptr);
    EXPECT_EQ(LoadModuleForResources(kModuleDir), nullptr);
    EXPECT_EQ(LoadModuleForResources(u""), nullptr);
    ReleaseModule(nullptr);  // harmless
}

TEST_F(PlatformModulesTest, LoadsAModuleToRunItsCodeAndReleasesIt) {
    const ModuleHandle module = LoadModule(OtherCaseDir() + kPathSeparator + u"KXTTESTRES.dll");
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(FindLoadedModule(kLogicalName), module);
    using ResourceString = const char16_t* (*)(unsigned);
    const auto function = reinterpret_cast<ResourceString>(FindExport(module, "kxtResourceString"));
    ASSERT_NE(function, nullptr);
    EXPECT_EQ(std::u16string(function(101)), u"Milled");
    ReleaseModule(module);
    EXPECT_EQ(LoadModule(InModuleDir(u"kxtMissing.dll")), nullptr);
    EXPECT_EQ(LoadModule(kModuleDir), nullptr);
}

TEST_F(PlatformModulesTest, ReadsExportsAndStringResources) {
    const ModuleHandle module = LoadModuleForResources(InModuleDir(kLogicalName));
    ASSERT_NE(module, nullptr);
    void* exported = FindExport(module, "kxtResourceString");
    EXPECT_NE(exported, nullptr);
    EXPECT_EQ(FindExport(module, "NoSuchExport"), nullptr);
    EXPECT_EQ(ModuleContainingAddress(exported), module);
    EXPECT_EQ(LoadModuleString(module, 101), u"Milled");
    EXPECT_EQ(LoadModuleString(module, 32965), u"Material Cost \u00C9");
    EXPECT_EQ(LoadModuleString(module, 102), std::nullopt);
    ReleaseModule(module);
    EXPECT_EQ(LoadModuleString(nullptr, 101), std::nullopt);
    EXPECT_EQ(FindExport(nullptr, "kxtResourceString"), nullptr);
}

TEST_F(PlatformModulesTest, NamesTheModuleFileAsLoadedWithoutResolvingLinks) {
    const fs::path link = fs::temp_directory_path() / "kxt_modules_link";
    fs::remove(link);
    fs::create_directory_symlink(fs::path(KXT_TEST_MODULE_DIR), link);
    const std::u16string linkDir = Utf8ToUtf16(link.string());
    const ModuleHandle module = LoadModuleForResources(linkDir + kPathSeparator + kLogicalName);
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(ModuleFileName(module), linkDir + kPathSeparator + u"libkxtTestRes.so");
    EXPECT_EQ(FindLoadedModule(linkDir + kPathSeparator + kLogicalName), module);
    ReleaseModule(module);
    fs::remove(link);
}

TEST_F(PlatformModulesTest, NamesTheExecutableForNoModule) {
    const std::u16string executable = ModuleFileName(nullptr);
    ASSERT_FALSE(executable.empty());
    EXPECT_EQ(executable.front(), u'/');
    EXPECT_EQ(executable.substr(executable.rfind(kPathSeparator) + 1), u"platform_modules_test");
    EXPECT_EQ(ModuleFileName(ModuleContainingAddress(reinterpret_cast<const void*>(&OtherCaseDir))), executable);
}

}  // namespace
}  // namespace kxt::platform
