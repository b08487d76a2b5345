// The fixed table that joins the process keys of the process settings file
// ("milled_part", "sand_cast", ...) to their user-interface names.
#pragma once

#include <string>
#include <string_view>

#include "mapping/resource_text.h"
#include "module/resources.h"

namespace kxt::mapping {

class kxtMfgProcessMap {
public:
    // Loads the user-interface name of every known process key from
    // `resourceModule` (a key whose string is missing gets an empty name).
    explicit kxtMfgProcessMap(module::ModuleHandle resourceModule);
    virtual ~kxtMfgProcessMap() = default;

    // The user-interface name of exactly `key` (case-sensitive, whole key);
    // null when the key is not in the table. Valid while the map lives.
    const std::u16string* Find(std::u16string_view key) const;

private:
    TextTable processNames_;
    module::ModuleHandle resourceModule_;
};

}  // namespace kxt::mapping
