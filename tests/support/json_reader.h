// A minimal JSON reader for tests: parses a whole JSON text (RFC 8259) into a
// tree. Lookups on a missing member or index answer a shared null value, so a
// chain of lookups needs no checks and a missing field fails the assertion
// that reads it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kxt::test {

class JsonValue {
public:
    enum class Type { kNull, kBool, kNumber, kString, kArray, kObject };
    using Member = std::pair<std::string, JsonValue>;

    Type type() const noexcept { return type_; }
    bool IsNull() const noexcept { return type_ == Type::kNull; }
    // The value as its type holds it; false, 0, "" or empty for another type.
    bool AsBool() const noexcept { return type_ == Type::kBool && bool_; }
    double AsNumber() const noexcept { return type_ == Type::kNumber ? number_ : 0.0; }
    const std::string& AsString() const noexcept { return string_; }  // UTF-8
    const std::vector<JsonValue>& Items() const noexcept { return items_; }
    const std::vector<Member>& Members() const noexcept { return members_; }
    // Items of an array or members of an object; 0 otherwise.
    std::size_t size() const noexcept { return type_ == Type::kObject ? members_.size() : items_.size(); }

    // The first member of that name; the null value when absent.
    const JsonValue& operator[](std::string_view key) const;
    // The item at index; the null value when out of range.
    const JsonValue& operator[](std::size_t index) const;
    const JsonValue& operator[](int index) const { return (*this)[static_cast<std::size_t>(index)]; }
    bool Has(std::string_view key) const;

private:
    friend class JsonParser;
    Type type_ = Type::kNull;
    bool bool_ = false;
    double number_ = 0.0;
    std::string string_;
    std::vector<JsonValue> items_;
    std::vector<Member> members_;
};

// The tree of a complete JSON text; nullopt when it is malformed (error, when
// given, then says what and where), has trailing content or nests deeper than
// 512 levels.
std::optional<JsonValue> ParseJson(std::string_view text, std::string* error = nullptr);

}  // namespace kxt::test
