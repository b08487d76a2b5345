// Writes an SVG document element by element. The output depends on nothing
// but the calls: numbers in a fixed format whatever the locale, text escaped.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kxt::cli {

// A number with at most two decimals and no trailing zeros ("12", "-3.5").
std::string SvgNumber(double value);

// utf8 with &, <, >, " and ' escaped, and the control characters that XML
// cannot hold replaced by U+FFFD; fit for element text and attribute values.
std::string EscapeXml(std::string_view utf8);

class SvgWriter {
public:
    using Attribute = std::pair<std::string_view, std::string>;
    using Attributes = std::vector<Attribute>;

    // Starts the document: the root element of that size, whose further
    // attributes apply to everything drawn.
    SvgWriter(double width, double height, const Attributes& attributes);

    // Opens an element whose children follow, up to the matching Close().
    void Open(std::string_view name, const Attributes& attributes);
    void Close();
    // A whole element: empty, or holding text (UTF-8, escaped here).
    void Element(std::string_view name, const Attributes& attributes, std::string_view text = {});
    // A whole element with one <title> child: the tooltip of what it draws.
    void Titled(std::string_view name, const Attributes& attributes, std::string_view title);

    // Closes every open element and returns the document.
    std::string Finish();

private:
    // Writes "<name" and the attributes, leaving the tag open.
    void StartTag(std::string_view name, const Attributes& attributes);
    void AppendAttribute(std::string_view name, std::string_view value);
    void Indent();

    std::string out_;
    std::vector<std::string> open_;
};

}  // namespace kxt::cli
