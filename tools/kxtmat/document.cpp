#include "document.h"

#include <charconv>

#include "platform/text.h"

namespace kxt::cli {

Node::Node(std::u16string_view text) : kind_(Kind::kString), text_(platform::Utf16ToUtf8(text)) {}

Node Node::Strings(const std::vector<std::u16string>& texts) {
    Node array = Array();
    array.items_.reserve(texts.size());
    for (const auto& text : texts) array.items_.emplace_back(text);
    return array;
}

Node Node::Numbers(const std::vector<double>& numbers) {
    Node array = Array();
    array.items_.reserve(numbers.size());
    for (double number : numbers) array.items_.emplace_back(number);
    return array;
}

Node& Node::Append(Node value) {
    return items_.emplace_back(std::move(value));
}

Node& Node::Set(std::string key, Node value) & {
    members_.emplace_back(std::move(key), std::move(value));
    return *this;
}

std::string FormatNumber(double value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

}  // namespace kxt::cli
