// The process name map and the default-process table, with the English
// stand-in resource module and without any.
#include <gtest/gtest.h>

#include <string>

#include "mapping/material_processes_mapper.h"
#include "mapping/mfg_process_map.h"
#include "module/resources.h"
#include "platform/modules.h"
#include "support/resource_module.h"

namespace kxt::mapping {
namespace {

class ResourceModuleTest : public ::testing::Test {
protected:
    void SetUp() override {
        module_ = test::EnglishResourceModule();
        ASSERT_NE(module_, nullptr) << "the English resource module did not load";
    }

    static std::u16string TextOf(const std::u16string* text) { return text != nullptr ? *text : u"<absent>"; }

    platform::ModuleHandle module_ = nullptr;
};

using MfgProcessMapTest = ResourceModuleTest;

TEST_F(MfgProcessMapTest, KeysOfOneProcessShareItsText) {
    const kxtMfgProcessMap map(module_);
    EXPECT_EQ(TextOf(map.Find(u"milled_part")), u"Milled");
    const std::pair<const char16_t*, const char16_t*> sameText[] = {
        {u"milled", u"milled_part"},       {u"die_cast", u"die_cast_part"},  {u"turned", u"turned_part"},
        {u"forged", u"forged_part"},       {u"sand_cast", u"sand_cast_part"}, {u"sheet", u"sheet_part"},
        {u"injection_mold", u"inj_molded"}, {u"mach_sand_cast", u"stnd_mach_scast"},
    };
    for (const auto& [a, b] : sameText) {
        ASSERT_NE(map.Find(a), nullptr);
        EXPECT_FALSE(map.Find(a)->empty());
        EXPECT_EQ(TextOf(map.Find(a)), TextOf(map.Find(b)));
    }
    EXPECT_EQ(TextOf(map.Find(u"sand_cast")), u"Sand Cast");
    EXPECT_EQ(TextOf(map.Find(u"mach_sand_cast")), u"Machined Sand Cast");
    EXPECT_EQ(TextOf(map.Find(u"stamped_sheet")), u"Stamped Sheet");
    EXPECT_EQ(TextOf(map.Find(u"extrusion")), u"Extruded");
}

TEST_F(MfgProcessMapTest, NoneCustomAndWireHaveTextsOfTheirOwn) {
    const kxtMfgProcessMap map(module_);
    EXPECT_EQ(TextOf(map.Find(u"none")), u"None");
    EXPECT_EQ(TextOf(map.Find(u"custom")), u"Custom");
    EXPECT_EQ(TextOf(map.Find(u"wire")), u"Wire");
}

TEST_F(MfgProcessMapTest, LookupIsExactAndCaseSensitive) {
    const kxtMfgProcessMap map(module_);
    EXPECT_EQ(map.Find(u"Milled_Part"), nullptr);
    EXPECT_EQ(map.Find(u"MILLED"), nullptr);
    EXPECT_EQ(map.Find(u" milled"), nullptr);
    EXPECT_EQ(map.Find(u"milled "), nullptr);
    EXPECT_EQ(map.Find(u"mill"), nullptr);
    EXPECT_EQ(map.Find(u"recycled_cont"), nullptr);
    EXPECT_EQ(map.Find(u""), nullptr);
}

TEST_F(MfgProcessMapTest, LoadsFromItsOwnModuleAndRestoresTheCurrentOne) {
    // The module passed in is used, not the current one, and the current one
    // is the same afterwards.
    module::ScopedResourceModule current(module_);
    const kxtMfgProcessMap withoutStrings(nullptr);
    EXPECT_EQ(module::CurrentResourceModule(), module_);
    ASSERT_NE(withoutStrings.Find(u"wire"), nullptr);
    EXPECT_TRUE(withoutStrings.Find(u"wire")->empty());
}

using MaterialProcessesMapperTest = ResourceModuleTest;

TEST_F(MaterialProcessesMapperTest, ClassNamesGiveTheirDefaultProcess) {
    const kxtMaterialProcessesMapper mapper(module_);
    // One class per default process text; the rows are a fixed table.
    EXPECT_EQ(TextOf(mapper.Find(u"Copper Alloys")), u"Wire");
    EXPECT_EQ(TextOf(mapper.Find(u"Woods")), u"None");
    EXPECT_EQ(TextOf(mapper.Find(u"Cast Iron")), u"Sand Cast");
    EXPECT_EQ(TextOf(mapper.Find(u"Zinc Alloys")), u"Sheet Metal");
    EXPECT_EQ(TextOf(mapper.Find(u"Plastics")), u"Injection Molded");
    EXPECT_EQ(TextOf(mapper.Find(u"Stainless Steel")), u"Milled");
    // Every English class name is distinct, so all 26 rows land.
    EXPECT_EQ(mapper.Size(), 26u);
}

TEST_F(MaterialProcessesMapperTest, LookupIsExactAndCaseSensitive) {
    const kxtMaterialProcessesMapper mapper(module_);
    EXPECT_EQ(mapper.Find(u"steel"), nullptr);
    EXPECT_EQ(mapper.Find(u"Steel "), nullptr);
    EXPECT_EQ(mapper.Find(u""), nullptr);
    // Process names and strings outside the class rows are not class names.
    EXPECT_EQ(mapper.Find(u"Milled"), nullptr);
    EXPECT_EQ(mapper.Find(u"Custom"), nullptr);
}

TEST_F(MaterialProcessesMapperTest, RestoresTheCurrentResourceModule) {
    {
        module::ScopedResourceModule current(module_);
        const kxtMaterialProcessesMapper withoutStrings(nullptr);
        EXPECT_EQ(module::CurrentResourceModule(), module_);
        EXPECT_EQ(withoutStrings.Size(), 1u);
    }
    const kxtMaterialProcessesMapper mapper(module_);
    EXPECT_EQ(module::CurrentResourceModule(), nullptr);
}

TEST(MaterialProcessesMapperWithoutModule, EndsWithTheEmptyNameMappedToAnEmptyText) {
    const kxtMaterialProcessesMapper mapper(nullptr);
    EXPECT_EQ(mapper.Size(), 1u);
    ASSERT_NE(mapper.Find(u""), nullptr);
    EXPECT_TRUE(mapper.Find(u"")->empty());
    EXPECT_EQ(mapper.Find(u"Steel"), nullptr);
}

}  // namespace
}  // namespace kxt::mapping
