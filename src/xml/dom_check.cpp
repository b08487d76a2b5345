#include "xml/dom_check.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string_view>
#include <vector>

#include "platform/text.h"
#include "xml/dom_text.h"

namespace kxt::xml::detail {

namespace {

bool IsReferenceChar(char c) noexcept {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '#';
}

// The bytes that may be read eight at a time: those of the buffer the tree
// was parsed from. Strings outside it (the library's own empty string) are
// read byte by byte.
struct Buffer {
    const char* begin;
    const char* end;
};

// The first byte at or after p that is '\0', '&' or kSpecial; never reads
// outside buffer unless p lies outside it.
template <char kSpecial>
const char* FindStop(const char* p, const Buffer& buffer) noexcept {
    const std::less_equal<const char*> before_or_at;
    if constexpr (std::endian::native == std::endian::little) {
        if (before_or_at(buffer.begin, p) && before_or_at(p, buffer.end)) {
            while (buffer.end - p >= 8) {
                std::uint64_t w;
                std::memcpy(&w, p, sizeof w);
                const std::uint64_t flags = BytesEqual(w, '\0') | BytesEqual(w, '&') | BytesEqual(w, kSpecial);
                if (flags != 0) return p + std::countr_zero(flags) / 8;
                p += 8;
            }
        }
    }
    while (*p != '\0' && *p != '&' && *p != kSpecial) ++p;
    return p;
}

// One walk over a terminated string of the tree (without strlen): true when
// every '&' starts a predefined entity or a character reference and bad(p)
// holds at no kSpecial character.
template <char kSpecial, class Bad>
bool IsCleanText(const char* p, const Buffer& buffer, Bad bad) noexcept {
    for (;;) {
        p = FindStop<kSpecial>(p, buffer);
        if (*p == '\0') return true;
        if (*p == '&') {
            // A reference is '&', name or number characters and ';': its
            // candidate ends at the first other character, ';' included.
            const char* q = p + 1;
            while (IsReferenceChar(*q)) ++q;
            const std::size_t span = static_cast<std::size_t>(q - p) + (*q == ';' ? 1 : 0);
            if (ParseReference(std::string_view(p, span)).length == 0) return false;
            p += span;
        } else {
            if (bad(p)) return false;
            ++p;
        }
    }
}

bool IsReservedTarget(std::string_view target) noexcept {
    const auto folded = [&](std::size_t i) { return platform::FoldCase(static_cast<unsigned char>(target[i])); };
    return target.size() == 3 && folded(0) == u'x' && folded(1) == u'm' && folded(2) == u'l';
}

// No "--" inside, and no '-' at the end (before the closing "-->").
bool IsValidComment(const char* text) noexcept {
    for (const char* p = text; *p != '\0'; ++p) {
        if (p[0] == '-' && (p[1] == '-' || p[1] == '\0')) return false;
    }
    return true;
}

bool IsValidText(const char* text, const Buffer& buffer) noexcept {
    return IsCleanText<']'>(text, buffer, [](const char* p) { return p[1] == ']' && p[2] == '>'; });
}

// The pseudo-attributes of an XML declaration: version first, then
// encoding, then standalone ("yes" or "no"), nothing else.
const char* DeclarationFault(pugi::xml_node declaration) noexcept {
    pugi::xml_attribute a = declaration.first_attribute();
    if (!a || std::strcmp(a.name(), "version") != 0) return "the XML declaration must begin with its version";
    const std::string_view version = a.value();
    if (version.size() < 3 || !version.starts_with("1.") ||
        version.find_first_not_of("0123456789", 2) != std::string_view::npos)
        return "the XML declaration's version is not 1.x";
    a = a.next_attribute();
    if (a && std::strcmp(a.name(), "encoding") == 0) a = a.next_attribute();
    if (a && std::strcmp(a.name(), "standalone") == 0) {
        if (std::strcmp(a.value(), "yes") != 0 && std::strcmp(a.value(), "no") != 0)
            return "standalone in the XML declaration must be \"yes\" or \"no\"";
        a = a.next_attribute();
    }
    return a ? "the XML declaration holds something other than version, encoding and standalone, in that order"
             : nullptr;
}

bool HasColon(const char* name) noexcept {
    for (; *name != '\0'; ++name) {
        if (*name == ':') return true;
    }
    return false;
}

bool IsPrefixDeclaration(const char* name) noexcept { return std::strncmp(name, "xmlns:", 6) == 0; }

// No two attributes of element share a name; every value is valid. The
// names are sorted, so that an element with many attributes costs n log n.
// at (when not null) receives the place of the fault.
const char* AttributeFault(pugi::xml_node element, const Buffer& buffer, std::vector<const char*>& names,
                           const char** at = nullptr) {
    names.clear();
    for (pugi::xml_attribute a = element.first_attribute(); a; a = a.next_attribute()) {
        if (!IsCleanText<'<'>(a.value(), buffer, [](const char*) { return true; })) {
            if (at != nullptr) *at = a.name();
            return "an attribute value holds '<' or an '&' that starts no known reference";
        }
        names.push_back(a.name());
    }
    if (names.size() < 2) return nullptr;
    std::sort(names.begin(), names.end(), [](const char* a, const char* b) { return std::strcmp(a, b) < 0; });
    const auto twice = std::adjacent_find(names.begin(), names.end(),
                                          [](const char* a, const char* b) { return std::strcmp(a, b) == 0; });
    if (twice == names.end()) return nullptr;
    if (at != nullptr) *at = std::max(*twice, *(twice + 1), std::less<const char*>());
    return "an attribute occurs twice on one element";
}

// Why node is not valid inside the root element; null when it is. at as for AttributeFault.
const char* InsideFault(pugi::xml_node node, const Buffer& buffer, std::vector<const char*>& names,
                        const char** at = nullptr) {
    switch (node.type()) {
    case pugi::node_element:
        return AttributeFault(node, buffer, names, at);
    case pugi::node_pcdata:
        return IsValidText(node.value(), buffer) ? nullptr : "text holds \"]]>\" or an '&' that starts no known reference";
    case pugi::node_comment:
        return IsValidComment(node.value()) ? nullptr : "a comment holds \"--\"";
    case pugi::node_pi:
        return IsReservedTarget(node.name()) ? "\"xml\" is not a processing instruction's name inside the document"
                                             : nullptr;
    case pugi::node_cdata:
        return nullptr;
    default:  // a declaration or a document type inside an element
        return "a declaration inside an element";
    }
}

// Whether an element's name or one of its attributes' has a prefix.
bool HasPrefixedName(pugi::xml_node element) noexcept {
    if (HasColon(element.name())) return true;
    for (pugi::xml_attribute a = element.first_attribute(); a; a = a.next_attribute()) {
        if (HasColon(a.name())) return true;
    }
    return false;
}

// The namespace prefixes declared by the elements open at each depth.
class PrefixScope {
public:
    // Whether an element whose names hold no ':' needs Enter: only while a
    // declaration is in scope, to close it at the right depth.
    bool Open() const noexcept { return !declared_.empty(); }

    // Checks element (at depth, the root at -1) against the prefixes in scope
    // after adding its own declarations; null when every name is bound.
    const char* Enter(pugi::xml_node element, int depth, const char*& at) {
        while (!declared_.empty() && declared_.back().depth >= depth) declared_.pop_back();
        for (pugi::xml_attribute a = element.first_attribute(); a; a = a.next_attribute()) {
            if (!IsPrefixDeclaration(a.name())) continue;
            if (*a.value() == '\0') {
                at = a.name();
                return "a namespace prefix is bound to an empty name";
            }
            declared_.push_back({depth, std::string_view(a.name()).substr(6)});
        }
        at = element.name();
        if (const char* fault = NameFault(element.name(), true)) return fault;
        for (pugi::xml_attribute a = element.first_attribute(); a; a = a.next_attribute()) {
            at = a.name();
            if (const char* fault = NameFault(a.name(), false)) return fault;
        }
        return nullptr;
    }

private:
    struct Declared {
        int depth;
        std::string_view prefix;
    };

    const char* NameFault(std::string_view name, bool element) const {
        const std::size_t colon = name.find(':');
        if (colon == std::string_view::npos) return nullptr;
        if (colon == 0 || colon + 1 == name.size() || name.find(':', colon + 1) != std::string_view::npos)
            return "a name has an empty prefix or part, or more than one ':'";
        const std::string_view prefix = name.substr(0, colon);
        if (prefix == "xmlns") return element ? "an element name has the prefix xmlns" : nullptr;
        if (prefix == "xml") return nullptr;
        for (auto it = declared_.rbegin(); it != declared_.rend(); ++it) {
            if (it->prefix == prefix) return nullptr;
        }
        return "a name has a prefix that no xmlns declaration in scope binds";
    }

    std::vector<Declared> declared_;
};

// Checks the nodes below an element, stopping at the first invalid one;
// the library's walk is iterative, so depth costs no stack. kPrefixes: the
// text holds a ':', so names may have prefixes to check.
template <bool kPrefixes>
class InsideChecker final : public pugi::xml_tree_walker {
public:
    InsideChecker(const Buffer& buffer, std::vector<const char*>& names, PrefixScope& prefixes, Fault& fault)
        : buffer_(buffer), names_(names), prefixes_(prefixes), fault_(fault) {}

    bool for_each(pugi::xml_node& node) override {
        if (const char* reason = InsideFault(node, buffer_, names_)) return Fail(node, reason);
        if constexpr (kPrefixes) {
            if (node.type() == pugi::node_element && (prefixes_.Open() || HasPrefixedName(node))) {
                const char* at = nullptr;
                if (const char* reason = prefixes_.Enter(node, depth(), at)) {
                    fault_ = Fault{reason, at};
                    return false;
                }
            }
        }
        return true;
    }

private:
    // Records InsideFault's reason with its place; false, to end the walk.
    bool Fail(pugi::xml_node node, const char* reason) {
        const char* at = nullptr;
        InsideFault(node, buffer_, names_, &at);
        fault_ = Fault{reason, at != nullptr ? at : NodeStart(node)};
        return false;
    }

    const Buffer& buffer_;
    std::vector<const char*>& names_;
    PrefixScope& prefixes_;
    Fault& fault_;
};

bool IsAllSpace(const char* text) noexcept {
    for (; *text != '\0'; ++text) {
        if (!platform::IsXmlSpace(static_cast<unsigned char>(*text))) return false;
    }
    return true;
}

// Whether an element keeps its white space, given what its parent does.
bool PreservesSpace(pugi::xml_node element, bool inherited) noexcept {
    const pugi::xml_attribute space = element.attribute("xml:space");
    if (std::strcmp(space.value(), "preserve") == 0) return true;
    if (std::strcmp(space.value(), "default") == 0) return false;
    return inherited;
}

}  // namespace

bool IsWellFormedTree(const pugi::xml_document& document, bool source_has_declaration, bool may_have_prefixes,
                      std::string_view parsed, Fault& fault) {
    const auto fail = [&](const char* reason, const char* at) {
        fault = Fault{reason, at};
        return false;
    };
    pugi::xml_node root;
    for (pugi::xml_node node = document.first_child(); node; node = node.next_sibling()) {
        const char* const at = NodeStart(node);
        switch (node.type()) {
        case pugi::node_element:
            if (root) return fail("a second root element", at);
            root = node;
            break;
        case pugi::node_declaration:
            if (node != document.first_child() || !source_has_declaration)
                return fail("an XML declaration that is not at the very start", at);
            if (const char* reason = DeclarationFault(node)) return fail(reason, at);
            break;
        case pugi::node_doctype:
            return fail("a document type declaration (DOCTYPE) is not allowed", at);
        case pugi::node_comment:
            if (!IsValidComment(node.value())) return fail("a comment holds \"--\"", at);
            break;
        case pugi::node_pi:
            if (IsReservedTarget(node.name())) return fail("\"xml\" is not a processing instruction's name here", at);
            break;
        default:
            return fail("text outside the root element", at);
        }
    }
    if (!root) return fail("no root element", nullptr);

    const Buffer buffer{parsed.data(), parsed.data() + parsed.size()};
    std::vector<const char*> names;
    PrefixScope prefixes;
    const char* at = nullptr;
    const char* reason = InsideFault(root, buffer, names, &at);
    if (reason == nullptr && may_have_prefixes && HasPrefixedName(root)) reason = prefixes.Enter(root, -1, at);
    if (reason != nullptr) return fail(reason, at != nullptr ? at : NodeStart(root));
    if (!may_have_prefixes) {
        InsideChecker<false> checker(buffer, names, prefixes, fault);
        return root.traverse(checker);
    }
    InsideChecker<true> checker(buffer, names, prefixes, fault);
    return root.traverse(checker);
}

const char* NodeStart(pugi::xml_node node) noexcept {
    constexpr std::ptrdiff_t kCdataOpen = 9;    // "<![CDATA["
    constexpr std::ptrdiff_t kCommentOpen = 4;  // "<!--"
    constexpr int kDoctypeReach = 64;           // "<!DOCTYPE" and the white space after it
    switch (node.type()) {
    case pugi::node_element:
        return node.name() - 1;
    case pugi::node_cdata:
        return node.value() - kCdataOpen;
    case pugi::node_comment:
        return node.value() - kCommentOpen;
    case pugi::node_pi:
    case pugi::node_declaration:
        return node.name() - 2;
    case pugi::node_doctype: {
        const char* p = node.value();
        for (int i = 0; i < kDoctypeReach && *p != '<'; ++i) --p;
        return *p == '<' ? p : node.value();
    }
    default:
        return node.value();
    }
}

void DropUnpreservedSpace(pugi::xml_node document) {
    std::vector<bool> preserve{false};  // for the children of each open element
    pugi::xml_node parent = document;
    pugi::xml_node node = document.first_child();
    for (;;) {
        if (!node) {
            if (parent == document) return;
            node = parent.next_sibling();
            parent = parent.parent();
            preserve.pop_back();
            continue;
        }
        const pugi::xml_node next = node.next_sibling();
        if (node.type() == pugi::node_pcdata && !preserve.back() && IsAllSpace(node.value())) {
            parent.remove_child(node);
        } else if (node.type() == pugi::node_element && node.first_child()) {
            preserve.push_back(PreservesSpace(node, preserve.back()));
            parent = node;
            node = node.first_child();
            continue;
        }
        node = next;
    }
}

}  // namespace kxt::xml::detail
