// The searching animation's thread and its stop handshake, on virtual time.
#include <gtest/gtest.h>

#include <mutex>

#include "panel/core/search_animation.h"
#include "panel/sim/virtual_threads.h"

namespace panel {
namespace {

class SearchAnimationTest : public ::testing::Test {
 protected:
  std::unique_ptr<SearchAnimation> Start() {
    return SearchAnimation::Start(threads, [this](std::u16string image) {
      std::lock_guard hold(lock);
      frames.push_back(std::move(image));
    });
  }
  std::vector<std::u16string> Frames() {
    std::lock_guard hold(lock);
    return frames;
  }
  void Advance(uint64_t ms) {
    threads.Settle();
    threads.AdvanceTo(threads.NowMs() + ms);
    threads.Settle();
  }

  sim::VirtualThreads threads;
  std::mutex lock;
  std::vector<std::u16string> frames;
};

TEST_F(SearchAnimationTest, NineFramesEvery500MsThenRoundAgain) {
  auto animation = Start();
  ASSERT_TRUE(animation);
  Advance(499);
  EXPECT_TRUE(Frames().empty());
  for (int i = 0; i < 10; ++i) Advance(i == 0 ? 1 : 500);
  EXPECT_EQ(Frames(), (std::vector<std::u16string>{u"tu0.png", u"tu1.png", u"tu2.png", u"tu3.png",
                                                   u"tu4.png", u"tu5.png", u"tu6.png", u"tu7.png",
                                                   u"tu8.png", u"tu0.png"}));
}

TEST_F(SearchAnimationTest, StopReturnsOnlyOnceTheThreadHasEnded) {
  auto animation = Start();
  Advance(500);
  ASSERT_EQ(threads.LiveThreads(), 1);
  animation->Stop();
  EXPECT_EQ(threads.LiveThreads(), 0);
  Advance(5000);
  EXPECT_EQ(Frames().size(), 1u);
  animation->Stop();  // a second stop is harmless
}

TEST_F(SearchAnimationTest, NoThreadNoAnimation) {
  threads.FailThreadStarts(1);
  EXPECT_FALSE(Start());
  EXPECT_EQ(threads.LiveThreads(), 0);
  EXPECT_TRUE(Start());
}

}  // namespace
}  // namespace panel
