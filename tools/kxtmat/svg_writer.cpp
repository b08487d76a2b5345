#include "svg_writer.h"

#include <charconv>
#include <cmath>

namespace kxt::cli {

std::string SvgNumber(double value) {
    if (!std::isfinite(value)) value = 0.0;
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
    std::string text(buffer, result.ptr);
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
    return text == "-0" ? "0" : text;
}

std::string EscapeXml(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (const char c : utf8) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        case '\t':
        case '\n':
        case '\r': out += c; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) out += "\uFFFD";
            else out += c;
        }
    }
    return out;
}

SvgWriter::SvgWriter(double width, double height, const Attributes& attributes) {
    out_ = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    StartTag("svg", {{"xmlns", "http://www.w3.org/2000/svg"},
                     {"width", SvgNumber(width)},
                     {"height", SvgNumber(height)},
                     {"viewBox", "0 0 " + SvgNumber(width) + " " + SvgNumber(height)}});
    for (const auto& [name, value] : attributes) AppendAttribute(name, value);
    out_ += ">\n";
    open_.emplace_back("svg");
}

void SvgWriter::Open(std::string_view name, const Attributes& attributes) {
    StartTag(name, attributes);
    out_ += ">\n";
    open_.emplace_back(name);
}

void SvgWriter::Close() {
    const std::string name = std::move(open_.back());
    open_.pop_back();
    Indent();
    out_ += "</" + name + ">\n";
}

void SvgWriter::Element(std::string_view name, const Attributes& attributes, std::string_view text) {
    StartTag(name, attributes);
    if (text.empty()) {
        out_ += "/>\n";
        return;
    }
    out_.append(">").append(EscapeXml(text)).append("</").append(name) += ">\n";
}

void SvgWriter::Titled(std::string_view name, const Attributes& attributes, std::string_view title) {
    StartTag(name, attributes);
    out_.append("><title>").append(EscapeXml(title)).append("</title></").append(name) += ">\n";
}

std::string SvgWriter::Finish() {
    while (!open_.empty()) Close();
    return std::move(out_);
}

void SvgWriter::StartTag(std::string_view name, const Attributes& attributes) {
    Indent();
    out_.append("<").append(name);
    for (const auto& [attribute, value] : attributes) AppendAttribute(attribute, value);
}

void SvgWriter::AppendAttribute(std::string_view name, std::string_view value) {
    out_.append(" ").append(name).append("=\"").append(EscapeXml(value)) += "\"";
}

void SvgWriter::Indent() {
    out_.append(2 * open_.size(), ' ');
}

}  // namespace kxt::cli
