// The DOM adapter: encodings, well-formedness, selections and handles.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text.h"
#include "xml/dom.h"

namespace kxt::xml {
namespace {

using namespace std::string_literals;

// Loads bytes and returns whether the document came out non-empty.
bool Loads(std::string bytes) {
    Document document;
    const bool loaded = document.Load(std::move(bytes));
    EXPECT_EQ(loaded, document.Loaded());
    EXPECT_EQ(loaded, !document.Root().FirstChild().Empty()) << "a failed load must leave an empty document";
    return loaded;
}

std::u16string FirstItemText(const std::string& bytes, std::string_view attribute) {
    Document document;
    if (!document.Load(bytes)) return u"<not loaded>";
    return document.Root().SelectSingleNode(Query("//item")).AttributeText(attribute);
}

// text in UTF-16 with the given byte order, after a byte-order mark when bom.
std::string Utf16Bytes(std::u16string_view text, bool big_endian, bool bom = true) {
    std::string out;
    auto put = [&](char16_t c) {
        const char high = static_cast<char>(c >> 8), low = static_cast<char>(c & 0xFF);
        out += big_endian ? std::string{high, low} : std::string{low, high};
    };
    if (bom) put(u'\xFEFF');
    for (const char16_t c : text) put(c);
    return out;
}

// --- Encodings ---

struct EncodedCase {
    const char* name;
    std::string bytes;
    std::u16string expected;
};

TEST(XmlDomEncoding, EveryEncodingGivesTheSameAttributeTexts) {
    const std::u16string all = u"caf\u00E9 \u20AC \u3042 \u4F60\u597D \U0001D11E";
    const std::u16string utf16_doc =
        u"<?xml version=\"1.0\" encoding=\"UTF-16\"?><root><item name=\"n\" value=\"" + all + u"\"/></root>";
    const std::string utf8_doc = "<root><item name=\"n\" value=\"caf\xC3\xA9 \xE2\x82\xAC \xE3\x81\x82 "
                                 "\xE4\xBD\xA0\xE5\xA5\xBD \xF0\x9D\x84\x9E\"/></root>";
    auto declared = [](const char* encoding, const std::string& value) {
        return "<?xml version=\"1.0\" encoding=\""s + encoding + "\"?>\n<root><item name=\"n\" value=\"" + value +
               "\"/></root>";
    };
    const std::vector<EncodedCase> cases = {
        {"UTF-8", utf8_doc, all},
        {"UTF-8 with BOM", "\xEF\xBB\xBF" + utf8_doc, all},
        {"UTF-8 declared", declared("utf-8", "caf\xC3\xA9"), u"caf\u00E9"},
        {"UTF-16LE with BOM", Utf16Bytes(utf16_doc, false), all},
        {"UTF-16BE with BOM", Utf16Bytes(utf16_doc, true), all},
        {"UTF-16LE without BOM", Utf16Bytes(utf16_doc, false, false), all},
        {"Latin-1", declared("ISO-8859-1", "caf\xE9 \x80"), u"caf\u00E9 \u0080"},
        {"windows-1252", declared("windows-1252", "caf\xE9 \x80"), u"caf\u00E9 \u20AC"},
        {"iso-8859-15", declared("iso-8859-15", "caf\xE9 \xA4"), u"caf\u00E9 \u20AC"},
        {"shift_jis", declared("shift_jis", "\x82\xA0"), u"\u3042"},
        {"gb2312", declared("gb2312", "\xC4\xE3\xBA\xC3"), u"\u4F60\u597D"},
    };
    for (const EncodedCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FirstItemText(c.bytes, "value"), c.expected);
        EXPECT_EQ(FirstItemText(c.bytes, "name"), u"n");
    }
}

TEST(XmlDomEncoding, UnknownOrUnusableEncodingLoadsAsEmpty) {
    EXPECT_FALSE(Loads("<?xml version=\"1.0\" encoding=\"x-unheard-of\"?><a/>"));
    EXPECT_FALSE(Loads("<?xml version=\"1.0\" encoding=\"UTF-8//IGNORE\"?><a/>"));
    // A wide encoding named in a file of single bytes.
    EXPECT_FALSE(Loads("<?xml version=\"1.0\" encoding=\"UTF-16\"?><a/>"));
    // Bytes that are not valid in the named encoding.
    EXPECT_FALSE(Loads("<?xml version=\"1.0\" encoding=\"us-ascii\"?><a v=\"\xE9\"/>"));
    EXPECT_FALSE(Loads("<?xml version=\"1.0\" encoding=\"shift_jis\"?><a v=\"\x82\"/>"));
    // Latin-1 bytes in a file that declares nothing are invalid UTF-8.
    EXPECT_FALSE(Loads("<a v=\"caf\xE9\"/>"));
    EXPECT_TRUE(Loads("<?xml version=\"1.0\" encoding=\"US-ASCII\"?><a/>"));
}

TEST(XmlDomEncoding, InvalidSequencesInUtf16AreNotWellFormed) {
    EXPECT_FALSE(Loads(Utf16Bytes(u"<a v=\"\xD800\"/>", false)));
    EXPECT_FALSE(Loads(Utf16Bytes(u"<a v=\"\xDC00x\"/>", true)));
    std::string truncated = Utf16Bytes(u"<a/>", false);
    truncated += 'x';  // half a code unit
    EXPECT_FALSE(Loads(truncated));
    EXPECT_TRUE(Loads(Utf16Bytes(u"<a v=\"\xD834\xDD1E\"/>", false)));
}

// --- Well-formedness ---

struct StrictCase {
    const char* rule;
    std::string bad;
    std::string good;  // the nearest document that must still load
};

TEST(XmlDomStrictness, EachRuleRejectsItsCaseAndKeepsItsValidNeighbour) {
    const std::vector<StrictCase> cases = {
        {"two root elements", "<a/><b/>", "<a/><!-- note --><?tool run?>"},
        {"text after the root", "<a/>x", "<a/>\n \t\r\n"},
        {"text before the root", "x<a/>", " \n<a/>"},
        {"CDATA beside the root", "<a/><![CDATA[x]]>", "<a><![CDATA[x < & y]]></a>"},
        {"no root element", "<!-- only a comment -->", "<a></a>"},
        {"repeated attribute", "<a x=\"1\" x=\"2\"/>", "<a x=\"1\" X=\"2\"/>"},
        {"repeated attribute among many",
         "<a a1='' a2='' a3='' a4='' a5='' a6='' a7='' a8='' a9='' a10='' a11='' a12='' a13='' a14='' a15='' "
         "a16='' a17='' a18='' a19='' a20='' a3=''/>",
         "<a a1='' a2='' a3='' a4='' a5='' a6='' a7='' a8='' a9='' a10='' a11='' a12='' a13='' a14='' a15='' "
         "a16='' a17='' a18='' a19='' a20='' a21=''/>"},
        {"bare & in text", "<a>fish & chips</a>", "<a>fish &amp; chips</a>"},
        {"bare & in attribute", "<a v=\"R&D\"/>", "<a v=\"R&amp;D\"/>"},
        {"bare < in attribute", "<a v=\"1<2\"/>", "<a v=\"1&lt;2 &gt; 0\"/>"},
        {"bare < in text", "<a>1 < 2</a>", "<a>2 > 1</a>"},
        {"]]> in text", "<a>x]]>y</a>", "<a>x]]&gt;y</a>"},
        {"undeclared entity", "<a>&nbsp;</a>", "<a>&#160;&#xA0;&quot;&apos;</a>"},
        {"unterminated reference", "<a v=\"&amp\"/>", "<a v=\"&amp;\"/>"},
        {"reference to NUL", "<a v=\"&#0;\"/>", "<a v=\"&#9;&#10;&#13;\"/>"},
        {"reference to a control character", "<a>&#x1F;</a>", "<a>&#x20;</a>"},
        {"reference to U+FFFE", "<a>&#xFFFE;</a>", "<a>&#xFFFD;</a>"},
        {"reference to a surrogate", "<a>&#xD800;</a>", "<a>&#x10000;</a>"},
        {"reference beyond Unicode", "<a>&#x110000;</a>", "<a>&#x10FFFF;</a>"},
        {"upper-case X in a reference", "<a>&#X41;</a>", "<a>&#x41;</a>"},
        {"control character", "<a>\x01</a>", "<a>\t\n\r</a>"},
        {"NUL byte", "<a>x\0y</a>"s, "<a>xy</a>"},
        {"U+FFFF", "<a>\xEF\xBF\xBF</a>", "<a>\xEF\xBF\xBD</a>"},
        {"invalid UTF-8", "<a v=\"\xC3\x28\"/>", "<a v=\"\xC3\xA9\"/>"},
        {"overlong UTF-8", "<a v=\"\xC0\xAF\"/>", "<a v=\"/\"/>"},
        {"UTF-8 surrogate", "<a v=\"\xED\xA0\x80\"/>", "<a v=\"\xED\x9F\xBF\"/>"},
        {"truncated UTF-8 sequence", "<a v=\"\xE2\x82\"/>", "<a v=\"\xE2\x82\xAC\"/>"},
        {"entity declaration", "<!DOCTYPE a [<!ENTITY e \"x\">]><a/>",
         "<!DOCTYPE a [<!ELEMENT a EMPTY><!-- no <!ENTITY here --><!ATTLIST a v CDATA \"<!ENTITY\">]><a/>"},
        {"entity declaration after a quoting instruction", "<!DOCTYPE a [<?pi it's?><!ENTITY e \"x\">]><a/>",
         "<!DOCTYPE a [<?pi <!ENTITY ?>]><a/>"},
        {"empty encoding name", "<?xml version=\"1.0\" encoding=\"\"?><a/>",
         "<?xml version=\"1.0\" encoding=\"utf-8\"?><a/>"},
        {"document type after the root", "<a/><!DOCTYPE a>", "<!DOCTYPE a SYSTEM \"a.dtd\"><a/>"},
        {"declaration not at the start", " <?xml version=\"1.0\"?><a/>", "<?xml version=\"1.0\"?>\n<a/>"},
        {"reserved instruction target", "<a><?XML x?></a>", "<a><?xml-stylesheet href=\"s\"?></a>"},
        {"double hyphen in a comment", "<a><!-- x -- y --></a>", "<a><!-- x - y --></a>"},
        {"mismatched end tag", "<a><b></a></b>", "<a><b></b></a>"},
        {"unclosed element", "<a><b/>", "<a><b/></a>"},
        {"unquoted attribute", "<a v=1/>", "<a v='1'/>"},
    };
    for (const StrictCase& c : cases) {
        SCOPED_TRACE(c.rule);
        EXPECT_FALSE(Loads(c.bad));
        EXPECT_TRUE(Loads(c.good));
    }
}

// The checks read values and texts in words of eight bytes: a fault must be
// found at every offset in a word and across words, up to the document's end.
TEST(XmlDomStrictness, FaultsAreFoundAtEveryOffsetOfAValueOrText) {
    const std::vector<std::pair<std::string, std::string>> faults = {
        {"<", "&lt;"}, {"&", "&amp;"}, {"&nbsp;", "&#160;"}, {"&#65", "&#65;"}};
    for (const auto& [bad, good] : faults) {
        for (std::size_t offset = 0; offset < 20; ++offset) {
            SCOPED_TRACE(bad + " after " + std::to_string(offset) + " bytes");
            const std::string before(offset, 'x'), after(20 - offset, 'y');
            auto in_value = [&](const std::string& s) { return "<a><b v='" + before + s + after + "'/></a>"; };
            // The last value of the document ends a few bytes before its end.
            auto last_value = [&](const std::string& s) { return "<a v='" + before + s + "'/>"; };
            EXPECT_FALSE(Loads(in_value(bad)));
            EXPECT_FALSE(Loads(last_value(bad)));
            EXPECT_TRUE(Loads(in_value(good)));
            EXPECT_TRUE(Loads(last_value(good)));
            if (bad != "<") {
                EXPECT_FALSE(Loads("<a>" + before + bad + after + "</a>"));
                EXPECT_TRUE(Loads("<a>" + before + good + after + "</a>"));
            }
        }
    }
    for (std::size_t offset = 0; offset < 20; ++offset) {
        SCOPED_TRACE(offset);
        const std::string pad(offset, 'x');
        EXPECT_FALSE(Loads("<a>" + pad + "]]>" + "</a>"));
        EXPECT_TRUE(Loads("<a>" + pad + "]] ]>]" + "</a>"));
        EXPECT_FALSE(Loads("<a><!--" + pad + "-- --></a>"));
        EXPECT_FALSE(Loads("<a><!--" + pad + "---></a>"));
        EXPECT_TRUE(Loads("<a><!--" + pad + "- - x--></a>"));
    }
    // Characters XML forbids, at every offset of the blocks of the text check.
    const std::string text(150, 'z');
    for (std::size_t offset = 0; offset < text.size(); ++offset) {
        SCOPED_TRACE(offset);
        for (const std::string& bad : {"\x01"s, "\x0B"s, "\xEF\xBF\xBE"s, "\xC3"s, "\xFF"s}) {
            EXPECT_FALSE(Loads("<a>" + text.substr(0, offset) + bad + text.substr(offset) + "</a>"));
        }
        EXPECT_TRUE(Loads("<a>" + text.substr(0, offset) + "\x7F\xC3\xA9\t\r\n" + text.substr(offset) + "</a>"));
    }
}

TEST(XmlDomStrictness, RepeatedAttributesAreFoundAmongFewAndMany) {
    EXPECT_FALSE(Loads("<a x='1' x='2'/>"));
    EXPECT_FALSE(Loads("<a><b ab='1' ac='2' ab='3'/></a>"));
    EXPECT_TRUE(Loads("<a><b ab='1' ac='2' a='3' b='4'/></a>"));
    for (const int count : {16, 17, 40}) {
        SCOPED_TRACE(count);
        std::string many = "<a";
        for (int i = 0; i < count; ++i) many += " n" + std::to_string(i) + "=''";
        EXPECT_TRUE(Loads(many + "/>"));
        EXPECT_FALSE(Loads(many + " n0=''/>"));
        EXPECT_FALSE(Loads(many + " n" + std::to_string(count - 1) + "=''/>"));
    }
}

TEST(XmlDomStrictness, EntityExpansionAttacksLoadAsEmpty) {
    std::string laughs = "<?xml version=\"1.0\"?><!DOCTYPE lolz [<!ENTITY lol \"lol\">";
    for (int i = 1; i < 10; ++i) {
        laughs += "<!ENTITY lol" + std::to_string(i) + " \"";
        for (int j = 0; j < 10; ++j) laughs += "&lol" + (i == 1 ? ""s : std::to_string(i - 1)) + ";";
        laughs += "\">";
    }
    laughs += "]><lolz>&lol9;</lolz>";
    EXPECT_FALSE(Loads(laughs));
    EXPECT_FALSE(Loads("<!DOCTYPE a [<!ENTITY % p SYSTEM \"http://localhost/p.dtd\"> %p;]><a/>"));
}

TEST(XmlDomStrictness, ValuesReadAsAConformingDomNormalisesThem) {
    Document document;
    ASSERT_TRUE(document.Load("<a v=\"1\t2\n3\r\n4&#10;5&#x9;6 &lt;&gt;&amp;&quot;&apos; &#x1D11E;\"/>"));
    EXPECT_EQ(document.Root().FirstChild().AttributeText("v"), u"1 2 3 4\n5\t6 <>&\"' \U0001D11E");
}

// --- Selections and handles ---

constexpr std::string_view kLibrary = R"(<?xml version="1.0" encoding="utf-8"?>
<library>
  <classification name="Steel">
    <material name="S1" matid="1">
      <physicalproperties>
        <DENS displayname="Mass density" value="7.85"/>
        <NOTE value="no display name"/>
        <EX displayname="Modulus" value="200"/>
      </physicalproperties>
      <physicalproperties><KXX displayname="Conductivity"/></physicalproperties>
      <custom><entry name="first"/></custom>
      <custom><entry name="second"/></custom>
    </material>
    <group><material name="nested, not a direct child"/></group>
    <classification name="Inner"><material name="I1"/></classification>
    <material name="S2" Name="capital"/>
  </classification>
  <classification name="Wood"/>
</library>)";

std::vector<std::u16string> Names(const NodeList& list, std::string_view attribute = "name") {
    std::vector<std::u16string> names;
    for (const Node node : list) names.push_back(node.AttributeText(attribute));
    return names;
}

class XmlDomSelection : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(document_.Load(std::string(kLibrary))); }
    Node Library() const { return document_.Root().SelectSingleNode(Query("library")); }
    Document document_;
};

TEST_F(XmlDomSelection, DescendantSelectionFindsEveryElementInDocumentOrderFromAnyContext) {
    const Query classifications("//classification");
    const std::vector<std::u16string> expected{u"Steel", u"Inner", u"Wood"};
    EXPECT_EQ(Names(document_.Root().SelectNodes(classifications)), expected);
    const Node inner_material = document_.Root().SelectNodes(Query("//material")).Item(2);
    ASSERT_EQ(inner_material.AttributeText("name"), u"I1");
    EXPECT_EQ(Names(inner_material.SelectNodes(classifications)), expected);
}

TEST_F(XmlDomSelection, ChildSelectionTakesOnlyDirectChildren) {
    const Node steel = document_.Root().SelectSingleNode(Query("//classification"));
    EXPECT_EQ(Names(steel.SelectNodes(Query("material"))), (std::vector<std::u16string>{u"S1", u"S2"}));
    EXPECT_EQ(Library().SelectNodes(Query("material")).Length(), 0u);
}

TEST_F(XmlDomSelection, PathWithAttributeTestSpansEveryContainer) {
    const Node s1 = document_.Root().SelectSingleNode(Query("//material"));
    const NodeList properties = s1.SelectNodes(Query("physicalproperties/*[@displayname]"));
    std::vector<std::u16string> names;
    for (const Node p : properties) names.push_back(p.Name());
    EXPECT_EQ(names, (std::vector<std::u16string>{u"DENS", u"EX", u"KXX"}));
    EXPECT_EQ(properties.Item(1).AttributeText("value"), u"200");
}

TEST_F(XmlDomSelection, SingleNodeIsTheFirstMatch) {
    const Node s1 = document_.Root().SelectSingleNode(Query("//material"));
    const Node custom = s1.SelectSingleNode(Query("./custom"));
    EXPECT_EQ(custom.FirstChild().AttributeText("name"), u"first");
    EXPECT_EQ(Library().SelectSingleNode(Query("./classification/material")).AttributeText("name"), u"S1");
}

TEST_F(XmlDomSelection, NamesAreCaseSensitive) {
    const Node s2 = document_.Root().SelectNodes(Query("//material")).Item(3);
    ASSERT_EQ(s2.AttributeText("name"), u"S2");
    EXPECT_EQ(s2.AttributeText("Name"), u"capital");
    EXPECT_EQ(s2.GetAttribute("NAME").Empty(), true);
    EXPECT_TRUE(document_.Root().SelectNodes(Query("//Classification")).Empty());
    EXPECT_TRUE(Library().SelectSingleNode(Query("Classification")).Empty());
}

TEST_F(XmlDomSelection, OtherExpressionsGoToTheXPathEngine) {
    EXPECT_EQ(Names(document_.Root().SelectNodes(Query("//classification[@name='Inner']/material"))),
              (std::vector<std::u16string>{u"I1"}));
    EXPECT_EQ(Names(Library().SelectNodes(Query("//material[@matid]"))), (std::vector<std::u16string>{u"S1"}));
    // Attribute results are not nodes of the list; a number is not a node set.
    EXPECT_TRUE(Library().SelectNodes(Query("//@name")).Empty());
    EXPECT_TRUE(Library().SelectNodes(Query("count(//material)")).Empty());
    EXPECT_TRUE(Library().SelectNodes(Query("material[")).Empty());
}

TEST_F(XmlDomSelection, EmptyHandlesAnswerHarmlessDefaults) {
    const Node none = Library().SelectSingleNode(Query("sustainability"));
    ASSERT_TRUE(none.Empty());
    EXPECT_EQ(none.Name(), u"");
    EXPECT_EQ(none.AttributeText("name"), u"");
    EXPECT_TRUE(none.FirstAttribute().Empty());
    EXPECT_EQ(none.FirstAttribute().Text(), u"");
    EXPECT_TRUE(none.FirstChild().FirstChild().Empty());
    EXPECT_TRUE(none.SelectNodes(Query("//classification")).Empty());
    EXPECT_TRUE(none.ChildNodes().Empty());
    EXPECT_TRUE(Library().SelectNodes(Query("material")).Item(5).Empty());
}

TEST_F(XmlDomSelection, IteratedSelectionSelectsWhatTheListSelects) {
    const std::vector<const char*> expressions = {
        "material", "./custom", "physicalproperties/*[@displayname]", "*", "*/*", "./classification/material",
        "classification/*/material", ".", "./.", "//material", "//*[@name]", "//entry", "//none",
        "//classification[@name='Inner']/material", "count(//material)", "material["};
    std::vector<Node> contexts{document_.Root(), Library(), Node()};
    for (const Node node : document_.Root().SelectNodes(Query("//*"))) contexts.push_back(node);
    for (const char* expression : expressions) {
        SCOPED_TRACE(expression);
        const Query query(expression);
        for (const Node context : contexts) {
            const NodeList listed = context.SelectNodes(query);
            std::vector<Node> walked;
            for (const Node node : context.Select(query)) walked.push_back(node);
            ASSERT_EQ(walked.size(), listed.Length());
            for (std::size_t i = 0; i < walked.size(); ++i) EXPECT_TRUE(walked[i] == listed.Item(i));
            EXPECT_TRUE(context.SelectSingleNode(query) == listed.Item(0));
        }
    }
    std::vector<std::u16string> children;
    for (const Node child : Library().ChildWalk()) children.push_back(child.AttributeText("name"));
    EXPECT_EQ(children, Names(Library().ChildNodes()));
    EXPECT_EQ(children, (std::vector<std::u16string>{u"Steel", u"Wood"}));
    EXPECT_FALSE(Node().ChildWalk().begin() != Node().ChildWalk().end());
}

TEST_F(XmlDomSelection, TerminatedAndViewedAttributeNamesFindTheSameAttribute) {
    const Node s2 = document_.Root().SelectNodes(Query("//material")).Item(3);
    for (const char* name : {"name", "Name", "NAME", "nam", "namex", ""}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(s2.AttributeText(name), s2.AttributeText(std::string_view(name)));
        EXPECT_EQ(s2.GetAttribute(name).Empty(), s2.GetAttribute(std::string_view(name)).Empty());
    }
    EXPECT_EQ(s2.AttributeText("Name"), u"capital");
}

// --- Attribute texts without a new string ---

TEST(XmlDomAttributes, NoCaseComparisonAgreesWithTheConvertedText) {
    Document document;
    const std::string long_value(70, 'k');
    ASSERT_TRUE(document.Load("<a plain='Financial Impact' accented='Caf\xC3\xA9 \xC3\x96L' "
                              "refs='R&amp;D &#x46;' empty='' long='" + long_value + "'/>"));
    const Node a = document.Root().FirstChild();
    struct Case {
        const char* attribute;
        std::u16string text;
        bool equal;
    };
    const std::vector<Case> cases = {
        {"plain", u"financial impact", true},
        {"plain", u"FINANCIAL IMPACT", true},
        {"plain", u"Financial Impac", false},
        {"plain", u"Financial Impacts", false},
        {"plain", u"Financial_Impact", false},
        {"accented", u"caf\u00C9 \u00F6l", true},
        {"accented", u"cafe \u00F6l", false},
        {"refs", u"r&d f", true},
        {"refs", u"r&amp;d f", false},
        {"empty", u"", true},
        {"empty", u"x", false},
        {"missing", u"", true},
        {"missing", u"x", false},
        {"long", std::u16string(70, u'K'), true},
        {"long", std::u16string(69, u'K'), false},
    };
    for (const Case& c : cases) {
        const Attribute attribute = a.GetAttribute(c.attribute);
        SCOPED_TRACE(std::string(c.attribute) + " vs " + platform::Utf16ToUtf8(c.text));
        EXPECT_EQ(platform::EqualsNoCase(attribute.Text(), c.text), c.equal);
        EXPECT_EQ(attribute.TextEqualsNoCase(c.text), c.equal);
    }
}

// Values are converted eight ASCII bytes at a time: a reference or a
// character beyond ASCII must come out right at every offset of a word.
TEST(XmlDomAttributes, ReferencesAndWideCharactersConvertAtEveryOffset) {
    const std::vector<std::pair<std::string, std::u16string>> pieces = {
        {"&amp;", u"&"}, {"&#x41;&lt;", u"A<"}, {"\xC3\xA9", u"\u00E9"}, {"\xF0\x9D\x84\x9E", u"\U0001D11E"}};
    for (const auto& [raw, text] : pieces) {
        for (std::size_t offset = 0; offset < 20; ++offset) {
            SCOPED_TRACE(raw + " after " + std::to_string(offset) + " bytes");
            const std::string before(offset, 'x');
            const std::string after(20 - offset, 'y');
            Document document;
            ASSERT_TRUE(document.Load("<a v='" + before + raw + after + "'/>"));
            EXPECT_EQ(document.Root().FirstChild().AttributeText("v"),
                      std::u16string(offset, u'x') + text + std::u16string(20 - offset, u'y'));
        }
    }
}

TEST(XmlDomAttributes, TextIntoReplacesTheContentAndKeepsTheCapacity) {
    Document document;
    ASSERT_TRUE(document.Load("<a long='a rather long value &amp; more \xC3\xA9' short='x&#x1D11E;'/>"));
    const Node a = document.Root().FirstChild();
    std::u16string out = u"stale";
    ASSERT_TRUE(a.GetAttribute("long").TextInto(out));
    EXPECT_EQ(out, a.GetAttribute("long").Text());
    const char16_t* storage = out.data();
    ASSERT_TRUE(a.GetAttribute("short").TextInto(out));
    EXPECT_EQ(out, u"x\U0001D11E");
    EXPECT_EQ(out.data(), storage) << "a shorter value must reuse the string";
    EXPECT_FALSE(a.GetAttribute("none").TextInto(out));
    EXPECT_EQ(out, u"");
}

TEST(XmlDomNodes, ChildNodesKeepEveryKindButWhiteSpaceOnlyText) {
    Document document;
    ASSERT_TRUE(document.Load("<p>\n  <!-- c --> text <v x=\"1\" y=\"2\"/><![CDATA[d]]><?pi z?>\n</p>"));
    const Node p = document.Root().FirstChild();
    std::vector<std::u16string> kinds;
    for (const Node child : p.ChildNodes()) kinds.push_back(child.Name());
    EXPECT_EQ(kinds, (std::vector<std::u16string>{u"#comment", u"#text", u"v", u"#cdata-section", u"pi"}));
    EXPECT_EQ(p.ChildNodes().Item(2).FirstAttribute().Name(), u"x");
    EXPECT_EQ(p.ChildNodes().Item(2).FirstAttribute().Text(), u"1");

    ASSERT_TRUE(document.Load("<p>\n   <value amount=\"25\"/></p>"));
    EXPECT_EQ(document.Root().FirstChild().FirstChild().Name(), u"value");
}

TEST(XmlDomNodes, ReloadingReplacesAndAFailedLoadEmptiesTheDocument) {
    Document document;
    ASSERT_TRUE(document.Load("<a><b/></a>"));
    ASSERT_TRUE(document.Load("<c/>"));
    EXPECT_TRUE(document.Root().SelectNodes(Query("//b")).Empty());
    EXPECT_EQ(document.Root().SelectNodes(Query("//c")).Length(), 1u);
    EXPECT_FALSE(document.Load("<c>"));
    EXPECT_TRUE(document.Root().SelectNodes(Query("//c")).Empty());
}

// --- Size ---

TEST(XmlDomLimits, HundredThousandLevelsOfNestingLoadAndSelectWithoutRecursion) {
    constexpr int kDepth = 100000;
    std::string deep;
    deep.reserve(kDepth * 8 + 64);
    for (int i = 0; i < kDepth; ++i) deep += "<d>";
    deep += "<classification name=\"bottom\"/>";
    for (int i = 0; i < kDepth; ++i) deep += "</d>";
    Document document;
    ASSERT_TRUE(document.Load(deep));
    const NodeList found = document.Root().SelectNodes(Query("//classification"));
    ASSERT_EQ(found.Length(), 1u);
    EXPECT_EQ(found.Item(0).AttributeText("name"), u"bottom");
    EXPECT_EQ(document.Root().SelectNodes(Query("//d")).Length(), static_cast<std::size_t>(kDepth));
    EXPECT_EQ(document.Root().SelectNodes(Query("d/d/d")).Length(), 1u);

    deep.resize(deep.size() - 4);  // one end tag short
    EXPECT_FALSE(document.Load(deep));
}

TEST(XmlDomLimits, FiftyMegabyteAttributeValueReadsWhole) {
    constexpr std::size_t kSize = 50u << 20;
    std::string doc = "<a v=\"";
    doc.append(kSize, 'x');
    doc += "&amp;\xC3\xA9\"/>";
    Document document;
    ASSERT_TRUE(document.Load(std::move(doc)));
    const std::u16string text = document.Root().FirstChild().AttributeText("v");
    ASSERT_EQ(text.size(), kSize + 2);
    EXPECT_EQ(text.substr(kSize - 2), u"xx&\u00E9");
}

// --- Memory exhaustion ---

bool g_fail_allocations = false;
void* FailingAllocate(std::size_t size) { return g_fail_allocations ? nullptr : std::malloc(size); }

TEST(XmlDomMemory, ExhaustedMemoryDuringALoadThrowsBadAlloc) {
    pugi::set_memory_management_functions(FailingAllocate, std::free);
    Document document;
    g_fail_allocations = true;
    EXPECT_THROW(document.Load("<a><b/><c/></a>"), std::bad_alloc);
    g_fail_allocations = false;
    EXPECT_TRUE(document.Root().FirstChild().Empty());
    EXPECT_TRUE(document.Load("<a><b/><c/></a>"));
    pugi::set_memory_management_functions(std::malloc, std::free);
}

}  // namespace
}  // namespace kxt::xml
