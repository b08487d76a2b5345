#include "document.h"

#include <charconv>
#include <cmath>

namespace kxt::cli {
namespace {

void NewLine(std::string& out, int depth) {
    out.push_back('\n');
    out.append(static_cast<std::size_t>(depth) * 2, ' ');
}

void AppendString(std::string& out, const std::string& text) {
    for (char c : Json(text).dump(-1, ' ', false, Json::error_handler_t::replace)) {
        if (c == '\x7f')
            out += "\\u007f";
        else
            out.push_back(c);
    }
}

void Write(std::string& out, const Json& node, int depth) {
    if (node.is_number_float()) {
        const double value = node.get<double>();
        out += std::isfinite(value) ? FormatNumber(value) : "null";
    } else if (node.is_string()) {
        AppendString(out, node.get_ref<const std::string&>());
    } else if (!node.is_structured()) {
        out += node.dump();
    } else {
        out.push_back(node.is_object() ? '{' : '[');
        for (auto it = node.begin(); it != node.end(); ++it) {
            if (it != node.begin()) out.push_back(',');
            NewLine(out, depth + 1);
            if (node.is_object()) {
                AppendString(out, it.key());
                out += ": ";
            }
            Write(out, it.value(), depth + 1);
        }
        if (!node.empty()) NewLine(out, depth);
        out.push_back(node.is_object() ? '}' : ']');
    }
}

}  // namespace

std::string FormatNumber(double value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string WriteJson(const Json& node) {
    std::string out;
    Write(out, node, 0);
    out.push_back('\n');
    return out;
}

}  // namespace kxt::cli
