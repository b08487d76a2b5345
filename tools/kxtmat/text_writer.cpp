#include "text_writer.h"

#include <algorithm>

namespace kxt::cli {
namespace {

constexpr std::string_view kNone = "(none)";

bool IsNumberList(const Json& node) {
    return node.is_array() && std::ranges::all_of(node, [](const Json& item) { return item.is_number(); });
}

// Nodes written after their key on the same line.
bool IsInline(const Json& node) {
    return !node.is_structured() || node.empty() || IsNumberList(node);
}

std::string InlineText(const Json& node) {
    if (node.is_null()) return std::string(kNone);
    if (node.is_boolean()) return node.get<bool>() ? "yes" : "no";
    if (node.is_number_float()) return FormatNumber(node.get<double>());
    if (node.is_string()) return node.get<std::string>();
    if (!node.is_structured()) return node.dump();
    std::string text;
    for (const Json& item : node) {
        if (!text.empty()) text += ", ";
        text += InlineText(item);
    }
    return text.empty() ? std::string(kNone) : text;
}

void WriteBlock(std::string& out, const Json& node, std::size_t indent);

// One list item: "- " and the item, whose first line shares the dash's line.
void WriteItem(std::string& out, const Json& item, std::size_t indent) {
    if (IsInline(item)) {
        out.append(indent, ' ').append("- ").append(InlineText(item)).push_back('\n');
        return;
    }
    const std::size_t start = out.size();
    WriteBlock(out, item, indent + 2);
    out.replace(start + indent, 2, "- ");
}

void WriteBlock(std::string& out, const Json& node, std::size_t indent) {
    if (IsInline(node)) {
        out.append(indent, ' ').append(InlineText(node)).push_back('\n');
        return;
    }
    if (node.is_array()) {
        for (const Json& item : node) WriteItem(out, item, indent);
        return;
    }
    for (const auto& [key, value] : node.items()) {
        out.append(indent, ' ').append(key).push_back(':');
        if (IsInline(value)) {
            const std::string text = InlineText(value);
            if (!text.empty()) out.append(" ").append(text);
            out.push_back('\n');
        } else {
            out.push_back('\n');
            WriteBlock(out, value, indent + 2);
        }
    }
}

}  // namespace

std::string WriteText(const Json& node) {
    std::string out;
    WriteBlock(out, node, 0);
    return out;
}

}  // namespace kxt::cli
