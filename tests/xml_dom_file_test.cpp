// The reader base: loading files, and the helpers every reader uses.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "xml/xml_parser_base.h"

namespace kxt::xml {
namespace {

// The smallest reader: it only exposes what the base loaded.
class ProbeReader : public kxtXMLParserBase {
public:
    using kxtXMLParserBase::kxtXMLParserBase;
    int Parse(kxtMaterialDB*) override { return 1; }

    std::size_t Count(std::string_view expression) const {
        return DocumentNode().SelectNodes(Query(expression)).Length();
    }
    Node First(std::string_view expression) const { return DocumentNode().SelectSingleNode(Query(expression)); }
    using kxtXMLParserBase::AttributeText;
    using kxtXMLParserBase::WalkSelection;
};

constexpr std::string_view kValid = "<?xml version=\"1.0\"?>\n<library><classification name=\"Steel\"/></library>\n";

class XmlReaderFile : public ::testing::Test {
protected:
    test::TempDir dir_;
};

TEST_F(XmlReaderFile, ValidFileLoadsInTheConstructor) {
    dir_.Write("lib.kvxmat", kValid);
    ProbeReader reader(dir_.File("lib.kvxmat"));
    EXPECT_EQ(reader.Count("//classification"), 1u);
    EXPECT_EQ(reader.LoadDocument(dir_.File("lib.kvxmat")), 1);
}

TEST_F(XmlReaderFile, UnusableFilesLoadAsEmptyDocuments) {
    std::string garbage(4096, '\0');
    std::mt19937 random(7);
    for (char& c : garbage) c = static_cast<char>(random());
    const std::vector<std::pair<const char*, std::string>> files = {
        {"empty", ""},
        {"truncated", std::string(kValid.substr(0, kValid.size() / 2))},
        {"binary", garbage},
        {"text", "name;value\nSteel;7.85\n"},
        {"html", "<html><body><p>one<br></body></html>"},
    };
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name);
        dir_.Write(name, bytes);
        ProbeReader reader(dir_.File(name));
        EXPECT_EQ(reader.Count("//*"), 0u);
        EXPECT_EQ(reader.LoadDocument(dir_.File(name)), 0);
    }
}

TEST_F(XmlReaderFile, MissingFileConstructsAndEmptiesAnEarlierDocument) {
    dir_.Write("lib.kvxmat", kValid);
    ProbeReader reader(dir_.File("missing.kvxmat"));
    EXPECT_EQ(reader.Count("//*"), 0u);
    ASSERT_EQ(reader.LoadDocument(dir_.File("lib.kvxmat")), 1);
    EXPECT_EQ(reader.LoadDocument(dir_.File("missing.kvxmat")), 0);
    EXPECT_EQ(reader.Count("//*"), 0u);
    EXPECT_EQ(reader.LoadDocument(dir_.Path().u16string()), 0) << "a folder is not a document";
}

TEST_F(XmlReaderFile, FirstAttributeTextIsEmptyWithoutAttributes) {
    dir_.Write("p.xml",
               "<Parameter Name=\"recycled_cont\"><value amount=\"25\" unit=\"%\"/><bare/>text</Parameter>");
    ProbeReader reader(dir_.File("p.xml"));
    const Node parameter = reader.First("Parameter");
    EXPECT_EQ(kxtXMLParserBase::GetFirstAttributeText(parameter), u"recycled_cont");
    const NodeList children = parameter.ChildNodes();
    ASSERT_EQ(children.Length(), 3u);
    EXPECT_EQ(kxtXMLParserBase::GetFirstAttributeText(parameter.FirstChild()), u"25");
    EXPECT_EQ(kxtXMLParserBase::GetFirstAttributeText(children.Item(1)), u"");
    EXPECT_EQ(kxtXMLParserBase::GetFirstAttributeText(children.Item(2)), u"") << "a text node";
    EXPECT_EQ(kxtXMLParserBase::GetFirstAttributeText(Node()), u"");
}

TEST_F(XmlReaderFile, MissingAttributeReadsEmptyWhateverWasReadBefore) {
    dir_.Write("m.xml", "<c><material name=\"A\" matid=\"1\"/><material name=\"B\"/></c>");
    ProbeReader reader(dir_.File("m.xml"));
    const NodeList materials = reader.First("c").SelectNodes(Query("material"));
    EXPECT_EQ(ProbeReader::AttributeText(materials.Item(0), "matid"), u"1");
    EXPECT_EQ(ProbeReader::AttributeText(materials.Item(1), "matid"), u"");
    EXPECT_EQ(ProbeReader::AttributeText(materials.Item(1), "name"), u"B");
}

TEST_F(XmlReaderFile, WalkSelectionVisitsInOrderUntilTheVisitorStops) {
    dir_.Write("w.xml", "<c><m n=\"0\"/><m n=\"1\"/><m n=\"2\"/></c>");
    ProbeReader reader(dir_.File("w.xml"));
    const NodeList items = reader.First("c").SelectNodes(Query("m"));
    std::vector<std::u16string> seen;
    EXPECT_EQ(ProbeReader::WalkSelection(items, [&](std::size_t index, const Node& node) {
                  EXPECT_EQ(node.AttributeText("n"), std::u16string(1, static_cast<char16_t>(u'0' + index)));
                  seen.push_back(node.AttributeText("n"));
                  return true;
              }),
              1);
    EXPECT_EQ(seen.size(), 3u);
    seen.clear();
    EXPECT_EQ(ProbeReader::WalkSelection(items, [&](std::size_t, const Node& node) {
                  seen.push_back(node.AttributeText("n"));
                  return seen.size() < 2;
              }),
              0);
    EXPECT_EQ(seen, (std::vector<std::u16string>{u"0", u"1"}));
}

}  // namespace
}  // namespace kxt::xml
