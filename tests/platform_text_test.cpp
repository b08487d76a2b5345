#include <clocale>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/text.h"

namespace kxt::platform {
namespace {

TEST(FoldCase, MapsAsciiAndNonAsciiCapitalsToSimpleLowerCase) {
    EXPECT_EQ(FoldCase(u'A'), u'a');
    EXPECT_EQ(FoldCase(u'Z'), u'z');
    EXPECT_EQ(FoldCase(u'@'), u'@');  // just below 'A'
    EXPECT_EQ(FoldCase(u'['), u'[');  // just above 'Z'
    EXPECT_EQ(FoldCase(u'\u00C9'), u'\u00E9');  // É
    EXPECT_EQ(FoldCase(u'\u00C4'), u'\u00E4');  // Ä
    EXPECT_EQ(FoldCase(u'\u03A9'), u'\u03C9');  // Ω
    EXPECT_EQ(FoldCase(u'\u2126'), u'\u03C9');  // OHM SIGN
    EXPECT_EQ(FoldCase(u'\u0130'), u'i');       // İ: simple mapping, one unit
    EXPECT_EQ(FoldCase(u'\u0178'), u'\u00FF');  // Ÿ lowers below its own block
    EXPECT_EQ(FoldCase(u'\u0410'), u'\u0430');  // Cyrillic А
    EXPECT_EQ(FoldCase(u'\uFF21'), u'\uFF41');  // fullwidth A
}

TEST(FoldCase, LeavesLowerCaseUncasedAndSurrogatesUnchanged) {
    for (char16_t c : {u'a', u'1', u'\u00E9', u'\u00DF', u'\u03C9', u'\u4E2D', char16_t{0xD801}, char16_t{0xDC00}, u'\uFFFF'}) {
        EXPECT_EQ(FoldCase(c), c) << static_cast<unsigned>(c);
    }
}

TEST(EqualsNoCase, IgnoresCaseOfEveryScript) {
    EXPECT_TRUE(EqualsNoCase(u"Korvex Materials", u"korvex MATERIALS"));
    EXPECT_TRUE(EqualsNoCase(u"\u00C9T\u00C9", u"\u00E9t\u00E9"));
    EXPECT_TRUE(EqualsNoCase(u"\u00D6L", u"\u00F6l"));
    EXPECT_TRUE(EqualsNoCase(u"\u03A9mega", u"\u03C9MEGA"));
    EXPECT_TRUE(EqualsNoCase(u"\u0130stanbul", u"istanbul"));
    EXPECT_TRUE(EqualsNoCase(u"", u""));
}

TEST(EqualsNoCase, DistinguishesDifferentLettersAndLengths) {
    EXPECT_FALSE(EqualsNoCase(u"steel", u"steal"));
    EXPECT_FALSE(EqualsNoCase(u"steel", u"steel "));
    EXPECT_FALSE(EqualsNoCase(u"\u00E9", u"e"));
    // ASCII letters fold only among themselves: '@' | 0x20 is '`', not a match.
    EXPECT_FALSE(EqualsNoCase(u"@", u"`"));
    EXPECT_FALSE(EqualsNoCase(u"[", u"{"));
    EXPECT_FALSE(EqualsNoCase(u"i", u"\u0131"));  // dotless i has no lower-case mapping to i
}

// Words of four code units are compared at once, ASCII words folded in one
// step: at every place in a word and in the tail, two texts that differ in
// one unit must be equal exactly when that unit folds alike in both.
TEST(EqualsNoCase, AgreesWithFoldCaseAtEveryPlaceOfAWordAndTheTail) {
    const std::u16string base = u"Steel S235j";  // two words and a tail of three
    std::vector<char16_t> units;
    for (char16_t c = 0; c < 0x180; ++c) units.push_back(c);
    for (const char16_t c : {u'\u0391', u'\u03B1', u'\u1E9E', u'\u00DF', u'\u2126', u'\u03C9', u'\uFF21', u'\uFF41'}) {
        units.push_back(c);
    }
    for (std::size_t at = 0; at < base.size(); ++at) {
        for (const char16_t c : units) {
            std::u16string a = base;
            a[at] = c;
            for (const char16_t d : units) {
                std::u16string b = base;
                b[at] = d;
                ASSERT_EQ(EqualsNoCase(a, b), FoldCase(c) == FoldCase(d))
                    << static_cast<unsigned>(c) << " vs " << static_cast<unsigned>(d) << " at " << at;
            }
        }
    }
}

TEST(CompareNoCase, OrdersByFoldedCodeUnitsThenLength) {
    EXPECT_EQ(CompareNoCase(u"ABC", u"abc"), 0);
    EXPECT_LT(CompareNoCase(u"abc", u"ABD"), 0);
    EXPECT_GT(CompareNoCase(u"B", u"a"), 0);
    EXPECT_LT(CompareNoCase(u"ab", u"ABC"), 0);
    EXPECT_GT(CompareNoCase(u"abc", u"AB"), 0);
    // 'Z' folds to 'z' (0x7A), which sorts after '_' (0x5F).
    EXPECT_GT(CompareNoCase(u"Z", u"_"), 0);
    EXPECT_LT(CompareNoCase(u"\u00C9", u"\u00EA"), 0);  // é < ê
}

TEST(ToLower, LowersEveryCodeUnit) {
    EXPECT_EQ(ToLower(u"\u00D6L Korvex \u03A9"), u"\u00F6l korvex \u03C9");
    std::u16string s = u"\u00C4RGER \u0130";
    ToLowerInPlace(s);
    EXPECT_EQ(s, u"\u00E4rger i");
}

TEST(Utf8ToUtf16, DecodesEveryLength) {
    EXPECT_EQ(Utf8ToUtf16("A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"), u"A\u00E9\u20AC\U0001F600");
    EXPECT_EQ(Utf8ToUtf16(""), u"");
    EXPECT_EQ(Utf8ToUtf16(std::string_view("a\0b", 3)), std::u16string(u"a\0b", 3));
}

TEST(Utf8ToUtf16, ReplacesEachInvalidSequenceWithOneReplacementCharacter) {
    EXPECT_EQ(Utf8ToUtf16("a\xFFz"), u"a\uFFFDz");
    EXPECT_EQ(Utf8ToUtf16("\x80\xBF"), u"\uFFFD\uFFFD");          // stray continuation bytes
    EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");          // overlong '/'
    EXPECT_EQ(Utf8ToUtf16("\xE0\x80\x80"), u"\uFFFD\uFFFD\uFFFD");  // overlong
    EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");  // encoded surrogate
    EXPECT_EQ(Utf8ToUtf16("\xF4\x90\x80\x80"), u"\uFFFD\uFFFD\uFFFD\uFFFD");  // above U+10FFFF
    EXPECT_EQ(Utf8ToUtf16("\xE2\x82z"), u"\uFFFDz");              // truncated, then ASCII
    EXPECT_EQ(Utf8ToUtf16("ab\xF0\x9F\x98"), u"ab\uFFFD");        // truncated at the end
}

TEST(Utf16ToUtf8, EncodesPairsAndReplacesUnpairedSurrogates) {
    EXPECT_EQ(Utf16ToUtf8(u"A\u00E9\u20AC\U0001F600"), "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, u'\xD83D') + u"x"), "\xEF\xBF\xBDx");
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, u'\xDE00')), "\xEF\xBF\xBD");
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, u'\xD83D')), "\xEF\xBF\xBD");  // high surrogate at the end
}

TEST(Utf8Utf16, RoundTripsEveryBmpCharacterOutsideTheSurrogates) {
    std::u16string all;
    for (char32_t c = 1; c < 0x10000; ++c) {
        if (c < 0xD800 || c > 0xDFFF) all.push_back(static_cast<char16_t>(c));
    }
    EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(all)), all);
}

TEST(AnsiToUtf16, DecodesTheCurrentLocaleCharset) {
    ASSERT_NE(std::setlocale(LC_CTYPE, "C.UTF-8"), nullptr) << "C.UTF-8 locale is missing";
    EXPECT_EQ(AnsiToUtf16("Stahl \xC3\xA9"), u"Stahl \u00E9");
    EXPECT_EQ(AnsiToUtf16("\xF0\x9F\x98\x80"), u"\U0001F600");
    EXPECT_EQ(AnsiToUtf16("a\xFF" "b"), u"a\uFFFDb");
    EXPECT_EQ(AnsiToUtf16("x\xC3"), u"x\uFFFD");  // sequence cut off by the end of a chunk
    EXPECT_EQ(AnsiToUtf16(std::string_view("a\0b", 3)), std::u16string(u"a\0b", 3));
    std::setlocale(LC_CTYPE, "C");
    EXPECT_EQ(AnsiToUtf16("plain"), u"plain");
}

TEST(TranscodeToUtf8, ConvertsNamedEncodingsAndRejectsWhatItCannotRead) {
    EXPECT_EQ(TranscodeToUtf8("\x80 \xE9", "windows-1252"), std::optional<std::string>("\xE2\x82\xAC \xC3\xA9"));
    EXPECT_EQ(TranscodeToUtf8("\xA4", "ISO-8859-15"), std::optional<std::string>("\xE2\x82\xAC"));
    EXPECT_EQ(TranscodeToUtf8(std::string_view("A\0\xA9\0", 4), "UTF-16LE"), std::optional<std::string>("A\xC2\xA9"));
    EXPECT_EQ(TranscodeToUtf8("", "shift_jis"), std::optional<std::string>(""));
    EXPECT_FALSE(TranscodeToUtf8("abc", "no-such-encoding-x"));
    EXPECT_FALSE(TranscodeToUtf8("\x82", "shift_jis"));  // a lead byte cut off by the end
}

}  // namespace
}  // namespace kxt::platform
