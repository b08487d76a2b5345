// Registry reads that do not depend on the platform.
#include "platform/registry.h"

namespace kxt::platform {

std::optional<std::uint32_t> RegistryKey::ReadDword(const std::u16string& name) const {
    const std::optional<RegistryValue> value = ReadValue(name);
    if (!value || value->type != RegistryType::kDword || value->data.size() != 4) return std::nullopt;
    return static_cast<std::uint32_t>(value->data[0]) | static_cast<std::uint32_t>(value->data[1]) << 8 |
           static_cast<std::uint32_t>(value->data[2]) << 16 | static_cast<std::uint32_t>(value->data[3]) << 24;
}

}  // namespace kxt::platform
