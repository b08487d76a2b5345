// Registry export files: "Windows Registry Editor Version 5.00" or "REGEDIT4",
// UTF-16LE with a byte-order mark or UTF-8.
#include "platform/reg_file.h"

#include <cstdint>
#include <unordered_map>
#include <unordered_set>

#include "platform/text.h"

namespace kxt::platform {
namespace {

constexpr std::u16string_view kHeaders[] = {u"Windows Registry Editor Version 5.00", u"REGEDIT4"};
constexpr std::u16string_view kCurrentUserRoots[] = {u"HKEY_CURRENT_USER", u"HKCU"};

std::u16string DecodeText(std::string_view bytes) {
    if (bytes.starts_with("\xFF\xFE")) return Utf16LeToUtf16(bytes.substr(2));
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    return Utf8ToUtf16(bytes);
}

std::u16string_view TrimBackslashes(std::u16string_view s) noexcept {
    while (!s.empty() && s.front() == u'\\') s.remove_prefix(1);
    while (!s.empty() && s.back() == u'\\') s.remove_suffix(1);
    return s;
}

// Yields the file's logical lines: trimmed, with continuation lines (a trailing
// backslash) joined, comments and blank lines left out.
class LineReader {
public:
    explicit LineReader(std::u16string_view text) : rest_(text) {}

    bool Next(std::u16string& line) {
        while (!rest_.empty()) {
            std::u16string_view raw = Trim(TakeRawLine());
            if (raw.empty() || raw.front() == u';') continue;
            line.assign(raw);
            if (raw.front() == u'[') return true;
            while (!line.empty() && line.back() == u'\\' && !rest_.empty()) {
                line.pop_back();
                line.append(Trim(TakeRawLine()));
            }
            return true;
        }
        return false;
    }

private:
    std::u16string_view TakeRawLine() {
        const std::size_t end = rest_.find(u'\n');
        const std::u16string_view raw = rest_.substr(0, end);
        rest_.remove_prefix(end == std::u16string_view::npos ? rest_.size() : end + 1);
        return raw;
    }

    std::u16string_view rest_;
};

// How a section header ("[...]") relates to the key looked for.
enum class SectionMatch { kOther, kKey, kBelowKey };

// The key below the current user's root that a section header ("[...]")
// names; nullopt for another root or a deletion ("[-...]").
std::optional<std::u16string_view> CurrentUserKey(std::u16string_view line) {
    const std::u16string_view path = Trim(line.substr(1, line.size() - 2));
    const std::size_t slash = path.find(u'\\');
    const std::u16string_view root = path.substr(0, slash);
    bool currentUser = false;
    for (const std::u16string_view name : kCurrentUserRoots) currentUser = currentUser || EqualsNoCase(root, name);
    if (!currentUser) return std::nullopt;
    return TrimBackslashes(slash == std::u16string_view::npos ? std::u16string_view() : path.substr(slash));
}

SectionMatch MatchSection(std::u16string_view line, std::u16string_view subkey) {
    const std::optional<std::u16string_view> found = CurrentUserKey(line);
    if (!found) return SectionMatch::kOther;
    const std::u16string_view key = *found;
    if (EqualsNoCase(key, subkey)) return SectionMatch::kKey;
    if (subkey.empty() || (key.size() > subkey.size() && key[subkey.size()] == u'\\' && StartsWithNoCase(key, subkey))) {
        return SectionMatch::kBelowKey;
    }
    return SectionMatch::kOther;
}

// Parses a quoted string at the start of `s` (which starts with '"'), with the
// escapes \\ and \"; advances `s` past the closing quote.
std::optional<std::u16string> ParseQuoted(std::u16string_view& s) {
    std::u16string text;
    for (std::size_t i = 1; i < s.size(); ++i) {
        const char16_t c = s[i];
        if (c == u'"') {
            s.remove_prefix(i + 1);
            return text;
        }
        if (c == u'\\' && i + 1 < s.size() && (s[i + 1] == u'\\' || s[i + 1] == u'"')) ++i;
        text.push_back(s[i]);
    }
    return std::nullopt;
}

// True when nothing but blanks or a comment follows.
bool AtEnd(std::u16string_view s) noexcept {
    s = Trim(s);
    return s.empty() || s.front() == u';';
}

// Up to `maxDigits` hex digits; advances `s` past them.
std::optional<std::uint32_t> ParseHexNumber(std::u16string_view& s, std::size_t maxDigits) {
    std::uint32_t number = 0;
    std::size_t digits = 0;
    while (digits < s.size() && HexDigitValue(s[digits]) >= 0) {
        if (++digits > maxDigits) return std::nullopt;
        number = (number << 4) | static_cast<std::uint32_t>(HexDigitValue(s[digits - 1]));
    }
    if (digits == 0) return std::nullopt;
    s.remove_prefix(digits);
    return number;
}

// A comma-separated list of bytes in hex ("01,ff, 2a"), possibly empty.
std::optional<std::vector<std::uint8_t>> ParseHexBytes(std::u16string_view s) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(s.size() / 3 + 1);
    for (;;) {
        s = Trim(s);
        if (AtEnd(s)) return bytes;
        const std::optional<std::uint32_t> byte = ParseHexNumber(s, 2);
        if (!byte) return std::nullopt;
        bytes.push_back(static_cast<std::uint8_t>(*byte));
        s = Trim(s);
        if (!s.empty() && s.front() == u',') {
            s.remove_prefix(1);
        } else if (!AtEnd(s)) {
            return std::nullopt;
        }
    }
}

std::vector<std::uint8_t> StringData(std::u16string_view text) {
    std::vector<std::uint8_t> data;
    data.reserve(2 * (text.size() + 1));
    for (const char16_t c : text) {
        data.push_back(static_cast<std::uint8_t>(c & 0xFF));
        data.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    data.push_back(0);
    data.push_back(0);
    return data;
}

// The data after '=': a value, or nullopt for a deletion ("-"); false when malformed.
bool ParseData(std::u16string_view s, std::optional<RegistryValue>& value) {
    value.reset();
    if (!s.empty() && s.front() == u'"') {
        const std::optional<std::u16string> text = ParseQuoted(s);
        if (!text || !AtEnd(s)) return false;
        value = RegistryValue{RegistryType::kString, StringData(*text)};
        return true;
    }
    if (!s.empty() && s.front() == u'-') return AtEnd(s.substr(1));
    if (StartsWithNoCase(s, u"dword:")) {
        s.remove_prefix(6);
        const std::optional<std::uint32_t> number = ParseHexNumber(s, 8);
        if (!number || !AtEnd(s)) return false;
        value = RegistryValue{RegistryType::kDword,
                              {static_cast<std::uint8_t>(*number), static_cast<std::uint8_t>(*number >> 8),
                               static_cast<std::uint8_t>(*number >> 16), static_cast<std::uint8_t>(*number >> 24)}};
        return true;
    }
    if (!StartsWithNoCase(s, u"hex")) return false;
    s.remove_prefix(3);
    RegistryType type = RegistryType::kBinary;
    if (!s.empty() && s.front() == u'(') {
        s.remove_prefix(1);
        const std::optional<std::uint32_t> number = ParseHexNumber(s, 8);
        if (!number || s.empty() || s.front() != u')') return false;
        s.remove_prefix(1);
        type = static_cast<RegistryType>(*number);
    }
    if (s.empty() || s.front() != u':') return false;
    std::optional<std::vector<std::uint8_t>> bytes = ParseHexBytes(s.substr(1));
    if (!bytes) return false;
    value = RegistryValue{type, std::move(*bytes)};
    return true;
}

// The values of a key being read, with each folded name's position. A
// deleted value leaves a hole until Take(), so that positions stay put.
class KeyValues {
public:
    // Assigns, replaces (in place) or, for a null value, deletes.
    void Apply(std::u16string name, std::optional<RegistryValue> value) {
        std::u16string folded = ToLower(name);
        const auto existing = positions_.find(folded);
        if (!value) {
            if (existing == positions_.end()) return;
            live_[existing->second] = false;
            positions_.erase(existing);
        } else if (existing != positions_.end()) {
            values_[existing->second].value = std::move(*value);
        } else {
            positions_.emplace(std::move(folded), values_.size());
            values_.push_back(RegFileValue{std::move(name), std::move(*value)});
            live_.push_back(true);
        }
    }

    // The live values in the order of their first assignment.
    std::vector<RegFileValue> Take() && {
        std::vector<RegFileValue> values;
        values.reserve(positions_.size());
        for (std::size_t i = 0; i < values_.size(); ++i) {
            if (live_[i]) values.push_back(std::move(values_[i]));
        }
        return values;
    }

private:
    std::vector<RegFileValue> values_;
    std::vector<bool> live_;
    std::unordered_map<std::u16string, std::size_t> positions_;
};

// Applies one value line ("name"=data or @=data) to `values`; a malformed line changes nothing.
void ApplyValueLine(std::u16string_view line, KeyValues& values) {
    std::u16string name;
    if (line.front() == u'@') {
        line.remove_prefix(1);
    } else if (line.front() == u'"') {
        std::optional<std::u16string> quoted = ParseQuoted(line);
        if (!quoted) return;
        name = std::move(*quoted);
    } else {
        return;
    }
    line = Trim(line);
    if (line.empty() || line.front() != u'=') return;
    std::optional<RegistryValue> value;
    if (!ParseData(Trim(line.substr(1)), value)) return;
    values.Apply(std::move(name), std::move(value));
}

// Reads the first line, which must be an export's header.
bool StartsExport(LineReader& reader, std::u16string& line) {
    if (!reader.Next(line)) return false;
    bool isExport = false;
    for (const std::u16string_view header : kHeaders) isExport = isExport || line == header;
    return isExport;
}

}  // namespace

std::optional<std::vector<RegFileValue>> ParseRegFileKey(std::string_view content, std::u16string_view subkey) {
    const std::u16string text = DecodeText(content);
    LineReader reader(text);
    std::u16string line;
    if (!StartsExport(reader, line)) return std::nullopt;

    subkey = TrimBackslashes(subkey);
    bool found = false;
    bool inKey = false;
    KeyValues values;
    while (reader.Next(line)) {
        if (line.front() == u'[') {
            if (line.back() != u']') continue;  // a broken header changes nothing
            const SectionMatch match = MatchSection(line, subkey);
            inKey = match == SectionMatch::kKey;
            found = found || match != SectionMatch::kOther;
        } else if (inKey) {
            ApplyValueLine(line, values);
        }
    }
    if (!found) return std::nullopt;
    return std::move(values).Take();
}

std::vector<std::u16string> RegFileKeys(std::string_view content) {
    const std::u16string text = DecodeText(content);
    LineReader reader(text);
    std::u16string line;
    std::vector<std::u16string> keys;
    std::unordered_set<std::u16string> folded;
    if (!StartsExport(reader, line)) return keys;
    while (reader.Next(line)) {
        if (line.front() != u'[' || line.back() != u']') continue;
        const std::optional<std::u16string_view> key = CurrentUserKey(line);
        if (key && folded.insert(ToLower(*key)).second) keys.emplace_back(*key);
    }
    return keys;
}

}  // namespace kxt::platform
