#include "json_writer.h"

#include <cmath>

namespace kxt::cli {
namespace {

void Indent(std::string& out, int depth) {
    out.push_back('\n');
    out.append(static_cast<std::size_t>(depth) * 2, ' ');
}

// open, the entries one per line at depth + 1, close.
template <class Entry, class WriteEntry>
void WriteContainer(std::string& out, char open, char close, const std::vector<Entry>& entries, int depth,
                    WriteEntry&& writeEntry) {
    out.push_back(open);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (i != 0) out.push_back(',');
        Indent(out, depth + 1);
        writeEntry(entries[i]);
    }
    if (!entries.empty()) Indent(out, depth);
    out.push_back(close);
}

void Write(std::string& out, const Node& node, int depth) {
    switch (node.kind()) {
    case Node::Kind::kNull:
        out += "null";
        break;
    case Node::Kind::kBool:
        out += node.AsBool() ? "true" : "false";
        break;
    case Node::Kind::kInteger:
        out += std::to_string(node.AsInteger());
        break;
    case Node::Kind::kNumber:
        out += std::isfinite(node.AsNumber()) ? FormatNumber(node.AsNumber()) : "null";
        break;
    case Node::Kind::kString:
        AppendJsonString(out, node.AsString());
        break;
    case Node::Kind::kArray:
        WriteContainer(out, '[', ']', node.Items(), depth, [&](const Node& item) { Write(out, item, depth + 1); });
        break;
    case Node::Kind::kObject:
        WriteContainer(out, '{', '}', node.Members(), depth, [&](const Node::Member& member) {
            AppendJsonString(out, member.first);
            out += ": ";
            Write(out, member.second, depth + 1);
        });
        break;
    }
}

}  // namespace

void AppendJsonString(std::string& out, std::string_view utf8) {
    static constexpr char kHex[] = "0123456789abcdef";
    out.push_back('"');
    for (char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (byte < 0x20 || byte == 0x7F) {
                out += "\\u00";
                out.push_back(kHex[byte >> 4]);
                out.push_back(kHex[byte & 0xF]);
            } else {
                out.push_back(c);  // UTF-8 multi-byte sequences pass through unchanged
            }
        }
    }
    out.push_back('"');
}

std::string WriteJson(const Node& node) {
    std::string out;
    Write(out, node, 0);
    out.push_back('\n');
    return out;
}

}  // namespace kxt::cli
