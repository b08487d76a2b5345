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
#include <string>
#include <string_view>
#include <vector>

#include <pugixml.hpp>

namespace kxt::xml {

class Node;
class NodeList;
class Query;

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

    bool Empty() const noexcept { return !node_; }
    explicit operator bool() const noexcept { return !Empty(); }
    bool IsElement() const noexcept { return node_.type() == pugi::node_element; }

    // nodeName: the element's or instruction's name; "#text", "#cdata-section",
    // "#comment" or "#document" for the other kinds; empty for an empty handle.
    std::u16string Name() const;
    // The name as stored (UTF-8); empty unless an element or instruction.
    std::string_view RawName() const noexcept;

    // The attribute whose name equals name exactly (case included).
    Attribute GetAttribute(std::string_view name) const noexcept;
    // The element's first attribute, in document order.
    Attribute FirstAttribute() const noexcept;
    // The text of the named attribute; empty when there is none.
    std::u16string AttributeText(std::string_view name) const;

    // The first child node of any kind.
    Node FirstChild() const noexcept { return Node(node_.first_child()); }
    // All child nodes, in document order.
    NodeList ChildNodes() const;

    // The nodes that query selects with this node as the context, in document
    // order; an empty list for an empty handle.
    NodeList SelectNodes(const Query& query) const;
    // The first of them in document order.
    Node SelectSingleNode(const Query& query) const;

    friend bool operator==(const Node& a, const Node& b) noexcept { return a.node_ == b.node_; }

private:
    friend class Document;
    friend class NodeList;
    friend class Query;
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

    struct Step {
        std::string name;       // element name; empty for "*"
        std::string attribute;  // required attribute; empty when none
        bool self = false;      // "."
    };

    void Select(pugi::xml_node context, NodeList& out, bool first_only) const;
    // Appends what steps_[step_index...] select from node; true once
    // first_only has found its node.
    bool SelectSteps(pugi::xml_node node, std::size_t step_index, std::vector<pugi::xml_node>& out,
                     bool first_only) const;
    bool CompileDirect(std::string_view expression);

    bool descendants_ = false;  // "//name": every element of the document
    std::vector<Step> steps_;
    std::unique_ptr<pugi::xpath_query> xpath_;  // when the expression is not walked directly
    bool valid_ = false;
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
    bool Load(std::string bytes);

    // Drops the content: the document becomes empty.
    void Clear() noexcept;

    bool Loaded() const noexcept { return loaded_; }

    // The document node: the context of selections such as "//classification".
    // Never empty, but without children when nothing is loaded.
    Node Root() const noexcept { return Node(doc_); }

private:
    std::string buffer_;  // the UTF-8 text that doc_ was parsed from, in place
    pugi::xml_document doc_;
    bool loaded_ = false;
};

}  // namespace kxt::xml
