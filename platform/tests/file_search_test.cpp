#include <gtest/gtest.h>

#include "platform/files.h"

namespace {

TEST(FileSearch, OnlyNoMatchErrorsMeanAnEmptyResult) {
  EXPECT_TRUE(platform::SearchFoundNothing(platform::kErrorFileNotFound));
  EXPECT_TRUE(platform::SearchFoundNothing(platform::kErrorNoMoreFiles));
  EXPECT_FALSE(platform::SearchFoundNothing(platform::kErrorPathNotFound));
  EXPECT_FALSE(platform::SearchFoundNothing(platform::kErrorAccessDenied));
  EXPECT_FALSE(platform::SearchFoundNothing(platform::kErrorInvalidParameter));
}

}  // namespace
