#include "xml/dom.h"

#include <cstring>
#include <functional>
#include <new>
#include <utility>

#include "platform/text.h"
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

bool Attribute::TextInto(std::u16string& out) const {
    detail::AssignUtf16(attr_.value(), true, out);
    return !Empty();
}

bool Attribute::TextEqualsNoCase(std::u16string_view text) const {
    // A plain ASCII byte is one code unit, unchanged: widened into a buffer on
    // the stack, the value is compared by the one comparison of the module.
    constexpr std::size_t kShort = 64;
    char16_t units[kShort];
    std::size_t length = 0;
    for (const char* p = attr_.value(); *p != '\0'; ++p, ++length) {
        const auto b = static_cast<unsigned char>(*p);
        if (b >= 0x80 || b == '&' || length == kShort) return platform::EqualsNoCase(Text(), text);
        // Whatever follows gives at least one more code unit.
        if (length == text.size()) return false;
        units[length] = b;
    }
    return platform::EqualsNoCase(std::u16string_view(units, length), text);
}

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

Attribute Node::GetAttribute(const char* name) const noexcept { return Attribute(node_.attribute(name)); }

Attribute Node::GetAttribute(const char* name, Attribute& hint) const noexcept {
    // An element's attribute names are distinct (the load checks it), so the
    // attribute found from any start is the first of its name.
    return Attribute(node_.attribute(name, hint.attr_));
}

Attribute Node::FirstAttribute() const noexcept { return Attribute(node_.first_attribute()); }

std::u16string Node::AttributeText(const char* name) const { return GetAttribute(name).Text(); }

NodeList Node::ChildNodes() const {
    NodeList list;
    for (const Node child : ChildWalk()) list.nodes_.push_back(child.node_);
    return list;
}

Children Node::ChildWalk() const noexcept { return Children(node_.first_child()); }

Selection Node::Select(const Query& query) const { return Selection(query, node_, false); }

NodeList Node::SelectNodes(const Query& query) const {
    Selection selection(query, node_, false);
    if (selection.Listed()) return std::move(selection.found_);
    NodeList list;
    for (const Node node : selection) list.nodes_.push_back(node.node_);
    return list;
}

Node Node::SelectSingleNode(const Query& query) const { return Selection(query, node_, true).First(); }

// --- Query ---

Query::Query(std::string_view expression) {
    if (CompileDirect(expression)) return;
    steps_.clear();
    kind_ = Kind::kInvalid;
    try {
        xpath_ = std::make_unique<pugi::xpath_query>(std::string(expression).c_str());
        if (*xpath_) kind_ = Kind::kXPath;
    } catch (const pugi::xpath_exception&) {
        xpath_.reset();
    }
}

Query::~Query() = default;
Query::Query(Query&&) noexcept = default;
Query& Query::operator=(Query&&) noexcept = default;

bool Query::CompileDirect(std::string_view expression) {
    bool descendants = false;
    if (expression.starts_with("//")) {
        expression.remove_prefix(2);
        if (expression.find('/') != std::string_view::npos) return false;  // keeps document order simple
        descendants = true;
    }
    for (;;) {
        const std::size_t slash = expression.find('/');
        std::string_view part = expression.substr(0, slash);
        if (part == ".") {
            if (descendants) return false;
        } else {
            Step step;
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
            steps_.push_back(std::move(step));
        }
        if (slash == std::string_view::npos) break;
        expression.remove_prefix(slash + 1);
    }
    kind_ = descendants ? Kind::kDescendants : Kind::kSteps;
    return true;
}

namespace {

// Whether node is an element that a step of name ("*": empty) and required
// attribute (none: empty) selects.
bool Matches(pugi::xml_node node, const std::string& name, const std::string& attribute) noexcept {
    if (!name.empty()) {
        // Most names that differ do so in their first byte. A node of another
        // kind has an empty name, or an instruction's: the kind is asked after.
        const char* const own = node.name();
        if (own[0] != name[0] || std::strcmp(own, name.c_str()) != 0) return false;
    }
    if (node.type() != pugi::node_element) return false;
    return attribute.empty() || node.attribute(attribute.c_str());
}

}  // namespace

pugi::xml_node Query::FirstStep(pugi::xml_node context, std::size_t& level) const noexcept {
    level = 0;
    if (steps_.empty()) return context;
    return NextStep(context, level, true);
}

pugi::xml_node Query::NextStep(pugi::xml_node node, std::size_t& level, bool descend) const noexcept {
    // Depth first: the matching children of each selected node, in order, one
    // after the other, is document order; climbing back goes through parents,
    // since every step selects children.
    const std::size_t last = steps_.size();
    for (;;) {
        const bool down = descend && level < last;
        if (!down && level == 0) return {};
        const Step& step = steps_[down ? level : level - 1];
        pugi::xml_node next = down ? node.first_child() : node.next_sibling();
        while (!Node(next).Empty() && !Matches(next, step.name, step.attribute)) next = next.next_sibling();
        if (!Node(next).Empty()) {
            node = next;
            if (down) ++level;
            if (level == last) return node;
            descend = true;
        } else if (down) {
            descend = false;
        } else {
            node = node.parent();
            --level;
            descend = false;
        }
    }
}

namespace {

// Lists the elements matching one step, in document order, through the
// library's iterative walk (any depth, no recursion).
class DescendantCollector final : public pugi::xml_tree_walker {
public:
    DescendantCollector(const std::string& name, const std::string& attribute, std::vector<pugi::xml_node>& out,
                        bool first_only)
        : name_(name), attribute_(attribute), out_(out), first_only_(first_only) {}

    bool for_each(pugi::xml_node& node) override {
        if (!Matches(node, name_, attribute_)) return true;
        out_.push_back(node);
        return !first_only_;
    }

private:
    const std::string& name_;
    const std::string& attribute_;
    std::vector<pugi::xml_node>& out_;
    bool first_only_;
};

}  // namespace

void Query::SelectDescendants(pugi::xml_node context, NodeList& out, bool first_only) const {
    DescendantCollector collector(steps_.front().name, steps_.front().attribute, out.nodes_, first_only);
    context.root().traverse(collector);
}

void Query::SelectXPath(pugi::xml_node context, NodeList& out) const {
    pugi::xpath_node_set found;
    try {
        found = xpath_->evaluate_node_set(context);
    } catch (const pugi::xpath_exception&) {
        return;  // the expression yields no node set
    }
    found.sort();
    for (const pugi::xpath_node& item : found) {
        if (item.node()) out.nodes_.push_back(item.node());
    }
}

// --- Selection ---

Selection::Selection(const Query& query, pugi::xml_node context, bool first_only)
    : query_(&query), context_(context) {
    if (Node(context).Empty()) return;
    if (query.kind_ == Query::Kind::kDescendants) query.SelectDescendants(context, found_, first_only);
    if (query.kind_ == Query::Kind::kXPath) query.SelectXPath(context, found_);
}

bool Selection::Listed() const noexcept {
    return query_->kind_ == Query::Kind::kDescendants || query_->kind_ == Query::Kind::kXPath;
}

Selection::Iterator Selection::begin() const noexcept {
    if (Node(context_).Empty() || query_->kind_ == Query::Kind::kInvalid) return end();
    if (Listed()) return Iterator(this, found_.Item(0).node_, 0);
    std::size_t level = 0;
    const pugi::xml_node first = query_->FirstStep(context_, level);
    return Iterator(this, first, level);
}

Selection::Iterator& Selection::Iterator::operator++() noexcept {
    if (selection_->Listed()) {
        node_ = selection_->found_.Item(++position_).node_;
    } else {
        node_ = selection_->query_->NextStep(node_, position_, false);
    }
    return *this;
}

// --- Document ---

Document::Document() = default;
Document::~Document() = default;

void Document::Clear() noexcept {
    doc_.reset();  // before the buffer it points into
    platform::FileBytes().swap(buffer_);
    positions_.reset();  // before the text it points into
    std::string().swap(source_);
    start_ = 0;
    loaded_ = false;
}

bool Document::Load(std::string_view bytes, std::u16string_view origin) {
    return Load(platform::FileBytes(bytes.begin(), bytes.end()), origin);
}

bool Document::Load(platform::FileBytes bytes, std::u16string_view origin) {
    Clear();
    diag::Sink* const sink = diag::CurrentSink();
    const bool reporting = sink != nullptr;
    if (reporting) {
        origin_.assign(origin);
        sink->NoteFile(origin);
    }
    std::string encoding;
    switch (detail::DecodeDocument(bytes, start_, encoding)) {
    case detail::DecodeFault::kNone:
        break;
    case detail::DecodeFault::kUnknownEncoding:
        if (reporting) {
            // The name stands in the declaration, which reads as ASCII.
            const std::string_view declaration(bytes.data(), bytes.size());
            source_.assign(declaration.substr(0, declaration.find('>')));
            const std::size_t at = source_.find(encoding, source_.find("encoding"));
            ReportFault("unknown-encoding", "the encoding '" + encoding + "' cannot be read",
                        encoding.empty() ? kNoOffset : at);
        }
        return false;
    case detail::DecodeFault::kInvalidBytes:
        if (reporting) ReportFault("not-well-formed", "bytes that are not valid " + encoding, kNoOffset);
        return false;
    }
    // The text, without the '\0' that DecodeDocument appended: handing that to
    // the parser too keeps the last character of trailing text intact.
    const std::string_view text(bytes.data() + start_, bytes.size() - start_ - 1);
    if (reporting) source_.assign(text);
    bool has_colon = false;
    if (const std::size_t bad = detail::FirstNonXmlChar(text, has_colon); bad != text.size()) {
        if (reporting) ReportFault("not-well-formed", "a character that XML does not allow", bad);
        return false;
    }
    const bool has_declaration = text.size() > 5 && text.starts_with("<?xml") &&
                                 platform::IsXmlSpace(text[5]);
    // Prefixes and xml:space need a ':'; most documents hold none, and the
    // character check's look for it spares them a look at every name.
    // White-space text is parsed only where xml:space may keep some of it.
    const bool may_preserve_space = has_colon && text.find("xml:space") != std::string_view::npos;

    buffer_ = std::move(bytes);
    const std::size_t parsed_size = buffer_.size() - start_;
    buffer_.insert(buffer_.end(), detail::kCheckReadAhead, '\0');
    const unsigned options = kParseOptions | (may_preserve_space ? pugi::parse_ws_pcdata : 0u);
    const pugi::xml_parse_result result =
        doc_.load_buffer_inplace(buffer_.data() + start_, parsed_size, options, pugi::encoding_utf8);
    if (result.status == pugi::status_out_of_memory) {
        Clear();
        throw std::bad_alloc();
    }
    detail::Fault fault;
    if (result) {
        if (may_preserve_space) detail::DropUnpreservedSpace(doc_);
        if (detail::IsWellFormedTree(doc_, has_declaration, has_colon, {buffer_.data(), buffer_.size()}, fault)) {
            loaded_ = true;
            return true;
        }
        if (reporting) ReportFault("not-well-formed", fault.reason, OffsetOf(fault.at));
    } else if (reporting) {
        ReportFault("not-well-formed", result.description(), static_cast<std::size_t>(result.offset));
    }
    Clear();
    return false;
}

std::size_t Document::OffsetOf(const char* at) const noexcept {
    const std::less_equal<const char*> before_or_at;
    const char* const begin = buffer_.data() + start_;
    if (at == nullptr || !before_or_at(begin, at) || !before_or_at(at, begin + source_.size())) return kNoOffset;
    return static_cast<std::size_t>(at - begin);
}

void Document::ReportFault(std::string_view code, std::string_view reason, std::size_t offset) const {
    diag::Finding finding;
    finding.severity = diag::Severity::kError;
    finding.code = code;
    finding.message = diag::Text(reason);
    const diag::TextPosition position = PositionAt(offset);
    finding.line = position.line;
    finding.column = position.column;
    finding.file = origin_;
    if (diag::Sink* sink = diag::CurrentSink()) sink->Report(std::move(finding));
}

diag::TextPosition Document::PositionAt(std::size_t offset) const {
    if (offset == kNoOffset || offset > source_.size()) return {};
    if (!positions_) positions_.emplace(source_);
    return positions_->At(offset);
}

diag::TextPosition Document::PositionOf(const Node& node) const {
    const pugi::xml_node n = node.node_;
    return PositionAt(n.empty() || source_.empty() ? kNoOffset : OffsetOf(detail::NodeStart(n)));
}

void Document::Report(const Node& node, diag::Finding finding, bool tentative) const {
    diag::Sink* sink = diag::CurrentSink();
    if (sink == nullptr) return;
    const diag::TextPosition position = PositionOf(node);
    finding.line = position.line;
    finding.column = position.column;
    finding.file = origin_;
    if (tentative) {
        sink->ReportTentative(std::move(finding));
    } else {
        sink->Report(std::move(finding));
    }
}

}  // namespace kxt::xml
