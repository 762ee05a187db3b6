#include <gtest/gtest.h>

#include "platform/sim/sim_debug_output.h"

namespace platform::sim {
namespace {

TEST(StderrDebugOutput, WritesEightBitAsIsAndWideAsUtf8) {
  StderrDebugOutput output;
  ::testing::internal::CaptureStderr();
  output.Write("8-bit line\n");
  output.Write(u"wide caf\u00e9 \U0001F600\n");
  output.Write(u"lone \xD800 surrogate\n");
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "8-bit line\nwide café \xF0\x9F\x98\x80\nlone \xEF\xBF\xBD surrogate\n");
}

TEST(StderrDebugOutput, StopsAtNul) {
  using namespace std::string_view_literals;
  StderrDebugOutput output;
  ::testing::internal::CaptureStderr();
  output.Write("shown\0hidden"sv);
  output.Write(u"|wide\0hidden"sv);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "shown|wide");
}

}  // namespace
}  // namespace platform::sim
