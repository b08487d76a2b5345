// The DOM adapter and the reader base: encodings, well-formedness,
// selections, handles and the loading of files.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "diag/findings.h"
#include "platform/text.h"
#include "support/temp_dir.h"
#include "xml/dom.h"
#include "xml/xml_parser_base.h"

namespace kxt::xml {
namespace {

using namespace std::string_literals;

// Whether bytes load; a failed load must leave an empty document.
bool Loads(std::string bytes) {
    Document document;
    const bool loaded = document.Load(std::move(bytes));
    EXPECT_EQ(loaded, document.Loaded());
    EXPECT_EQ(loaded, !document.Root().FirstChild().Empty()) << "a failed load must leave an empty document";
    return loaded;
}

// text in UTF-16 with the given byte order, after a byte-order mark when bom.
std::string Utf16(std::u16string_view text, bool big_endian, bool bom = true) {
    std::string out;
    for (const char16_t c : (bom ? u"\uFEFF"s : u""s) + std::u16string(text)) {
        const char high = static_cast<char>(c >> 8), low = static_cast<char>(c & 0xFF);
        out += big_endian ? std::string{high, low} : std::string{low, high};
    }
    return out;
}

std::string Declared(const char* encoding, const std::string& value) {
    return "<?xml version=\"1.0\" encoding=\""s + encoding + "\"?>\n<root><item value=\"" + value + "\"/></root>";
}

TEST(XmlDomEncoding, EveryEncodingGivesTheSameAttributeTexts) {
    const std::u16string all = u"caf\u00E9 \u20AC \u3042 \u4F60\u597D \U0001D11E";
    const std::u16string utf16 = u"<?xml version=\"1.0\" encoding=\"UTF-16\"?><root><item value=\"" + all + u"\"/></root>";
    const std::string utf8 = "<root><item value=\"caf\xC3\xA9 \xE2\x82\xAC \xE3\x81\x82 \xE4\xBD\xA0\xE5\xA5\xBD "
                             "\xF0\x9D\x84\x9E\"/></root>";
    // Each 8-bit euro sign takes three bytes in UTF-8: the converter's first buffer is outgrown.
    const struct { const char* name; std::string bytes; std::u16string expected; } cases[] = {
        {"UTF-8", utf8, all},
        {"UTF-8 with BOM", "\xEF\xBB\xBF" + utf8, all},
        {"UTF-16LE with BOM", Utf16(utf16, false), all},
        {"UTF-16BE with BOM", Utf16(utf16, true), all},
        {"UTF-16LE without BOM", Utf16(utf16, false, false), all},
        {"UTF-16BE without BOM", Utf16(utf16, true, false), all},
        {"windows-1252", Declared("windows-1252", "caf\xE9 " + std::string(60, '\x80')),
         u"caf\u00E9 " + std::u16string(60, u'\u20AC')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Document document;
        ASSERT_TRUE(document.Load(c.bytes));
        EXPECT_EQ(document.Root().SelectSingleNode(Query("//item")).AttributeText("value"), c.expected);
    }
}

// "<a n0='' n1='' ...": count attributes of distinct names.
std::string Attributes(int count) {
    std::string element = "<a";
    for (int i = 0; i < count; ++i) element += " n" + std::to_string(i) + "=''";
    return element;
}

// One case per check of the loader. A case with '@' runs with that '@'
// replaced by every number of bytes up to past a word of the fast scans.
TEST(XmlDomStrictness, EachRuleRejectsItsCaseAndKeepsItsValidNeighbour) {
    const struct { const char* rule; std::string bad, good; } cases[] = {
        {"two root elements", "<a/><b/>", "<a/><!-- note --><?tool run?>"}, {"no root element", "<!-- c -->", "<a></a>"},
        {"text beside the root", "<a/>x", "<a><![CDATA[x < & ]] y]]></a>\n \t\r\n"},
        {"repeated attribute", "<a ab='1' ac='2' ab='3'/>", "<a ab='1' ac='2' a='3' AB='4'/>"},
        {"repeated attribute among 17", Attributes(16) + " n0=''/>", Attributes(17) + "/>"},
        {"bare < in an attribute", "<a v='@<'/>", "<a v='@&lt;'/>"},
        {"undeclared entity", "<a>@&nbsp;yyyyyyyyy</a>", "<a>@&#160;&#xA0;yyyyyyyyy</a>"},
        {"]]> in text", "<a>@]]></a>", "<a>@]] ]>]</a>"}, {"-- in a comment", "<a><!--@-- --></a>", "<a><!--@- - x--></a>"},
        {"-- in a comment beside the root", "<!-- a -- b --><a/>", "<!-- a - b --><a/>"},
        {"control character", "<a>@\x01yyyyyyyyy</a>", "<a>@\x7F\xC3\xA9\t\r\nyyyyyyyyy</a>"},
        {"U+FFFE", "<a>@\xEF\xBF\xBEy</a>", "<a>@\xEF\xBF\xBDy</a>"}, {"truncated UTF-8", "<a>@\xC3</a>", "<a>@\xC3\xA9</a>"},
        {"reference to a surrogate", "<a>&#xD800;</a>", "<a>&#x10000;</a>"}, {"beyond Unicode", "<a>&#x110000;</a>", "<a>&#x10FFFF;</a>"},
        {"upper-case X in a reference", "<a>&#X41;</a>", "<a>&#x41;</a>"}, {"hex in decimal", "<a>&#6a;</a>", "<a>&#70;</a>"},
        {"reference without digits", "<a>&#x;</a>", "<a>&#x46;</a>"}, {"no ';'", "<a>&#65 </a>", "<a>&#65;</a>"},
        {"document type", "<!DOCTYPE a><a/>", "<!-- <!DOCTYPE a> --><a/>"},
        {"document type after the root", "<a/><!DOCTYPE a>", "<a/><!-- DOCTYPE -->"},
        {"undeclared element prefix", "<a><p:b/></a>", "<a xmlns:p='u'><p:b/></a>"},
        {"undeclared attribute prefix", "<a xmlns:p='u'><b q:v='1'/></a>", "<a xmlns:p='u'><b p:v='1' xml:lang='en'/></a>"},
        {"prefix out of its scope", "<a><b xmlns:p='u'/><p:c/></a>", "<a><b xmlns:p='u'><p:c/></b></a>"},
        {"prefix bound to an empty name", "<a xmlns:p=''/>", "<a xmlns=''/>"},
        {"xmlns as an element's prefix", "<xmlns:a xmlns:xmlns='u'/>", "<a xmlns:x='u'/>"},
        {"two colons in a name", "<a xmlns:p='u'><p:b:c/></a>", "<a xmlns:p='u'><p:bc/></a>"},
        {"declaration without version", "<?xml encoding=\"utf-8\"?><a/>",
         "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\"?><a/>"},
        {"declaration out of order", "<?xml version=\"1.0\" standalone=\"no\" encoding=\"utf-8\"?><a/>",
         "<?xml version=\"1.0\" standalone=\"no\"?><a/>"},
        {"standalone neither yes nor no", "<?xml version=\"1.0\" standalone=\"true\"?><a/>", "<?xml version='1.1'?><a/>"},
        {"other pseudo-attribute", "<?xml version=\"1.0\" lang=\"en\"?><a/>", "<?xml version=\"1.0\"?><a/>"},
        {"version other than 1.x", "<?xml version=\"2.0\"?><a/>", "<?xml version=\"1.10\"?><a/>"},
        {"declaration not at the start", "      <?xml version=\"1.0\"?><a/>", "<?xml\nversion=\"1.0\"?>\n<a/>"},
        {"reserved instruction target", "<a><?XML x?></a>", "<a><?xml-stylesheet href=\"s\"?></a>"},
        {"reserved target beside the root", "<?Xml x?><a/>", "<?xmlx x?><a/>"},
        {"empty encoding name", Declared("", ""), Declared("utf-8", "")},
        {"encoding name not starting with a letter", Declared("8859_1", ""), Declared("ISO-8859-1", "")},
        {"unknown encoding", Declared("x-unheard-of", ""), Declared("US-ASCII", "")},
        {"converter option in the name", Declared("UTF-8//IGNORE", ""), Declared("UTF-8", "")},
        {"wide encoding named in an 8-bit file", Declared("UTF-16", ""), Utf16(u"<?xml version=\"1.0\"?><a/>", false)},
        {"byte outside the named encoding", Declared("us-ascii", "\xE9"), Declared("us-ascii", "e")},
    };
    for (const auto& c : cases) {
        const std::size_t offsets = c.bad.find('@') == std::string::npos ? 1 : 140;
        for (std::size_t offset = 0; offset < offsets; ++offset) {
            SCOPED_TRACE(std::string(c.rule) + " after " + std::to_string(offset) + " bytes");
            const auto pad = [&](std::string text) {
                const std::size_t at = text.find('@');
                return at == std::string::npos ? text : text.replace(at, 1, offset, 'x');
            };
            EXPECT_FALSE(Loads(pad(c.bad)));
            EXPECT_TRUE(Loads(pad(c.good)));
        }
    }
}

// Collects what loads report while it is installed.
struct Findings final : diag::Sink {
    void Report(diag::Finding finding) override { all.push_back(std::move(finding)); }
    std::vector<diag::Finding> all;
};

// A load reports the first fault once, with its code, line and column
// (characters of the decoded text, lines ended by LF, CR LF or CR); a load
// without a sink reports nothing.
TEST(XmlDomFaults, TheFirstFaultIsReportedWithItsPlace) {
    const struct { const char* what; std::string bytes; const char* code; std::uint32_t line, column; } cases[] = {
        {"mismatched tag", "<a>\n  <b></c>\n</a>", "not-well-formed", 2, 8},  // at the wrong name
        {"undeclared prefix after a BOM", "\xEF\xBB\xBF<a>\n <p:b/></a>", "not-well-formed", 2, 3},
        {"the same in UTF-16", Utf16(u"<a>\n <p:b/></a>", true), "not-well-formed", 2, 3},
        {"control character after a wide one", "<a>\r\n\r caf\xC3\xA9\x01</a>", "not-well-formed", 3, 6},
        {"document type", "<!-- x -->\r<!DOCTYPE a>\n<a/>", "not-well-formed", 2, 1},
        {"repeated attribute", "<a>\n<b x='1' y='2'\n   x='3'/></a>", "not-well-formed", 3, 4},
        {"bad declaration", "<?xml version='1.0' encoding='utf-8' what='x'?><a/>", "not-well-formed", 1, 1},
        {"unknown encoding", Declared("x-unheard-of", ""), "unknown-encoding", 1, 31},
        {"bytes outside the encoding", Declared("us-ascii", "\xE9"), "not-well-formed", 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Findings findings;
        Document document;
        {
            const diag::ScopedSink installed(findings);
            EXPECT_FALSE(document.Load(c.bytes, u"f.xml"));
        }
        ASSERT_EQ(findings.all.size(), 1u);
        const diag::Finding& f = findings.all[0];
        EXPECT_EQ(std::tuple(f.file, f.code, f.line, f.column, f.severity),
                  std::tuple(std::u16string(u"f.xml"), std::string(c.code), c.line, c.column, diag::Severity::kError));
        EXPECT_FALSE(f.message.empty());
        EXPECT_FALSE(document.Load(c.bytes, u"f.xml"));
        EXPECT_EQ(findings.all.size(), 1u) << "no sink, no report";
    }
}

// White-space text is a node only inside xml:space="preserve", inherited
// until an inner element says "default"; a document without the attribute
// drops it all.
TEST(XmlDomSpace, WhiteSpaceTextStaysOnlyWherePreserved) {
    Document document;
    ASSERT_TRUE(document.Load("\n<a> <k xml:space='preserve'>\n <p><q/></p><d xml:space='default'> <q/></d></k> <q/></a>\n"));
    const Query k("//k"), p("//p"), d("//d"), a("a");
    const auto firstChildName = [&](const Query& query) { return document.Root().SelectSingleNode(query).FirstChild().Name(); };
    EXPECT_EQ(firstChildName(k), u"#text");
    EXPECT_EQ(firstChildName(p), u"q");  // no white space inside p
    EXPECT_EQ(firstChildName(d), u"q");
    EXPECT_EQ(firstChildName(a), u"k");
    ASSERT_TRUE(document.Load("<a> <p> <q/></p></a>"));
    EXPECT_EQ(document.Root().SelectSingleNode(p).FirstChild().Name(), u"q");
}

// Values are normalised as a conforming DOM reads them; TextEqualsNoCase
// answers as EqualsNoCase of the text; TextInto reuses its string.
TEST(XmlDomText, ValuesAreNormalisedAndCompareAndConvertAsTheirText) {
    Document document;
    ASSERT_TRUE(document.Load("<a v=\"1\t2\n3\r\n4&#10;5&#x9;6 &lt;&gt;&amp;&quot;&apos; &#x1D11E;\"/>"));
    EXPECT_EQ(document.Root().FirstChild().AttributeText("v"), u"1 2 3 4\n5\t6 <>&\"' \U0001D11E");
    for (std::size_t offset = 0; offset < 20; ++offset) {
        ASSERT_TRUE(document.Load("<a v='" + std::string(offset, 'x') + "&amp;&#x41;\xC3\xA9\xF0\x9D\x84\x9Eyyyyyyyyy'/>"));
        EXPECT_EQ(document.Root().FirstChild().AttributeText("v"),
                  std::u16string(offset, u'x') + u"&A\u00E9\U0001D11Eyyyyyyyyy") << offset;
    }
    ASSERT_TRUE(document.Load("<a p='Impact' c='Caf\xC3\xA9' r='R&amp;D' e=''/>"));
    const Node a = document.Root().FirstChild();
    const struct { const char* attribute; std::u16string text; bool equal; } cases[] = {
        {"p", u"iMPACT", true}, {"p", u"Impac", false}, {"p", u"Impacts", false}, {"c", u"caf\u00C9", true},
        {"c", u"cafe", false}, {"r", u"r&d", true}, {"e", u"", true}, {"missing", u"x", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(a.GetAttribute(c.attribute).TextEqualsNoCase(c.text), c.equal) << c.attribute << platform::Utf16ToUtf8(c.text);
    }
    std::u16string out = u"stale";
    ASSERT_TRUE(a.GetAttribute("r").TextInto(out));
    EXPECT_EQ(out, u"R&D");
    EXPECT_FALSE(a.GetAttribute("missing").TextInto(out));
    EXPECT_EQ(out, u"");
}

constexpr std::string_view kLibrary = R"(<library><!-- a comment -->
  <classification name="Steel">
    <material name="S1" matid="1"><physicalproperties>
        <DENS displayname="Mass density"/><NOTE value="no display name"/><EX displayname="Modulus"/>
      </physicalproperties><physicalproperties><KXX displayname="Conductivity"/></physicalproperties></material>
    <group><material name="nested"/></group><classification name="Inner"><material name="I1"/></classification>
    <material name="S2" Name="capital"/>
  </classification><classification name="Wood"/>
</library>)";

// The name attributes (else element names) of the nodes, space-separated.
std::string Labels(const std::vector<Node>& nodes) {
    std::string labels;
    for (const Node node : nodes) {
        const Attribute name = node.GetAttribute("name");
        labels += (labels.empty() ? "" : " ") + std::string(name ? name.RawText() : node.RawName());
    }
    return labels;
}

TEST(XmlDomSelection, EveryFormSelectsInDocumentOrderListedOrWalked) {
    Document document;
    ASSERT_TRUE(document.Load(std::string(kLibrary)));
    const struct { const char* context; const char* expression; const char* expected; } cases[] = {
        {"//material[@name='I1']", "//classification", "Steel Inner Wood"}, {"//classification", "material", "S1 S2"},
        {"library", "material", ""}, {"library", "Classification", ""}, {"//material", "..", "Steel"},
        {"library", "*", "Steel Wood"}, {"library", "./classification/material", "S1 S2"},
        {"library", "classification/*/material", "nested I1"},
        {"//material", "physicalproperties/*[@displayname]", "DENS EX KXX"}, {"/", "//*[@matid]", "S1"},
        {"library", "//@name", ""}, {"library", "count(//material)", ""}, {"library", "material[", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.context) + " " + c.expression);
        const Query query(c.expression);
        const Node context = std::string_view(c.context) == "/" ? document.Root()
                                                                : document.Root().SelectSingleNode(Query(c.context));
        ASSERT_FALSE(context.Empty());
        std::vector<Node> listed, walked;
        for (const Node node : context.SelectNodes(query)) listed.push_back(node);
        for (const Node node : context.Select(query)) walked.push_back(node);
        EXPECT_EQ(Labels(listed), c.expected);
        EXPECT_TRUE(walked == listed);
        EXPECT_TRUE(context.SelectSingleNode(query) == (listed.empty() ? Node() : listed.front()));
        EXPECT_TRUE(Node().SelectNodes(query).Empty() && Node().Select(query).First().Empty());
    }
}

TEST(XmlDomNodes, ChildrenKeepEveryKindButBlankTextAndEmptyHandlesAnswerDefaults) {
    Document document;
    ASSERT_TRUE(document.Load("<p>\n  <!-- c --> text <v x=\"1\" Name=\"y\"/><![CDATA[d]]><?pi z?>\n</p>"));
    const Node p = document.Root().FirstChild();
    std::vector<std::u16string> kinds;
    for (const Node child : p.ChildWalk()) kinds.push_back(child.Name());
    EXPECT_EQ(kinds, (std::vector<std::u16string>{u"#comment", u"#text", u"v", u"#cdata-section", u"pi"}));
    const Node v = p.ChildNodes().Item(2);
    EXPECT_EQ(v.AttributeText("Name") + kxtXMLParserBase::GetFirstAttributeText(v), u"y1");
    EXPECT_TRUE(v.GetAttribute("name").Empty());
    EXPECT_EQ(kxtXMLParserBase::GetFirstAttributeText(p.ChildNodes().Item(1)), u"") << "a text node";
    const Node none = p.ChildNodes().Item(5);
    EXPECT_EQ(none.Name() + none.AttributeText("name") + none.FirstAttribute().Text(), u"");
    EXPECT_TRUE(none.Empty() && none.FirstChild().FirstChild().Empty() && none.ChildNodes().Empty());
    EXPECT_FALSE(none.ChildWalk().begin() != none.ChildWalk().end());
}

// The smallest reader: it only exposes what the base loaded.
class ProbeReader : public kxtXMLParserBase {
public:
    using kxtXMLParserBase::kxtXMLParserBase;
    int Parse(kxtMaterialDB*) override { return 1; }
    Node Root() const { return DocumentNode().FirstChild(); }
};

TEST(XmlReaderBase, AFileThatDoesNotLoadLeavesAnEmptyDocument) {
    const test::TempDir dir;
    dir.Write("lib.kvxmat", "<library><classification/></library>\n");
    dir.Write("bad.kvxmat", "<library><classification/>");
    ProbeReader reader(dir.File("lib.kvxmat"));
    EXPECT_EQ(reader.Root().Name(), u"library");
    for (const std::u16string& path : {dir.File("bad.kvxmat"), dir.File("missing.kvxmat"), dir.Path().u16string()}) {
        ASSERT_EQ(reader.LoadDocument(dir.File("lib.kvxmat")), 1);
        EXPECT_EQ(reader.LoadDocument(path), 0);
        EXPECT_TRUE(reader.Root().Empty());
        EXPECT_TRUE(ProbeReader(path).Root().Empty());
    }
}

}  // namespace
}  // namespace kxt::xml
