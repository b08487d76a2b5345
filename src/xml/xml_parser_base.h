// Base of the file readers: owns one XML document, loaded completely by the
// constructor, and the conventions every reader shares for reading it.
#pragma once

#include <memory>
#include <string>

#include "xml/dom.h"

class kxtMaterialDB;

namespace kxt::xml {

class kxtXMLParserBase {
public:
    // Loads the file at path. A missing, unreadable or malformed file leaves
    // the document empty: every selection on it yields no nodes.
    // Throws std::bad_alloc when memory is exhausted.
    explicit kxtXMLParserBase(const std::u16string& path);
    // Reads a document loaded before (by ReadDocument), which other readers
    // may share; a null document reads as an empty one.
    explicit kxtXMLParserBase(std::shared_ptr<const Document> document);
    virtual ~kxtXMLParserBase();
    kxtXMLParserBase(const kxtXMLParserBase&) = delete;
    kxtXMLParserBase& operator=(const kxtXMLParserBase&) = delete;

    // Reads the document into target; 1 when the whole document was read, 0
    // when the reading stopped early.
    virtual int Parse(kxtMaterialDB* target) = 0;

    // Replaces the document with the file at path: 1 when it loaded, 0 when the
    // file is missing, unreadable or not well-formed (the document is then empty).
    int LoadDocument(const std::u16string& path);

    // The file at path, loaded as every reader loads it: an empty document
    // when it is missing, unreadable or not well-formed.
    // Throws std::bad_alloc when memory is exhausted.
    static std::shared_ptr<const Document> ReadDocument(const std::u16string& path);

    // The text of the node's first attribute; empty when the node has none
    // (a text node, an element without attributes, an empty handle).
    static std::u16string GetFirstAttributeText(const Node& node);

protected:
    // The document node, context of the top-level selections.
    Node DocumentNode() const noexcept { return document_->Root(); }
    // The document, to report findings about its nodes.
    const Document& LoadedDocument() const noexcept { return *document_; }

private:
    std::shared_ptr<const Document> document_;  // never null
};

}  // namespace kxt::xml
