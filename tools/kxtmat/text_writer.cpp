#include "text_writer.h"

#include <algorithm>

namespace kxt::cli {
namespace {

constexpr std::string_view kNone = "(none)";

bool IsEmptyContainer(const Node& node) {
    return (node.kind() == Node::Kind::kArray && node.Items().empty()) ||
           (node.kind() == Node::Kind::kObject && node.Members().empty());
}

bool IsNumberList(const Node& node) {
    return node.kind() == Node::Kind::kArray && std::ranges::all_of(node.Items(), [](const Node& item) {
               return item.kind() == Node::Kind::kNumber || item.kind() == Node::Kind::kInteger;
           });
}

// Nodes written after their key on the same line.
bool IsInline(const Node& node) {
    return !node.IsContainer() || IsEmptyContainer(node) || IsNumberList(node);
}

std::string InlineText(const Node& node) {
    switch (node.kind()) {
    case Node::Kind::kNull: return std::string(kNone);
    case Node::Kind::kBool: return node.AsBool() ? "yes" : "no";
    case Node::Kind::kInteger: return std::to_string(node.AsInteger());
    case Node::Kind::kNumber: return FormatNumber(node.AsNumber());
    case Node::Kind::kString: return node.AsString();
    case Node::Kind::kArray:
    case Node::Kind::kObject: break;
    }
    std::string text;
    for (const Node& item : node.Items()) {
        if (!text.empty()) text += ", ";
        text += InlineText(item);
    }
    return text.empty() ? std::string(kNone) : text;
}

void WriteBlock(std::string& out, const Node& node, std::size_t indent);

// One list item: "- " and the item, whose first line shares the dash's line.
void WriteItem(std::string& out, const Node& item, std::size_t indent) {
    if (IsInline(item)) {
        out.append(indent, ' ').append("- ").append(InlineText(item)).push_back('\n');
        return;
    }
    const std::size_t start = out.size();
    WriteBlock(out, item, indent + 2);
    out.replace(start + indent, 2, "- ");
}

void WriteBlock(std::string& out, const Node& node, std::size_t indent) {
    if (IsInline(node)) {
        out.append(indent, ' ').append(InlineText(node)).push_back('\n');
        return;
    }
    if (node.kind() == Node::Kind::kArray) {
        for (const Node& item : node.Items()) WriteItem(out, item, indent);
        return;
    }
    for (const auto& [key, value] : node.Members()) {
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

std::string WriteText(const Node& node) {
    std::string out;
    WriteBlock(out, node, 0);
    return out;
}

}  // namespace kxt::cli
