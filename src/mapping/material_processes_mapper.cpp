#include "mapping/material_processes_mapper.h"

#include "mapping/resource_text.h"

namespace kxt::mapping {
namespace {

struct DefaultProcessRow {
    unsigned classStringId;
    unsigned processStringId;
};

// Entry order matters (137 sits between 129 and 130): later rows overwrite.
constexpr DefaultProcessRow kDefaultProcessRows[] = {
    {112, 101}, {113, 105}, {114, 101}, {115, 139}, {116, 101}, {117, 107}, {118, 101},
    {119, 110}, {120, 111}, {121, 111}, {122, 110}, {123, 111}, {124, 111}, {125, 111},
    {126, 101}, {127, 105}, {128, 139}, {129, 101}, {137, 101}, {130, 101}, {131, 101},
    {132, 101}, {133, 101}, {134, 101}, {135, 101}, {136, 101},
};

}  // namespace

kxtMaterialProcessesMapper::kxtMaterialProcessesMapper(module::ModuleHandle resourceModule)
    : resourceModule_(resourceModule) {
    module::ScopedResourceModule whole(resourceModule_);
    for (const DefaultProcessRow& row : kDefaultProcessRows) {
        std::u16string className = LoadTextFrom(resourceModule_, row.classStringId);
        defaultProcesses_.insert_or_assign(std::move(className), LoadTextFrom(resourceModule_, row.processStringId));
    }
}

const std::u16string* kxtMaterialProcessesMapper::Find(std::u16string_view className) const {
    return FindText(defaultProcesses_, className);
}

}  // namespace kxt::mapping
