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

std::u16string TextOf(const std::u16string* text) { return text != nullptr ? *text : u"<absent>"; }

TEST(MappingTables, KeysGiveTheirTextsExactlyAndWithCase) {
    const platform::ModuleHandle module = test::EnglishResourceModule();
    ASSERT_NE(module, nullptr) << "the English resource module did not load";
    const kxtMfgProcessMap processes(module);
    const kxtMaterialProcessesMapper classes(module);
    const std::pair<const char16_t*, const char16_t*> processCases[] = {
        {u"milled", u"Milled"},       {u"milled_part", u"Milled"},   {u"sand_cast", u"Sand Cast"},
        {u"stnd_mach_scast", u"Machined Sand Cast"}, {u"inj_molded", u"Injection Molded"},
        {u"stamped_sheet", u"Stamped Sheet"}, {u"extrusion", u"Extruded"}, {u"none", u"None"},
        {u"custom", u"Custom"},       {u"wire", u"Wire"},            {u"Milled_Part", u"<absent>"},
        {u"milled ", u"<absent>"},    {u"recycled_cont", u"<absent>"}, {u"", u"<absent>"}};
    for (const auto& [key, text] : processCases) EXPECT_EQ(TextOf(processes.Find(key)), text);

    const std::pair<const char16_t*, const char16_t*> classCases[] = {
        {u"Copper Alloys", u"Wire"}, {u"Woods", u"None"},   {u"Cast Iron", u"Sand Cast"},
        {u"Zinc Alloys", u"Sheet Metal"}, {u"Plastics", u"Injection Molded"}, {u"Stainless Steel", u"Milled"},
        {u"steel", u"<absent>"},     {u"Milled", u"<absent>"}, {u"", u"<absent>"}};
    for (const auto& [key, text] : classCases) EXPECT_EQ(TextOf(classes.Find(key)), text);
    EXPECT_EQ(classes.Size(), 26u) << "every English class name is distinct";
}

TEST(MappingTables, WithoutStringsTheTextsAreEmptyAndTheCurrentModuleStays) {
    const platform::ModuleHandle module = test::EnglishResourceModule();
    ASSERT_NE(module, nullptr);
    {
        module::ScopedResourceModule current(module);
        const kxtMfgProcessMap processes(nullptr);
        const kxtMaterialProcessesMapper classes(nullptr);
        EXPECT_EQ(module::CurrentResourceModule(), module);
        EXPECT_EQ(TextOf(processes.Find(u"wire")), u"");
        EXPECT_EQ(classes.Size(), 1u) << "the empty name mapped to an empty text";
        EXPECT_EQ(TextOf(classes.Find(u"")), u"");
    }
    const kxtMaterialProcessesMapper classes(module);
    EXPECT_EQ(module::CurrentResourceModule(), nullptr);
}

}  // namespace
}  // namespace kxt::mapping
