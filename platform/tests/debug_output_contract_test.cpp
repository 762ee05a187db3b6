// What a debugger receives from the debug output: the recorder must match OutputDebugStringA/W.
#include <gtest/gtest.h>

#include <gmock/gmock.h>

#include <string>
#include <vector>

#include "debug_output_subject.h"

namespace platform {
namespace {

using ::testing::ElementsAre;

class DebugOutputContract : public ::testing::Test {
 protected:
  std::unique_ptr<testing::DebugOutputSubject> subject_ = testing::MakeDebugOutputSubject();
  DebugOutput& output_ = subject_->Output();
};

TEST_F(DebugOutputContract, EightBitAndWideLinesArriveInOrder) {
  output_.Write("first 8-bit line\n");
  output_.Write(u"first wide line\n");
  output_.Write("8-bit without line feed");
  output_.Write(u"wide without line feed");
  output_.Write("");
  output_.Write(u"last line\r\n");
  EXPECT_THAT(subject_->Lines(6),
              ElementsAre("first 8-bit line", "first wide line", "8-bit without line feed",
                          "wide without line feed", "", "last line"));
}

TEST_F(DebugOutputContract, WideTextArrivesAsUtf8) {
  // Characters of the Western code page survive the conversion OutputDebugStringW makes.
  output_.Write(u"café über 10 €");
  EXPECT_THAT(subject_->Lines(1), ElementsAre("café über 10 €"));
}

TEST_F(DebugOutputContract, TextWithLineFeedsShowsAsSeveralLines) {
  output_.Write("one\ntwo\r\nthree\n");
  output_.Write(u"four\nfive");
  EXPECT_THAT(subject_->Lines(5), ElementsAre("one", "two", "three", "four", "five"));
}

TEST_F(DebugOutputContract, TextEndsAtANulCharacter) {
  using namespace std::string_view_literals;
  output_.Write("visible\0hidden"sv);
  output_.Write(u"wide visible\0hidden"sv);
  EXPECT_THAT(subject_->Lines(2), ElementsAre("visible", "wide visible"));
}

TEST_F(DebugOutputContract, ManyLinesKeepTheirOrder) {
  std::vector<std::string> expected;
  for (int i = 0; i < 200; ++i) {
    const std::string text = "line " + std::to_string(i);
    if (i % 2) {
      output_.Write(text);
    } else {
      output_.Write(std::u16string(text.begin(), text.end()));
    }
    expected.push_back(text);
  }
  EXPECT_EQ(subject_->Lines(expected.size()), expected);
}

}  // namespace
}  // namespace platform
