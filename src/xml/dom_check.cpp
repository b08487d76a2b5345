#include "xml/dom_check.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

#include "xml/dom_text.h"

namespace kxt::xml::detail {

namespace {

// Every '&' starts a predefined entity or a character reference.
bool HasOnlyKnownReferences(std::string_view text) noexcept {
    for (std::size_t at = text.find('&'); at != std::string_view::npos; at = text.find('&', at + 1)) {
        if (ParseReference(text.substr(at)).length == 0) return false;
    }
    return true;
}

bool IsReservedTarget(std::string_view target) noexcept {
    return target.size() == 3 && (target[0] | 0x20) == 'x' && (target[1] | 0x20) == 'm' &&
           (target[2] | 0x20) == 'l';
}

// The internal subset of a document type declaration declares an entity.
// Quoted literals and comments are skipped: they may mention the keyword.
bool DeclaresEntities(std::string_view doctype) noexcept {
    for (std::size_t i = 0; i < doctype.size(); ++i) {
        const char c = doctype[i];
        if (c == '"' || c == '\'') {
            const std::size_t close = doctype.find(c, i + 1);
            if (close == std::string_view::npos) return false;
            i = close;
        } else if (c == '<' && doctype.substr(i).starts_with("<?")) {
            // A processing instruction: quotes and markup inside it mean nothing.
            const std::size_t close = doctype.find("?>", i + 2);
            if (close == std::string_view::npos) return false;
            i = close + 1;
        } else if (c == '<' && doctype.substr(i).starts_with("<!--")) {
            const std::size_t close = doctype.find("-->", i + 4);
            if (close == std::string_view::npos) return false;
            i = close + 2;
        } else if (c == '<' && doctype.substr(i).starts_with("<!ENTITY")) {
            return true;
        }
    }
    return false;
}

bool IsValidComment(std::string_view text) noexcept {
    return text.find("--") == std::string_view::npos && !text.ends_with('-');
}

bool IsValidText(std::string_view text) noexcept {
    return text.find("]]>") == std::string_view::npos && HasOnlyKnownReferences(text);
}

bool IsValidAttributeValue(std::string_view value) noexcept {
    return value.find('<') == std::string_view::npos && HasOnlyKnownReferences(value);
}

// No two attributes of element share a name; every value is valid.
bool HasValidAttributes(pugi::xml_node element, std::vector<std::string_view>& names) {
    constexpr std::size_t kPairwiseLimit = 16;
    names.clear();
    for (pugi::xml_attribute a = element.first_attribute(); a; a = a.next_attribute()) {
        if (!IsValidAttributeValue(a.value())) return false;
        const std::string_view name = a.name();
        if (names.size() < kPairwiseLimit && std::find(names.begin(), names.end(), name) != names.end()) return false;
        names.push_back(name);
    }
    if (names.size() <= kPairwiseLimit) return true;
    std::sort(names.begin(), names.end());
    return std::adjacent_find(names.begin(), names.end()) == names.end();
}

bool IsValidInside(pugi::xml_node node, std::vector<std::string_view>& names) {
    switch (node.type()) {
    case pugi::node_element:
        return HasValidAttributes(node, names);
    case pugi::node_pcdata:
        return IsValidText(node.value());
    case pugi::node_comment:
        return IsValidComment(node.value());
    case pugi::node_pi:
        return !IsReservedTarget(node.name());
    case pugi::node_cdata:
        return true;
    default:  // a declaration or a document type inside an element
        return false;
    }
}

}  // namespace

bool IsWellFormedTree(const pugi::xml_document& document, bool source_has_declaration) {
    pugi::xml_node root;
    bool seen_doctype = false;
    for (pugi::xml_node node = document.first_child(); node; node = node.next_sibling()) {
        switch (node.type()) {
        case pugi::node_element:
            if (root) return false;
            root = node;
            break;
        case pugi::node_declaration:
            if (node != document.first_child() || !source_has_declaration) return false;
            break;
        case pugi::node_doctype:
            if (root || seen_doctype || DeclaresEntities(node.value())) return false;
            seen_doctype = true;
            break;
        case pugi::node_comment:
            if (!IsValidComment(node.value())) return false;
            break;
        case pugi::node_pi:
            if (IsReservedTarget(node.name())) return false;
            break;
        default:  // text or CDATA beside the root element
            return false;
        }
    }
    if (!root) return false;

    // Pre-order walk of the root element's subtree, climbing back through parents.
    std::vector<std::string_view> names;
    pugi::xml_node node = root;
    for (;;) {
        if (!IsValidInside(node, names)) return false;
        if (pugi::xml_node child = node.first_child()) {
            node = child;
            continue;
        }
        while (node != root && !node.next_sibling()) node = node.parent();
        if (node == root) return true;
        node = node.next_sibling();
    }
}

}  // namespace kxt::xml::detail
