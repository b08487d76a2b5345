#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "platform/files.h"
#include "platform/modules.h"
#include "platform/text.h"

namespace kxt::platform {
namespace {

namespace fs = std::filesystem;

// The folder that holds the module ("…/Lang"), and the module's file name here.
const std::u16string kModuleDir = Utf8ToUtf16(fs::path(KXT_TEST_MODULE_DIR).make_preferred().string());
const std::u16string kLogicalName = u"kxtTestRes.dll";
const std::u16string kFileName = NativeModuleFileName(kLogicalName);

std::u16string InModuleDir(std::u16string_view name) { return JoinPath(kModuleDir, {name}); }

// The module's folder with its last component in another case ("…/LANG").
const std::u16string kOtherCaseDir = kModuleDir.substr(0, kModuleDir.size() - 4) + u"LANG";

// Each test releases every load it makes: the module is gone afterwards.
TEST(PlatformModules, FindsALoadedModuleByEitherNameInAnyCaseAndByPathOnlyInItsFolderAndReadsItsExportsAndStrings) {
    const ModuleHandle module = LoadModuleForResources(InModuleDir(kLogicalName));
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(ModuleFileName(module), InModuleDir(kFileName));
    for (const std::u16string& name : {kLogicalName, std::u16string(u"KXTTESTRES.DLL"), kFileName, InModuleDir(kLogicalName),
                                       JoinPath(kOtherCaseDir, {u"KxtTestRes.DLL"}), InModuleDir(kFileName)})
        EXPECT_EQ(FindLoadedModule(name), module) << Utf16ToUtf8(name);
    // Windows' own look-up adds ".dll" to a name without an extension; POSIX does not.
    EXPECT_TRUE(kFileName.ends_with(u".dll") || FindLoadedModule(u"kxtTestRes") == nullptr);
    for (const std::u16string& name : {std::u16string(u"TestRes.dll"), JoinPath(kModuleDir, {u"french", kLogicalName}), JoinPath(u"", {kLogicalName})})
        EXPECT_EQ(FindLoadedModule(name), nullptr) << Utf16ToUtf8(name);
    // Finding takes no reference; each load needs its own release.
    const ModuleHandle second = LoadModule(JoinPath(kOtherCaseDir, {u"KXTTESTRES.dll"}));
    EXPECT_EQ(second, module);
    ReleaseModule(second);
    EXPECT_EQ(FindLoadedModule(kLogicalName), module);
    using ResourceString = const char16_t* (*)(unsigned);
    const auto exported = reinterpret_cast<ResourceString>(FindExport(module, "kxtResourceString"));
    ASSERT_NE(exported, nullptr);
    EXPECT_EQ(std::u16string(exported(101)), u"Milled");
    EXPECT_EQ(FindExport(module, "NoSuchExport"), nullptr);
    EXPECT_TRUE(LoadModuleString(module, 32965) == u"Material Cost \u00C9" && LoadModuleString(module, 102) == std::nullopt);
    ReleaseModule(module);
    EXPECT_EQ(FindLoadedModule(kLogicalName), nullptr);
    EXPECT_TRUE(ModuleFileExists(InModuleDir(kFileName)));
    for (const std::u16string& path : {InModuleDir(u"kxtTestRes.so"), InModuleDir(u"kxtMissing.dll"), kModuleDir})
        EXPECT_TRUE(!ModuleFileExists(path) && LoadModule(path) == nullptr) << Utf16ToUtf8(path);
}

TEST(PlatformModules, NamesTheModuleFileAsLoadedWithoutResolvingLinks) {
#ifdef _WIN32
    GTEST_SKIP() << "folder links need a privilege on Windows; the module file name is tested by the loading test";
#endif
    const fs::path link = fs::temp_directory_path() / "kxt_modules_link";
    fs::remove(link);
    fs::create_directory_symlink(fs::path(KXT_TEST_MODULE_DIR), link);
    const std::u16string linkDir = Utf8ToUtf16(link.string());
    const ModuleHandle module = LoadModuleForResources(linkDir + u"/" + kLogicalName);
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(ModuleFileName(module), JoinPath(linkDir, {kFileName}));
    ReleaseModule(module);
    fs::remove(link);
    EXPECT_EQ(FindLoadedModule(kLogicalName), nullptr);
}

}  // namespace
}  // namespace kxt::platform
