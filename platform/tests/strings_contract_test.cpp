// What the programs may rely on from the system code page, whichever it is: ASCII and the
// Latin-1 letters of the product's own texts survive, NULs stay, and a character the code page
// lacks never vanishes silently.
#include <gtest/gtest.h>

#include "strings_subject.h"

namespace {

using namespace std::literals;

class StringsContract : public testing::Test {
 protected:
  std::unique_ptr<platform::SystemCodePage> code_page_ = strings_contract::MakeSystemCodePage();
};

TEST_F(StringsContract, AsciiAndNulsPassUnchanged) {
  const std::string ascii = "HKEY_LOCAL_MACHINE\\Software\0tail ~!"s;
  const std::u16string wide = code_page_->ToUtf16(ascii);
  EXPECT_EQ(wide, u"HKEY_LOCAL_MACHINE\\Software\0tail ~!"s);
  EXPECT_EQ(code_page_->FromUtf16(wide), ascii);
  EXPECT_EQ(code_page_->ToUtf16(""), u"");
  EXPECT_EQ(code_page_->FromUtf16(u""), "");
}

TEST_F(StringsContract, AccentedLettersRoundTrip) {
  const std::u16string text = u"caf\u00e9 d\u00e9j\u00e0 \u00fcber";
  const std::string narrow = code_page_->FromUtf16(text);
  EXPECT_NE(narrow.find("caf"), std::string::npos);
  EXPECT_EQ(code_page_->ToUtf16(narrow), text);
}

TEST_F(StringsContract, MissingCharactersAndBadInputLeaveAMark) {
  // A lone surrogate is in no code page; a byte sequence may be invalid in this one.
  const std::string narrow = code_page_->FromUtf16(u"a\xD800z"sv);
  ASSERT_GE(narrow.size(), 3u);
  EXPECT_EQ(narrow.front(), 'a');
  EXPECT_EQ(narrow.back(), 'z');
  const std::u16string wide = code_page_->ToUtf16("a\xFF\xFEz");
  ASSERT_GE(wide.size(), 3u);
  EXPECT_EQ(wide.front(), u'a');
  EXPECT_EQ(wide.back(), u'z');
}

}  // namespace
