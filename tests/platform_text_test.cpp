#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/number_text.h"
#include "platform/text.h"

namespace kxt::platform {
namespace {

TEST(FoldCase, MapsCapitalsToSimpleLowerCaseAndLeavesTheRest) {
    const std::pair<char16_t, char16_t> cases[] = {
        {u'A', u'a'}, {u'Z', u'z'}, {u'@', u'@'}, {u'[', u'['}, {u'1', u'1'}, {u'\u00C9', u'\u00E9'},
        {u'\u2126', u'\u03C9'}, {u'\u0130', u'i'}, {u'\u0178', u'\u00FF'}, {u'\u0410', u'\u0430'}, {u'\uFF21', u'\uFF41'},
        {u'\u00DF', u'\u00DF'}, {u'\u4E2D', u'\u4E2D'}, {char16_t{0xD801}, char16_t{0xD801}}, {u'\uFFFF', u'\uFFFF'}};
    for (const auto& [c, lower] : cases) EXPECT_EQ(FoldCase(c), lower) << int(c);
    EXPECT_EQ(ToLower(u"\u00D6L Korvex \u03A9"), u"\u00F6l korvex \u03C9");
    // 'z' sorts after '_', 'Z' before it.
    EXPECT_TRUE(CompareNoCase(u"ab", u"ABC") < 0 && CompareNoCase(u"Z", u"_") > 0 && CompareNoCase(u"\u00C9A", u"\u00E9a") == 0);
}

// At every place of a text, two texts that differ in one unit are equal
// exactly when that unit folds alike in both.
TEST(EqualsNoCase, AgreesWithFoldCaseAtEveryPlace) {
    const std::u16string base = u"Steel S235j";
    std::vector<char16_t> units;
    for (char16_t c = 0; c < 0x180; ++c) units.push_back(c);
    units.insert(units.end(), {u'\u0391', u'\u03B1', u'\u2126', u'\u03C9', u'\uFF21', u'\uFF41', u'\u0131'});
    for (std::size_t at = 0; at < base.size(); ++at)
        for (const char16_t c : units)
            for (const char16_t d : units) {
                std::u16string a = base, b = base;
                a[at] = c, b[at] = d;
                ASSERT_EQ(EqualsNoCase(a, b), FoldCase(c) == FoldCase(d)) << int(c) << " vs " << int(d) << " at " << at;
            }
    EXPECT_FALSE(EqualsNoCase(u"steel", u"steel "));
}

TEST(Transcoding, ReplacesInvalidSequencesByEachPolicyAndRoundTrips) {
    const struct {
        std::string_view utf8;
        std::u16string_view perSubpart, perByte;
    } cases[] = {
        {"A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", u"A\u00E9\u20AC\U0001F600", u"A\u00E9\u20AC\U0001F600"},
        {"\xEF\xBB\xBFx\xEF\xBF\xBD", u"\uFEFFx\uFFFD", u"\uFEFFx\uFFFD"},  // a BOM is a character here
        {std::string_view("a\0\xFF\x80", 4), std::u16string_view(u"a\0\uFFFD\uFFFD", 4),
         std::u16string_view(u"a\0\uFFFD\uFFFD", 4)},
        {"\xC0\xAF\xE0\x80\x80\xF0\x8F\xBF\xBF", u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD", u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},  // overlong
        {"\xED\xA0\x80\xF4\x90\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD", u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"\xE2\x82z", u"\uFFFDz", u"\uFFFD\uFFFDz"},  // truncated
        {"\xF0\x9F\xC3\xA9", u"\uFFFD\u00E9", u"\uFFFD\uFFFD\u00E9"},
        {"ab\xF0\x9F\x98", u"ab\uFFFD", u"ab\uFFFD\uFFFD\uFFFD"},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(Utf8ToUtf16(c.utf8) == c.perSubpart && Utf8ToUtf16(c.utf8, InvalidUtf8::kPerByte) == c.perByte) << c.utf8;
    EXPECT_EQ(Utf8ToUtf16(std::string_view("\xC3\xA9", 1)), u"\uFFFD");  // a sequence cut by the text's end, not by a byte
    const char* p = "\xEF\xBF\xBD\xFF";  // a real U+FFFD is no error
    EXPECT_TRUE(DecodeUtf8(p, p + 4, InvalidUtf8::kPerByte) == U'\uFFFD' && DecodeUtf8(p, p + 1, InvalidUtf8::kPerByte) == kNotUtf8);
    EXPECT_EQ(Utf16ToUtf8(u"A\u00E9\u20AC\U00010000\U0010FFFF"), "A\xC3\xA9\xE2\x82\xAC\xF0\x90\x80\x80\xF4\x8F\xBF\xBF");
    EXPECT_EQ(Utf16ToUtf8(u"\xD83Dx\xDE00\xD83D"), "\xEF\xBF\xBDx\xEF\xBF\xBD\xEF\xBF\xBD");
    std::u16string all;
    for (char32_t c = 1; c < 0x10000; ++c)
        if (c < 0xD800 || c > 0xDFFF) all.push_back(static_cast<char16_t>(c));
    EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(all)), all);
    EXPECT_EQ(Utf16LeToUtf16(std::string_view("A\0\xA9\x03\x3D\xD8Z", 7)), u"A\u03A9\xD83D");  // odd byte dropped
}

TEST(Trim, DropsTheNamedWhiteSpaceAtTheEnds) {
    const std::u16string_view cases[][3] = {  // text, C white space trimmed, C or wide white space trimmed
        {u" \t\n\v\f\rx y\r\n", u"x y", u"x y"}, {u"\u00A0x\u3000", u"\u00A0x\u3000", u"x"},
        {u"\u0085x\u2003", u"\u0085x\u2003", u"\u0085x\u2003"}, {u" \u00A0 ", u"\u00A0", u""}};
    for (const auto& c : cases) EXPECT_TRUE(Trim(c[0]) == c[1] && Trim(c[0], IsCOrWideSpace) == c[2]) << Utf16ToUtf8(c[0]);
    EXPECT_EQ(TrimEnd(u" a \t"), u" a");
    for (const char32_t c : {U'\v', U'\f', U'\u00A0', char32_t(0xFFFFFF20)}) EXPECT_FALSE(IsXmlSpace(c));
}

TEST(NumberText, ScanningStopsAtACommaSaturatesAndTellsWhenNothingReads) {
    // The cost amount's rule: "%lf" in the C locale, nothing for no number.
    for (const auto& [amount, value] : {std::pair<std::u16string_view, double>{u"12.50", 12.5}, {u"3,25", 3}, {u".5", 0.5}, {u"1.2.3", 1.2}})
        EXPECT_EQ(ScannedNumber(amount), value);
    for (const std::u16string_view none : {u",5", u"", u".", u"n/a"}) EXPECT_FALSE(ScannedNumber(none) || LeadingNumber(none));
    EXPECT_EQ(ScannedNumber(u"1" + std::u16string(400, u'0')), HUGE_VAL);
}

TEST(NumberText, DecimalsReadToTheValueStrtodGives) {
    // Digits, point and exponent drawn over the range where a reading may take
    // a short cut (up to 19 digits, powers of ten near +-22) and beyond it.
    ASSERT_NE(std::setlocale(LC_NUMERIC, "C"), nullptr);
    std::uint64_t state = 0x9E3779B97F4A7C15ull;
    const auto next = [&state](std::uint64_t bound) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return (state >> 33) % bound;
    };
    for (int i = 0; i < 20000; ++i) {
        std::string text = next(4) == 0 ? "-" : "";
        const std::uint64_t digits = 1 + next(20);
        const std::uint64_t point = next(digits + 2);
        for (std::uint64_t d = 0; d < digits; ++d) {
            if (d == point) text += '.';
            text += static_cast<char>('0' + next(10));
        }
        if (next(2) == 0) text += "e" + std::to_string(static_cast<int>(next(61)) - 30);
        const double expected = std::strtod(text.c_str(), nullptr);
        const std::optional<double> read = LeadingNumber(std::string_view(text));
        ASSERT_TRUE(read && *read == expected && std::signbit(*read) == std::signbit(expected)) << text << " read as " << read.value_or(-1);
    }
}

TEST(AnsiToUtf16, DecodesTheCurrentLocaleCharset) {
#ifdef _WIN32
    // The ANSI code page of the test prefix (English): windows-1252.
    EXPECT_EQ(AnsiToUtf16(std::string_view("\xC9t\xE9 \x80\0a", 7)), std::u16string_view(u"\u00C9t\u00E9 \u20AC\0a", 7));
    return;
#endif
    ASSERT_NE(std::setlocale(LC_CTYPE, "C.UTF-8"), nullptr) << "C.UTF-8 locale is missing";
    EXPECT_EQ(AnsiToUtf16(std::string_view("\xC3\xA9\xF0\x9F\x98\x80\0a\xFF" "b\xC3", 11)), std::u16string_view(u"\u00E9\U0001F600\0a\uFFFDb\uFFFD", 8));
    std::setlocale(LC_CTYPE, "C");
}

}  // namespace
}  // namespace kxt::platform
