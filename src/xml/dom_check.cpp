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

// A name that occurs twice among the names of one element's attributes, in
// document order: the later of the two (the text is parsed in place, so the
// later name lies further on); null when all differ. Up to kPairwise names,
// the common case, are compared pair by pair, first bytes first; more are
// sorted, so that an element with many attributes costs n log n.
const char* RepeatedName(std::vector<const char*>& names) {
    constexpr std::size_t kPairwise = 8;
    if (names.size() <= kPairwise) {
        for (std::size_t i = 1; i < names.size(); ++i) {
            for (std::size_t j = 0; j < i; ++j) {
                if (names[i][0] == names[j][0] && std::strcmp(names[i], names[j]) == 0) return names[i];
            }
        }
        return nullptr;
    }
    std::sort(names.begin(), names.end(), [](const char* a, const char* b) { return std::strcmp(a, b) < 0; });
    const auto twice = std::adjacent_find(names.begin(), names.end(),
                                          [](const char* a, const char* b) { return std::strcmp(a, b) == 0; });
    return twice == names.end() ? nullptr : std::max(*twice, *(twice + 1), std::less<const char*>());
}

// No two attributes of element share a name; every value is valid.
bool HasValidAttributes(pugi::xml_node element, const Buffer& buffer, std::vector<const char*>& names) {
    names.clear();
    for (pugi::xml_attribute a = element.first_attribute(); a; a = a.next_attribute()) {
        if (!IsCleanText<'<'>(a.value(), buffer, [](const char*) { return true; })) return false;
        names.push_back(a.name());
    }
    return RepeatedName(names) == nullptr;
}

bool IsValidInside(pugi::xml_node node, const Buffer& buffer, std::vector<const char*>& names) {
    switch (node.type()) {
    case pugi::node_element:
        return HasValidAttributes(node, buffer, names);
    case pugi::node_pcdata:
        return IsValidText(node.value(), buffer);
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

// Checks the nodes below an element, stopping at the first invalid one;
// the library's walk is iterative, so depth costs no stack.
class InsideChecker final : public pugi::xml_tree_walker {
public:
    InsideChecker(const Buffer& buffer, std::vector<const char*>& names) : buffer_(buffer), names_(names) {}
    bool for_each(pugi::xml_node& node) override { return IsValidInside(node, buffer_, names_); }

private:
    const Buffer& buffer_;
    std::vector<const char*>& names_;
};

}  // namespace

bool IsWellFormedTree(const pugi::xml_document& document, bool source_has_declaration, std::string_view parsed) {
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

    const Buffer buffer{parsed.data(), parsed.data() + parsed.size()};
    std::vector<const char*> names;
    InsideChecker checker(buffer, names);
    return IsValidInside(root, buffer, names) && root.traverse(checker);
}

}  // namespace kxt::xml::detail
