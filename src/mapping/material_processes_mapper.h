// The default manufacturing process of a material class: both names in the
// user-interface language of the resource module.
#pragma once

#include <string>
#include <string_view>

#include "mapping/resource_text.h"
#include "module/resources.h"

namespace kxt::mapping {

class kxtMaterialProcessesMapper {
public:
    // Loads every class name and its default process name from
    // `resourceModule`; when two rows give one class name, the later row wins.
    explicit kxtMaterialProcessesMapper(module::ModuleHandle resourceModule);
    virtual ~kxtMaterialProcessesMapper() = default;

    // The default process of exactly `className` (case-sensitive, whole
    // text); null when absent. Valid while the mapper lives.
    const std::u16string* Find(std::u16string_view className) const;

    // The number of distinct class names held.
    std::size_t Size() const noexcept { return defaultProcesses_.size(); }

private:
    TextTable defaultProcesses_;
    module::ModuleHandle resourceModule_;
};

}  // namespace kxt::mapping
