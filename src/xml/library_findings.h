// What the library reader reports while a diagnostics sink is installed:
// numbers and costs that read as nothing, repeated materials and properties,
// links that find no material. Made only when a sink is installed.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <kxtmat/kxtmat.h>

#include "xml/dom.h"

namespace kxt::xml {

class LibraryFindings {
public:
    // Materials repeat within the one document: a database filled from
    // several files (the extras library in other languages) drops whole
    // classes of the first file later.
    explicit LibraryFindings(const Document& document) : document_(document) {}

    // A material just read from element: its name or identifier repeated.
    void Material(const Node& element, const kxtMaterialBase& material);
    // Its property elements: values that read as no number, abbreviations repeated.
    void Properties(const std::vector<Node>& properties, const kxtMaterialBase& material);
    // Its cost texts, read from element (the "Financial Impact" entry, or the material).
    void Cost(const Node& element, const std::u16string& cost, const std::u16string& units,
              const kxtMaterialBase& material);
    // A link (linkId, dbName) of the element that found nothing; known: whether
    // some database of the search has the name dbName.
    void UnresolvedLink(const Node& element, const std::u16string& linkId, const std::u16string& dbName,
                        bool databaseKnown, const kxtMaterialBase& material);

private:
    struct Earlier {
        std::u16string name;
        std::uint32_t line;
    };

    void Report(const Node& element, const char* code, std::u16string message, const kxtMaterialBase& material) const;
    // Records key for material; reports when an earlier material has it.
    void CheckRepeated(std::unordered_map<std::u16string, Earlier>& seen, std::u16string key, const char* what,
                       const Node& element, const kxtMaterialBase& material);

    const Document& document_;
    std::unordered_map<std::u16string, Earlier> names_;  // by name folded to lower case
    std::unordered_map<std::u16string, Earlier> identifiers_;
};

}  // namespace kxt::xml
