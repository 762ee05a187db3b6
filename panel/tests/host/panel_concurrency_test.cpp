// The UI thread's operations racing the poll worker and the animation, with receivers coming
// and going and play reports arriving meanwhile. Meant for the thread sanitizer preset too:
// the model lock and the UI queue must leave no data race, and once everything has settled
// the controls must agree with the model's state (which they would not if a change had been
// applied out of order).
#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <thread>

#include "panel_harness.h"

namespace panel::test {
namespace {

TEST(PanelConcurrencyTest, UiOperationsRacingPollsAndAnimationLeaveAConsistentPanel) {
  PanelHarness h;
  h.library.SetReportsPlayState(true);
  h.Create();

  std::atomic<bool> stop{false};
  std::thread clock([&] {
    while (!stop) {
      h.threads.AdvanceTo(h.threads.NowMs() + 50);
      std::this_thread::yield();
    }
  });
  std::thread scenario([&] {
    std::mt19937 random(7);
    const char16_t* names[] = {u"A", u"B", u"C"};
    while (!stop) {
      const char16_t* name = names[random() % 3];
      switch (random() % 6) {
        case 0:
          h.library.AddReceiver({name, u"http://x/", u"1-00-003", true});
          break;
        case 1:
          h.library.RemoveReceiver(name);
          break;
        case 2:
          h.library.QueueVariable(u"varPlay", random() % 2 ? u"True" : u"False");
          break;
        case 3:
          h.library.QueueEvent(kEventSearchAgain);
          break;
        case 4:
          h.library.SetAcceptsBinding(name, random() % 4 != 0);
          break;
        default:
          h.library.SetCommandsAccepted(random() % 3 != 0);
      }
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
  });

  std::mt19937 random(11);
  // Until enough polls have raced the UI, with a generous bound on real time.
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (h.CountCalls("BackgroundTask") < 60 && std::chrono::steady_clock::now() < give_up) {
    h.timers.SetNow(h.threads.NowMs());
    if (auto id = h.timers.TakeDue(h.threads.NowMs())) h.frame->OnTimer(*id);
    h.Pump();
    ui::TNotifyUI msg;
    switch (random() % 4) {
      case 0:
        msg.sType = u"click";
        msg.pSender = h.Play();
        h.frame->Notify(msg);
        break;
      case 1:
        if (h.List()->GetCount() > 0) {
          msg.sType = u"itemactivate";
          msg.pSender = h.List()->GetItemAt(static_cast<int>(random() % h.List()->GetCount()));
          msg.ptMouse = {msg.pSender->GetPos().left, msg.pSender->GetPos().top};
          h.frame->Notify(msg);
        }
        break;
      case 2:
        h.frame->OnTrayCallback(kTrayIconId, kWmLButtonDblClk);
        break;
      default:
        h.Paint();
    }
  }
  stop = true;
  clock.join();
  scenario.join();
  // The race really raced: polls, plays and selections ran meanwhile.
  EXPECT_GT(h.CountCalls("BackgroundTask"), 20);
  EXPECT_GT(h.CountCalls("SetCommand"), 5);
  EXPECT_GT(h.CountCalls("ServiceInit"), 5);

  // Let the last poll and the animation come to rest, with the receivers settled.
  h.library.SetAcceptsBinding(u"A", true);
  h.library.SetAcceptsBinding(u"B", true);
  h.library.SetAcceptsBinding(u"C", true);
  h.RunPolls(3);
  const ReceiverSnapshot state = h.State();
  EXPECT_LE(h.threads.LiveThreads(), 1);
  EXPECT_EQ(h.threads.LiveThreads(), state.search_animation_running ? 1 : 0);
  if (state.receiver_state == ReceiverState::kBound) {
    EXPECT_TRUE(h.Play()->IsEnabled());
    EXPECT_FALSE(state.search_animation_running);
    EXPECT_EQ(h.Play()->GetNormalImage(), state.is_streaming ? u"Stop.png" : u"Play.png");
  } else {
    EXPECT_EQ(state.receiver_state, ReceiverState::kSearching);
    EXPECT_FALSE(h.Play()->IsEnabled());
  }
  EXPECT_EQ(h.List()->GetCount(),
            state.known_receiver_count == 0 ? h.List()->GetCount() : state.known_receiver_count);
}

}  // namespace
}  // namespace panel::test
