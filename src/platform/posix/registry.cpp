// The current user's hive on POSIX: a registry export file, read afresh at
// each opening of a key. An open key keeps the values parsed then, so that a
// run of reads costs one parse of the file rather than one per read.
#include "platform/registry.h"

#include "platform/environment.h"
#include "platform/files.h"
#include "platform/reg_file.h"
#include "platform/text.h"

namespace kxt::platform {
namespace {

// Larger files are not taken for a hive (a 1 MB value takes about 6 MB of text).
constexpr std::size_t kMaxHiveBytes = 64u << 20;

// A set and non-empty environment variable, as UTF-16.
std::optional<std::u16string> Environment(const char* name) {
    const std::optional<std::string> value = GetEnvironmentValue(name);
    if (!value || value->empty()) return std::nullopt;
    return Utf8ToUtf16(*value);
}

std::optional<std::u16string> HiveFile() {
    if (auto file = Environment("KXT_REGISTRY_FILE")) return file;
    std::optional<std::u16string> config = Environment("XDG_CONFIG_HOME");
    if (!config || config->front() != u'/') {
        config = Environment("HOME");
        if (!config) return std::nullopt;
        config = JoinPath(std::move(*config), {u".config"});
    }
    return JoinPath(std::move(*config), {u"kxterra", u"registry.reg"});
}

std::optional<std::vector<RegFileValue>> ReadKey(std::u16string_view subkey) {
    const std::optional<std::u16string> file = HiveFile();
    if (!file) return std::nullopt;
    const std::optional<std::string> content = ReadWholeFile(*file, kMaxHiveBytes);
    if (!content) return std::nullopt;
    return ParseRegFileKey(*content, subkey);
}

}  // namespace

std::u16string CurrentUserHiveName() { return HiveFile().value_or(std::u16string()); }

std::optional<RegistryKey> RegistryKey::OpenCurrentUser(const std::u16string& subkey) {
    std::optional<std::vector<RegFileValue>> values = ReadKey(subkey);
    if (!values) return std::nullopt;
    RegistryKey key(nullptr, subkey);
    key.values_ = std::move(*values);
    // The first of several names equal without regard to case answers, as a
    // walk of the values in order would.
    key.positions_.reserve(key.values_.size());
    for (std::size_t i = 0; i < key.values_.size(); ++i) key.positions_.try_emplace(ToLower(key.values_[i].name), i);
    return key;
}

RegistryKey::RegistryKey(void* handle, std::u16string subkey) noexcept : handle_(handle), subkey_(std::move(subkey)) {}
RegistryKey::RegistryKey(RegistryKey&& other) noexcept = default;
RegistryKey& RegistryKey::operator=(RegistryKey&& other) noexcept = default;
RegistryKey::~RegistryKey() = default;

std::optional<RegistryValue> RegistryKey::ReadValue(const std::u16string& name) const {
    const auto found = positions_.find(ToLower(name));
    if (found == positions_.end()) return std::nullopt;
    return values_[found->second].value;
}

std::vector<std::u16string> RegistryKey::ValueNames() const {
    std::vector<std::u16string> names;
    names.reserve(values_.size());
    for (const RegFileValue& value : values_) names.push_back(value.name);
    return names;
}

}  // namespace kxt::platform
