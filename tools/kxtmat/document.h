// A small ordered document tree: what a command answers, before it is written
// as readable text or as JSON. Strings are stored as UTF-8 and are valid UTF-8
// by construction (they come from UTF-16 text or from ASCII literals).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kxt::cli {

class Node {
public:
    enum class Kind { kNull, kBool, kInteger, kNumber, kString, kArray, kObject };
    using Member = std::pair<std::string, Node>;

    Node() = default;  // null
    Node(bool value) : kind_(Kind::kBool), bool_(value) {}
    Node(int value) : kind_(Kind::kInteger), integer_(value) {}
    Node(std::int64_t value) : kind_(Kind::kInteger), integer_(value) {}
    Node(std::uint64_t value) : kind_(Kind::kInteger), integer_(static_cast<std::int64_t>(value)) {}
    Node(double value) : kind_(Kind::kNumber), number_(value) {}
    // REQUIRES: ascii holds ASCII text only (names of fields and enumerators).
    Node(const char* ascii) : kind_(Kind::kString), text_(ascii) {}
    Node(std::u16string_view text);
    Node(const char16_t* text) : Node(std::u16string_view(text)) {}
    Node(const std::u16string& text) : Node(std::u16string_view(text)) {}

    static Node Array() { return Node(Kind::kArray); }
    static Node Object() { return Node(Kind::kObject); }
    // An array of the given texts, in order.
    static Node Strings(const std::vector<std::u16string>& texts);
    // An array of the given numbers, in order.
    static Node Numbers(const std::vector<double>& numbers);

    Kind kind() const noexcept { return kind_; }
    bool IsContainer() const noexcept { return kind_ == Kind::kArray || kind_ == Kind::kObject; }
    bool AsBool() const noexcept { return bool_; }
    std::int64_t AsInteger() const noexcept { return integer_; }
    double AsNumber() const noexcept { return number_; }
    const std::string& AsString() const noexcept { return text_; }
    const std::vector<Node>& Items() const noexcept { return items_; }
    const std::vector<Member>& Members() const noexcept { return members_; }

    // Appends to an array; returns the appended node.
    Node& Append(Node value);
    // Adds a member to an object (keys are ASCII); returns *this for chaining,
    // moved out when *this is a temporary.
    Node& Set(std::string key, Node value) &;
    Node&& Set(std::string key, Node value) && { return std::move(Set(std::move(key), std::move(value))); }

private:
    explicit Node(Kind kind) : kind_(kind) {}

    Kind kind_ = Kind::kNull;
    bool bool_ = false;
    std::int64_t integer_ = 0;
    double number_ = 0.0;
    std::string text_;
    std::vector<Node> items_;
    std::vector<Member> members_;
};

// The shortest text that reads back as the same double ("7.85", "2147483647").
std::string FormatNumber(double value);

}  // namespace kxt::cli
