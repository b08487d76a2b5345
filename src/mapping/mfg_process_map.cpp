#include "mapping/mfg_process_map.h"

#include "mapping/resource_text.h"

namespace kxt::mapping {
namespace {

struct ProcessRow {
    const char16_t* key;
    unsigned stringId;
};

// Several keys share one text; the table order is the insertion order.
constexpr ProcessRow kProcessRows[] = {
    {u"milled_part", 101},     {u"milled", 101},         {u"turned_part", 102},
    {u"turned", 102},          {u"forged_part", 103},    {u"die_cast_part", 104},
    {u"die_cast", 104},        {u"sand_cast_part", 105}, {u"stnd_mach_scast", 106},
    {u"sheet_part", 107},      {u"stamped_sheet", 108},  {u"extrusion", 109},
    {u"inj_molded", 110},      {u"none", 111},           {u"custom", 138},
    {u"forged", 103},          {u"mach_sand_cast", 106}, {u"sand_cast", 105},
    {u"sheet", 107},           {u"injection_mold", 110}, {u"wire", 139},
};

}  // namespace

kxtMfgProcessMap::kxtMfgProcessMap(module::ModuleHandle resourceModule) : resourceModule_(resourceModule) {
    for (const ProcessRow& row : kProcessRows) {
        processNames_.emplace(row.key, LoadTextFrom(resourceModule_, row.stringId));
    }
}

const std::u16string* kxtMfgProcessMap::Find(std::u16string_view key) const {
    return FindText(processNames_, key);
}

}  // namespace kxt::mapping
