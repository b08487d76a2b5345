// The XML DOM that the file readers use: a loaded document, node and attribute
// handles, compiled selections. A thin layer over pugixml; the loading rules
// (encodings, well-formedness) are described in src/xml/README.md.
//
// Handles are cheap values that point into their Document and are valid while
// it lives. An empty handle answers every question with a harmless default
// (empty string, empty handle, empty list), so a chain of look-ups needs no
// checks in between.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <pugixml.hpp>

#include "diag/findings.h"
#include "diag/text_position.h"
#include "platform/files.h"

namespace kxt::xml {

class Node;
class NodeList;
class Query;
class Selection;
class Children;

// One attribute of an element.
class Attribute {
public:
    Attribute() = default;

    bool Empty() const noexcept { return !attr_; }
    explicit operator bool() const noexcept { return !Empty(); }

    // The attribute's name; empty for an empty handle.
    std::u16string Name() const;
    // The attribute's value with character and entity references resolved;
    // empty for an empty handle.
    std::u16string Text() const;
    // Text() written into out, reusing its capacity: a loop that reads many
    // values into one string allocates only when a value outgrows it.
    // Returns false (out empty) for an empty handle.
    bool TextInto(std::u16string& out) const;
    // platform::EqualsNoCase(Text(), text); a value of up to 64 ASCII bytes
    // without references is compared without a new string.
    bool TextEqualsNoCase(std::u16string_view text) const;
    // The value as stored (UTF-8, references unresolved); for the checks that
    // keep the conversion out of a loop.
    std::string_view RawText() const noexcept;

private:
    friend class Node;
    explicit Attribute(pugi::xml_attribute attr) noexcept : attr_(attr) {}
    pugi::xml_attribute attr_;
};

// One node of a document: the document itself, an element, or a text, CDATA,
// comment or processing-instruction node. White-space-only text is not kept.
class Node {
public:
    Node() = default;

    bool Empty() const noexcept { return node_.empty(); }
    explicit operator bool() const noexcept { return !Empty(); }
    bool IsElement() const noexcept { return node_.type() == pugi::node_element; }

    // nodeName: the element's or instruction's name; "#text", "#cdata-section",
    // "#comment" or "#document" for the other kinds; empty for an empty handle.
    std::u16string Name() const;
    // The name as stored (UTF-8); empty unless an element or instruction.
    std::string_view RawName() const noexcept;

    // The attribute whose name equals name exactly (case included).
    // REQUIRES: name is not null.
    Attribute GetAttribute(const char* name) const noexcept;
    // The same, searched from hint on before the attributes ahead of it;
    // hint moves to the attribute after the one found. Asked in the order in
    // which the attributes usually stand, a run of lookups compares each
    // name once. hint starts empty (from the first attribute).
    Attribute GetAttribute(const char* name, Attribute& hint) const noexcept;
    // The element's first attribute, in document order.
    Attribute FirstAttribute() const noexcept;
    // The text of the named attribute; empty when there is none.
    std::u16string AttributeText(const char* name) const;

    // The first child node of any kind.
    Node FirstChild() const noexcept { return Node(node_.first_child()); }
    // All child nodes, in document order.
    NodeList ChildNodes() const;
    // The same nodes, walked while iterated, without a list.
    Children ChildWalk() const noexcept;

    // The nodes that query selects with this node as the context, in document
    // order; an empty list for an empty handle.
    NodeList SelectNodes(const Query& query) const;
    // The first of them in document order.
    Node SelectSingleNode(const Query& query) const;
    // The same nodes, found one after the other while iterated, without a
    // list: for (const Node n : node.Select(query)). See Selection. The query
    // must outlive the loop, so a temporary one does not compile.
    Selection Select(const Query& query) const;
    Selection Select(const Query&& query) const = delete;

    friend bool operator==(const Node& a, const Node& b) noexcept { return a.node_ == b.node_; }

private:
    friend class Document;
    friend class NodeList;
    friend class Query;
    friend class Selection;
    friend class Children;
    explicit Node(pugi::xml_node node) noexcept : node_(node) {}
    pugi::xml_node node_;
};

// An ordered list of nodes (a selection or the children of a node).
class NodeList {
public:
    NodeList() = default;

    std::size_t Length() const noexcept { return nodes_.size(); }
    bool Empty() const noexcept { return nodes_.empty(); }
    // Item index; an empty handle when index is out of range.
    Node Item(std::size_t index) const noexcept {
        return index < nodes_.size() ? Node(nodes_[index]) : Node();
    }

    class Iterator {
    public:
        explicit Iterator(const pugi::xml_node* at) noexcept : at_(at) {}
        Node operator*() const noexcept { return Node(*at_); }
        Iterator& operator++() noexcept { ++at_; return *this; }
        bool operator!=(const Iterator& other) const noexcept { return at_ != other.at_; }
    private:
        const pugi::xml_node* at_;
    };
    Iterator begin() const noexcept { return Iterator(nodes_.data()); }
    Iterator end() const noexcept { return Iterator(nodes_.data() + nodes_.size()); }

private:
    friend class Node;
    friend class Query;
    friend class Selection;
    std::vector<pugi::xml_node> nodes_;
};

// A selection expression (XPath 1.0), compiled once and evaluated any number
// of times on any document. Relative paths of element names, "*", "." and
// "[@attribute]" tests ("material", "./custom", "physicalproperties/*[@displayname]")
// and "//name" are walked directly; other expressions go to the XPath engine.
// An expression that does not compile selects nothing.
class Query {
public:
    // Throws std::bad_alloc when memory is exhausted.
    explicit Query(std::string_view expression);
    ~Query();
    Query(Query&&) noexcept;
    Query& operator=(Query&&) noexcept;

private:
    friend class Node;
    friend class Selection;

    enum class Kind {
        kInvalid,      // selects nothing
        kSteps,        // steps_ from the context; no steps: the context itself
        kDescendants,  // every element of the document matching steps_[0]
        kXPath,
    };

    struct Step {
        std::string name;       // element name; empty for "*"
        std::string attribute;  // required attribute; empty when none
    };

    bool CompileDirect(std::string_view expression);
    // The first node selected from context (kSteps); level as for NextStep.
    pugi::xml_node FirstStep(pugi::xml_node context, std::size_t& level) const noexcept;
    // The node selected after node, which matched steps_[level - 1] (level 0:
    // the context). Children of node come first when descend is set.
    pugi::xml_node NextStep(pugi::xml_node node, std::size_t& level, bool descend) const noexcept;
    // Every element of context's document that matches steps_[0], in
    // document order; only the first with first_only.
    void SelectDescendants(pugi::xml_node context, NodeList& out, bool first_only) const;
    // The node set of the XPath engine in document order, attribute results dropped.
    void SelectXPath(pugi::xml_node context, NodeList& out) const;

    Kind kind_ = Kind::kInvalid;
    std::vector<Step> steps_;  // "." steps dropped: they select their context
    std::unique_ptr<pugi::xpath_query> xpath_;
};

// What a query selects from one context node, in document order. Relative
// paths are walked while iterated, without a list; "//name" and expressions
// that go to the XPath engine are listed when the Selection is made. Valid
// while its document and its query live, unchanged.
class Selection {
public:
    class Iterator {
    public:
        Node operator*() const noexcept { return Node(node_); }
        Iterator& operator++() noexcept;
        bool operator!=(const Iterator& other) const noexcept { return node_ != other.node_; }

    private:
        friend class Selection;
        Iterator(const Selection* selection, pugi::xml_node node, std::size_t position) noexcept
            : selection_(selection), node_(node), position_(position) {}
        const Selection* selection_;
        pugi::xml_node node_;    // empty at the end
        std::size_t position_;  // the step level of node_, or its index in found_
    };

    Iterator begin() const noexcept;
    Iterator end() const noexcept { return Iterator(this, {}, 0); }
    // The first selected node; an empty handle when there is none.
    Node First() const noexcept { return *begin(); }
    // How many nodes are selected (walks the selection once).
    std::size_t Count() const noexcept {
        std::size_t count = 0;
        for (Iterator it = begin(); it != end(); ++it) ++count;
        return count;
    }

private:
    friend class Node;
    // first_only: only the first node is wanted. Throws std::bad_alloc when
    // memory is exhausted (listed results only).
    Selection(const Query& query, pugi::xml_node context, bool first_only);

    bool Listed() const noexcept;

    const Query* query_;
    pugi::xml_node context_;
    NodeList found_;  // the listed results
};

// The child nodes of a node, walked while iterated.
class Children {
public:
    class Iterator {
    public:
        explicit Iterator(pugi::xml_node node) noexcept : node_(node) {}
        Node operator*() const noexcept { return Node(node_); }
        Iterator& operator++() noexcept { node_ = node_.next_sibling(); return *this; }
        bool operator!=(const Iterator& other) const noexcept { return node_ != other.node_; }
    private:
        pugi::xml_node node_;
    };
    Iterator begin() const noexcept { return Iterator(first_); }
    Iterator end() const noexcept { return Iterator({}); }

private:
    friend class Node;
    explicit Children(pugi::xml_node first) noexcept : first_(first) {}
    pugi::xml_node first_;
};

// One XML document, loaded completely from the bytes of a file.
class Document {
public:
    Document();
    ~Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    // Replaces the content with the document in bytes. Returns true when it
    // loaded; false (and an empty document) when it is not well-formed or its
    // encoding is unknown. Throws std::bad_alloc when memory is exhausted.
    // While a diagnostics sink is installed, the reason and position of the
    // first fault are reported to it as a finding about origin, and the
    // text is kept so that Report can place findings about nodes.
    bool Load(platform::FileBytes bytes, std::u16string_view origin = {});
    // The same from a string's bytes.
    bool Load(std::string_view bytes, std::u16string_view origin = {});

    // Drops the content: the document becomes empty.
    void Clear() noexcept;

    bool Loaded() const noexcept { return loaded_; }

    // The document node: the context of selections such as "//classification".
    // Never empty, but without children when nothing is loaded.
    Node Root() const noexcept { return Node(doc_); }

    // Reports finding about node to the installed sink, with this document's
    // origin as its file and node's start as its position (none when the
    // text was not kept). Does nothing when no sink is installed.
    // tentative: see diag::Sink::ReportTentative.
    void Report(const Node& node, diag::Finding finding, bool tentative = false) const;
    // The file name that findings name; set only while a sink is installed.
    const std::u16string& Origin() const noexcept { return origin_; }
    // Where node starts in the text; line 0 when the text was not kept.
    diag::TextPosition PositionOf(const Node& node) const;

private:
    static constexpr std::size_t kNoOffset = static_cast<std::size_t>(-1);
    // Reports a fault of loading at byte offset (kNoOffset: none) of the decoded text.
    void ReportFault(std::string_view code, std::string_view reason, std::size_t offset) const;
    // The offset of a place in the parsed text; kNoOffset outside it or without the kept text.
    std::size_t OffsetOf(const char* at) const noexcept;
    // The position of an offset of the kept text; none for kNoOffset.
    diag::TextPosition PositionAt(std::size_t offset) const;

    platform::FileBytes buffer_;  // the UTF-8 text that doc_ was parsed from, in place
    std::size_t start_ = 0;  // where that text begins in buffer_
    std::string source_;     // the same text before parsing; kept only while a sink is installed
    std::u16string origin_;  // the file name for findings; set only while a sink is installed
    mutable std::optional<diag::TextPositions> positions_;  // of source_, made on first use
    pugi::xml_document doc_;
    bool loaded_ = false;
};

}  // namespace kxt::xml
