#include "xml/dom.h"

#include <cstring>
#include <new>
#include <utility>

#include "xml/dom_check.h"
#include "xml/dom_encoding.h"
#include "xml/dom_text.h"

namespace kxt::xml {

namespace {

// What a conforming DOM shows: comments, instructions and CDATA as nodes,
// attribute values normalised, line ends as "\n". References stay as written
// so that the checks can see them; Text() resolves them. Parsed as a fragment
// so that text beside the root element is kept for the checks to reject.
constexpr unsigned kParseOptions = pugi::parse_cdata | pugi::parse_wconv_attribute | pugi::parse_eol |
                                   pugi::parse_comments | pugi::parse_pi | pugi::parse_declaration |
                                   pugi::parse_doctype | pugi::parse_fragment;

bool IsNameChar(char c) noexcept {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-' || c == '.' || c == ':' || static_cast<unsigned char>(c) >= 0x80;
}

bool IsName(std::string_view s) noexcept {
    if (s.empty() || (s[0] >= '0' && s[0] <= '9') || s[0] == '-' || s[0] == '.') return false;
    for (const char c : s) {
        if (!IsNameChar(c)) return false;
    }
    return true;
}

}  // namespace

// --- Attribute ---

std::u16string Attribute::Name() const { return detail::ToUtf16(attr_.name(), false); }

std::u16string Attribute::Text() const { return detail::ToUtf16(attr_.value(), true); }

std::string_view Attribute::RawText() const noexcept { return attr_.value(); }

// --- Node ---

std::u16string Node::Name() const {
    switch (node_.type()) {
    case pugi::node_element:
    case pugi::node_pi:
    case pugi::node_declaration:
        return detail::ToUtf16(node_.name(), false);
    case pugi::node_pcdata:
        return u"#text";
    case pugi::node_cdata:
        return u"#cdata-section";
    case pugi::node_comment:
        return u"#comment";
    case pugi::node_document:
        return u"#document";
    default:
        return {};
    }
}

std::string_view Node::RawName() const noexcept { return node_.name(); }

Attribute Node::GetAttribute(std::string_view name) const noexcept {
    for (pugi::xml_attribute a = node_.first_attribute(); a; a = a.next_attribute()) {
        const char* candidate = a.name();
        if (std::strncmp(candidate, name.data(), name.size()) == 0 && candidate[name.size()] == '\0') {
            return Attribute(a);
        }
    }
    return {};
}

Attribute Node::FirstAttribute() const noexcept { return Attribute(node_.first_attribute()); }

std::u16string Node::AttributeText(std::string_view name) const { return GetAttribute(name).Text(); }

NodeList Node::ChildNodes() const {
    NodeList list;
    for (pugi::xml_node child = node_.first_child(); child; child = child.next_sibling()) {
        list.nodes_.push_back(child);
    }
    return list;
}

NodeList Node::SelectNodes(const Query& query) const {
    NodeList list;
    if (node_) query.Select(node_, list, false);
    return list;
}

Node Node::SelectSingleNode(const Query& query) const {
    NodeList list;
    if (node_) query.Select(node_, list, true);
    return list.Item(0);
}

// --- Query ---

Query::Query(std::string_view expression) {
    if (CompileDirect(expression)) {
        valid_ = true;
        return;
    }
    steps_.clear();
    descendants_ = false;
    try {
        xpath_ = std::make_unique<pugi::xpath_query>(std::string(expression).c_str());
        valid_ = static_cast<bool>(*xpath_);
    } catch (const pugi::xpath_exception&) {
        xpath_.reset();
        valid_ = false;
    }
}

Query::~Query() = default;
Query::Query(Query&&) noexcept = default;
Query& Query::operator=(Query&&) noexcept = default;

bool Query::CompileDirect(std::string_view expression) {
    if (expression.starts_with("//")) {
        expression.remove_prefix(2);
        if (expression.find('/') != std::string_view::npos) return false;  // keeps document order simple
        descendants_ = true;
    }
    for (;;) {
        const std::size_t slash = expression.find('/');
        std::string_view part = expression.substr(0, slash);
        Step step;
        if (part == ".") {
            if (descendants_) return false;
            step.self = true;
        } else {
            if (const std::size_t open = part.find('['); open != std::string_view::npos) {
                const std::string_view predicate = part.substr(open);
                if (!predicate.starts_with("[@") || !predicate.ends_with(']')) return false;
                const std::string_view attribute = predicate.substr(2, predicate.size() - 3);
                if (!IsName(attribute)) return false;
                step.attribute = attribute;
                part = part.substr(0, open);
            }
            if (part != "*") {
                if (!IsName(part)) return false;
                step.name = part;
            }
        }
        steps_.push_back(std::move(step));
        if (slash == std::string_view::npos) return true;
        expression.remove_prefix(slash + 1);
    }
}

namespace {

bool Matches(pugi::xml_node node, const std::string& name, const std::string& attribute) noexcept {
    if (node.type() != pugi::node_element) return false;
    if (!name.empty() && std::strcmp(node.name(), name.c_str()) != 0) return false;
    return attribute.empty() || node.attribute(attribute.c_str());
}

}  // namespace

void Query::Select(pugi::xml_node context, NodeList& out, bool first_only) const {
    if (!valid_) return;
    std::vector<pugi::xml_node>& nodes = out.nodes_;
    if (xpath_) {
        pugi::xpath_node_set found;
        try {
            found = xpath_->evaluate_node_set(context);
        } catch (const pugi::xpath_exception&) {
            return;  // the expression yields no node set
        }
        found.sort();
        for (const pugi::xpath_node& item : found) {
            if (item.node()) nodes.push_back(item.node());
            if (first_only && !nodes.empty()) return;
        }
        return;
    }
    if (descendants_) {
        // Every element of the document, in document order, without recursion.
        const Step& step = steps_.front();
        const pugi::xml_node top = context.root();
        pugi::xml_node node = top.first_child();
        while (node) {
            if (Matches(node, step.name, step.attribute)) {
                nodes.push_back(node);
                if (first_only) return;
            }
            if (pugi::xml_node child = node.first_child()) {
                node = child;
                continue;
            }
            while (node && !node.next_sibling()) {
                node = node.parent();
                if (node == top) return;
            }
            if (node) node = node.next_sibling();
        }
        return;
    }
    if (steps_.size() == 1 && !steps_.front().self) {  // the common case: children of the context
        const Step& step = steps_.front();
        for (pugi::xml_node child = context.first_child(); child; child = child.next_sibling()) {
            if (!Matches(child, step.name, step.attribute)) continue;
            nodes.push_back(child);
            if (first_only) return;
        }
        return;
    }
    // Relative steps, walked depth first: the children of each selected node
    // in order, one node after the other, is the document order, and no list
    // of the nodes in between is built.
    SelectSteps(context, 0, nodes, first_only);
}

bool Query::SelectSteps(pugi::xml_node node, std::size_t step_index, std::vector<pugi::xml_node>& out,
                        bool first_only) const {
    if (step_index == steps_.size()) {
        out.push_back(node);
        return first_only;
    }
    const Step& step = steps_[step_index];
    if (step.self) return SelectSteps(node, step_index + 1, out, first_only);
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
        if (Matches(child, step.name, step.attribute) && SelectSteps(child, step_index + 1, out, first_only))
            return true;
    }
    return false;
}

// --- Document ---

Document::Document() = default;
Document::~Document() = default;

void Document::Clear() noexcept {
    doc_.reset();  // before the buffer it points into
    std::string().swap(buffer_);
    loaded_ = false;
}

bool Document::Load(std::string bytes) {
    Clear();
    std::size_t start = 0;
    if (!detail::DecodeDocument(bytes, start)) return false;
    // The text, without the '\0' that DecodeDocument appended: handing that to
    // the parser too keeps the last character of trailing text intact.
    const std::string_view text(bytes.data() + start, bytes.size() - start - 1);
    if (!detail::IsXmlText(text)) return false;
    const bool has_declaration = text.size() > 5 && text.starts_with("<?xml") &&
                                 (text[5] == ' ' || text[5] == '\t' || text[5] == '\r' || text[5] == '\n');

    buffer_ = std::move(bytes);
    const pugi::xml_parse_result result =
        doc_.load_buffer_inplace(buffer_.data() + start, buffer_.size() - start, kParseOptions, pugi::encoding_utf8);
    if (result.status == pugi::status_out_of_memory) {
        Clear();
        throw std::bad_alloc();
    }
    if (!result || !detail::IsWellFormedTree(doc_, has_declaration)) {
        Clear();
        return false;
    }
    loaded_ = true;
    return true;
}

}  // namespace kxt::xml
