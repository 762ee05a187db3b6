#include <gtest/gtest.h>

#include "platform/strings.h"

namespace {

using platform::Utf16ToUtf8;
using platform::Utf8ToUtf16;
using namespace std::literals;

TEST(UtfConversion, EveryPlaneRoundTrips) {
  const std::u16string text = u"a\u00e9\u0800\u4e2d\uffff\U00010000\U0010FFFF"s;
  const std::string utf8 = Utf16ToUtf8(text);
  EXPECT_EQ(utf8, "a\xC3\xA9\xE0\xA0\x80\xE4\xB8\xAD\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF");
  EXPECT_EQ(Utf8ToUtf16(utf8), text);
  EXPECT_EQ(Utf8ToUtf16("nul\0inside"sv), u"nul\0inside"sv);
  EXPECT_EQ(Utf16ToUtf8(u""), "");
}

TEST(UtfConversion, MalformedUtf8BecomesOneReplacementPerBadSequence) {
  EXPECT_EQ(Utf8ToUtf16("a\x80z"), u"a\ufffdz") << "stray continuation byte";
  EXPECT_EQ(Utf8ToUtf16("a\xE4\xB8z"), u"a\ufffdz") << "truncated sequence keeps what follows";
  EXPECT_EQ(Utf8ToUtf16("\xE4\xB8"), u"\ufffd") << "truncated at the end";
  EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\ufffd") << "over-long form";
  EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\ufffd") << "encoded surrogate";
  EXPECT_EQ(Utf8ToUtf16("\xF4\x90\x80\x80"), u"\ufffd") << "beyond U+10FFFF";
  EXPECT_EQ(Utf8ToUtf16("\xFF"), u"\ufffd");
}

TEST(UtfConversion, UnpairedSurrogatesBecomeReplacements) {
  EXPECT_EQ(Utf16ToUtf8(u"a\xD800z"sv), "a\xEF\xBF\xBDz");
  EXPECT_EQ(Utf16ToUtf8(u"\xDC00\xD800"sv), "\xEF\xBF\xBD\xEF\xBF\xBD") << "reversed pair";
  EXPECT_EQ(Utf16ToUtf8(u"\xD83D"sv), "\xEF\xBF\xBD") << "high surrogate at the end";
}

TEST(WideCase, FoldsAsciiLettersOnly) {
  EXPECT_TRUE(platform::EqualsIgnoringCase(u"CLSID\\{Ab}", u"clsid\\{aB}"));
  EXPECT_FALSE(platform::EqualsIgnoringCase(u"\u00e9", u"\u00c9"));
  EXPECT_FALSE(platform::EqualsIgnoringCase(u"abc", u"ab"));
}

}  // namespace
