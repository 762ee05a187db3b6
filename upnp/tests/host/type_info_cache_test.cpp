#include "upnp/core/type_info_cache.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace upnp {
namespace {

constexpr uint32_t kEnglish = 0x0409;
constexpr uint32_t kGerman = 0x0407;

// The cached "type information" is the text the loader wrote, named after the locale it got.
class TypeInfoCacheTest : public ::testing::Test {
 protected:
  TypeInfoCache<std::string> cache_{[this](uint32_t locale, std::string* info, NameTable* names) {
    locales_.push_back(locale);
    *info = "type info " + std::to_string(locale);
    names->Add(platform::Failed(next_load_) ? u"stale" : u"varNull", 1);
    return next_load_;
  }};
  std::vector<uint32_t> locales_;
  platform::HResult next_load_ = platform::kSOk;
};

TEST_F(TypeInfoCacheTest, TheFirstLoadServesEveryLocaleAfterIt) {
  const std::string* info = nullptr;
  const NameTable* names = nullptr;
  ASSERT_EQ(cache_.Get(kGerman, &info, &names), platform::kSOk);
  EXPECT_EQ(*info, "type info 1031");
  ASSERT_NE(names->Find(u"varNull"), nullptr);

  const std::string* again = nullptr;
  ASSERT_EQ(cache_.Get(kEnglish, &again, nullptr), platform::kSOk);
  EXPECT_EQ(again, info);
  EXPECT_EQ(*again, "type info 1031");
  EXPECT_EQ(locales_, std::vector<uint32_t>{kGerman});
}

TEST_F(TypeInfoCacheTest, AFailedLoadCachesNothingAndTheNextCallLoadsAgain) {
  next_load_ = platform::kEFail;
  const std::string* info = nullptr;
  const NameTable* names = nullptr;
  EXPECT_EQ(cache_.Get(kGerman, &info, &names), platform::kEFail);
  EXPECT_EQ(info, nullptr);
  EXPECT_EQ(names, nullptr);

  next_load_ = platform::kSOk;
  ASSERT_EQ(cache_.Get(kEnglish, &info, &names), platform::kSOk);
  EXPECT_EQ(*info, "type info 1033");
  // The names of the failed load are not kept beside the good ones.
  EXPECT_NE(names->Find(u"varNull"), nullptr);
  EXPECT_EQ(names->Find(u"stale"), nullptr);
  EXPECT_EQ(locales_, (std::vector<uint32_t>{kGerman, kEnglish}));
}

TEST_F(TypeInfoCacheTest, AfterReleaseTheNextCallLoadsAgain) {
  const std::string* info = nullptr;
  ASSERT_EQ(cache_.Get(kGerman, &info, nullptr), platform::kSOk);
  cache_.Release();
  ASSERT_EQ(cache_.Get(kEnglish, &info, nullptr), platform::kSOk);
  EXPECT_EQ(*info, "type info 1033");
  EXPECT_EQ(locales_.size(), 2u);
}

}  // namespace
}  // namespace upnp
