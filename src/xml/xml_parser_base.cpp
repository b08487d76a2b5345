#include "xml/xml_parser_base.h"

#include <optional>
#include <utility>

#include "platform/files.h"

namespace kxt::xml {

kxtXMLParserBase::kxtXMLParserBase(const std::u16string& path) : document_(ReadDocument(path)) {}

kxtXMLParserBase::kxtXMLParserBase(std::shared_ptr<const Document> document)
    : document_(document != nullptr ? std::move(document) : std::make_shared<const Document>()) {}

kxtXMLParserBase::~kxtXMLParserBase() = default;

int kxtXMLParserBase::LoadDocument(const std::u16string& path) {
    // The old document goes first, so that the two are never held at once.
    document_ = std::make_shared<const Document>();
    document_ = ReadDocument(path);
    return document_->Loaded() ? 1 : 0;
}

std::shared_ptr<const Document> kxtXMLParserBase::ReadDocument(const std::u16string& path) {
    auto document = std::make_shared<Document>();
    if (std::optional<platform::FileBytes> bytes = platform::ReadFileBytes(path)) document->Load(std::move(*bytes), path);
    return document;
}

std::u16string kxtXMLParserBase::GetFirstAttributeText(const Node& node) {
    return node.FirstAttribute().Text();
}

}  // namespace kxt::xml
