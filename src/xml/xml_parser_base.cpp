#include "xml/xml_parser_base.h"

#include <optional>
#include <utility>

#include "platform/files.h"

namespace kxt::xml {

kxtXMLParserBase::kxtXMLParserBase(const std::u16string& path) { LoadDocument(path); }

kxtXMLParserBase::~kxtXMLParserBase() = default;

int kxtXMLParserBase::LoadDocument(const std::u16string& path) {
    std::optional<std::string> bytes = platform::ReadWholeFile(path);
    if (!bytes) {
        document_.Clear();
        return 0;
    }
    return document_.Load(std::move(*bytes), path) ? 1 : 0;
}

std::u16string kxtXMLParserBase::GetFirstAttributeText(const Node& node) {
    return node.FirstAttribute().Text();
}

}  // namespace kxt::xml
