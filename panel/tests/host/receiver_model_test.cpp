// The receiver model on the simulated library, toolkit and virtual time: polling, the list,
// binding, the searching animation, row activation, play and stop, and the library's reports.
#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <set>
#include <thread>

#include "panel/core/field_text.h"
#include "panel_harness.h"
#include "ui/label.h"

namespace panel::test {
namespace {

using sim::SimReceiver;

ui::CContainerUI* Part(ui::CControlUI* control, int index) {
  auto* container = dynamic_cast<ui::CContainerUI*>(control);
  return container ? dynamic_cast<ui::CContainerUI*>(container->GetItemAt(index)) : nullptr;
}

// The text of each row of the receiver list: row > columns > name column > text band > text.
std::vector<std::u16string> RowTexts(ui::CListUI& list) {
  std::vector<std::u16string> texts;
  for (int i = 0; i < list.GetCount(); ++i) {
    ui::CContainerUI* band = Part(Part(Part(list.GetItemAt(i), 0), 0), 1);
    texts.push_back(band && band->GetItemAt(0) ? band->GetItemAt(0)->GetText() : u"?");
  }
  return texts;
}

TEST(ReceiverModelTest, NoReceiverAnimatesDisablesPlayAndRediscoversOnEvery202ndEmptyPoll) {
  PanelHarness h;
  h.Create();
  EXPECT_EQ(h.State().receiver_state, ReceiverState::kSearching);
  EXPECT_TRUE(h.State().search_animation_running);

  h.Run(500);
  EXPECT_EQ(h.Play()->GetNormalImage(), u"tu0.png");
  h.Run(500);
  EXPECT_EQ(h.Play()->GetNormalImage(), u"tu1.png");
  h.Run(7 * 500);  // frames 2..8: the first poll (at 2000 ms) disabled the button meanwhile
  EXPECT_EQ(h.Play()->GetNormalImage(), u"tu8.png");
  EXPECT_FALSE(h.Play()->IsEnabled());
  h.Run(500);
  EXPECT_EQ(h.Play()->GetNormalImage(), u"tu0.png");

  h.Run(201 * kPollPeriodMs - h.threads.NowMs());  // 201 polls so far
  EXPECT_EQ(h.State().empty_poll_count, 201);
  EXPECT_EQ(h.library.RediscoveryCount(), 0);
  h.RunPolls(1);
  EXPECT_EQ(h.library.RediscoveryCount(), 1);
  EXPECT_EQ(h.State().empty_poll_count, 0);
  h.RunPolls(201);
  EXPECT_EQ(h.library.RediscoveryCount(), 1);
  h.RunPolls(1);
  EXPECT_EQ(h.library.RediscoveryCount(), 2);
  // One animation thread throughout, however many polls entered Searching.
  EXPECT_EQ(h.threads.LiveThreads(), 1);
}

TEST(ReceiverModelTest, FirstReceiverIsListedAndBoundWhenItAcceptsBinding) {
  PanelHarness h;
  h.Create();
  h.library.AddReceiver({u"Living room", u"http://10.0.0.7/", u"1-00-00", false});
  h.RunPolls(1);
  ASSERT_EQ(h.List()->GetCount(), 1);
  EXPECT_EQ(RowTexts(*h.List()), std::vector<std::u16string>{u"Living room"});
  EXPECT_EQ(h.State().receiver_state, ReceiverState::kSearching);
  // No poll has found nothing, so the button is still as the skin has it.
  EXPECT_TRUE(h.Play()->IsEnabled());

  h.library.SetAcceptsBinding(u"Living room", true);
  h.library.ClearCalls();
  h.RunPolls(1);
  const auto snapshot = h.State();
  EXPECT_EQ(snapshot.receiver_state, ReceiverState::kBound);
  EXPECT_EQ(snapshot.selected_receiver, 0);
  EXPECT_FALSE(snapshot.search_animation_running);
  EXPECT_EQ(h.Play()->GetNormalImage(), u"Play.png");
  EXPECT_TRUE(h.Play()->IsEnabled());
  EXPECT_EQ(h.library.Calls(),
            (std::vector<std::string>{"GetDeviceCount", "ServiceInit(0)", "SetSelectDevice(0)",
                                      "GetDeviceUniqueName(0,128)", "BackgroundTask"}));
  // The animation stayed stopped: the image does not move on.
  h.Run(1500);
  EXPECT_EQ(h.Play()->GetNormalImage(), u"Play.png");
  EXPECT_EQ(h.threads.LiveThreads(), 0);
}

TEST(ReceiverModelTest, ListRowHasTheStatedShape) {
  PanelHarness h;
  h.Create();
  h.library.AddReceiver({u"Kitchen", u"http://k/", u"1-00-00", true});
  h.RunPolls(1);
  ASSERT_EQ(h.List()->GetCount(), 1);
  EXPECT_EQ(h.List()->GetItemBkImage(), u"itembkimg.png");
  auto* row = dynamic_cast<ui::CListContainerElementUI*>(h.List()->GetItemAt(0));
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(row->GetTag(), 0u);
  EXPECT_EQ(row->GetBkImage(), u"itembkimg.png");
  EXPECT_EQ(row->GetMinHeight(), 20);
  EXPECT_EQ(row->GetMaxHeight(), 20);
  auto* columns = dynamic_cast<ui::CHorizontalLayoutUI*>(row->GetItemAt(0));
  ASSERT_NE(columns, nullptr);
  ASSERT_EQ(columns->GetCount(), 2);
  auto* left = dynamic_cast<ui::CContainerUI*>(columns->GetItemAt(0));
  auto* right = dynamic_cast<ui::CContainerUI*>(columns->GetItemAt(1));
  ASSERT_TRUE(left && right);
  EXPECT_EQ(left->GetFixedHeight(), 20);
  EXPECT_EQ(right->GetFixedWidth(), 33);
  ASSERT_EQ(left->GetCount(), 3);
  EXPECT_EQ(left->GetItemAt(1)->GetFixedHeight(), 16);
  EXPECT_EQ(left->GetItemAt(2)->GetFixedHeight(), 1);
  EXPECT_EQ(left->GetItemAt(2)->GetTag(), 2u);
  auto* text = dynamic_cast<ui::CLabelUI*>(
      dynamic_cast<ui::CContainerUI*>(left->GetItemAt(1))->GetItemAt(0));
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->GetText(), u"Kitchen");
  EXPECT_EQ(text->GetTextColor(), 0xFFFFFFFFu);
  EXPECT_EQ(text->GetFont(), 0);
  EXPECT_EQ(text->GetFixedHeight(), 16);  // fits its band, so no letter is cut
  auto* band = dynamic_cast<ui::CContainerUI*>(right->GetItemAt(1));
  ASSERT_TRUE(band && band->GetCount() == 3);
  EXPECT_EQ(band->GetFixedHeight(), 14);
  auto* cell = dynamic_cast<ui::CContainerUI*>(band->GetItemAt(1));
  ASSERT_TRUE(cell && cell->GetCount() == 1);
  EXPECT_EQ(cell->GetFixedWidth(), 14);
  EXPECT_EQ(cell->GetItemAt(0)->GetBkImage(), u"WebLink.png");
  EXPECT_EQ(cell->GetItemAt(0)->GetFixedWidth(), 14);
  EXPECT_EQ(cell->GetItemAt(0)->GetFixedHeight(), 14);
}

TEST(ReceiverModelTest, ListIsRebuiltOnlyWhenTheCountChangesOrAfterEvent20) {
  PanelHarness h;
  h.Create();
  h.library.AddReceiver({u"A", u"", u"1-00-00", true});
  h.library.AddReceiver({u"B", u"", u"1-00-00", true});
  h.RunPolls(1);
  EXPECT_EQ(RowTexts(*h.List()), (std::vector<std::u16string>{u"A", u"B"}));

  h.library.AddReceiver({u"C", u"", u"1-00-00", true});
  h.RunPolls(1);
  EXPECT_EQ(RowTexts(*h.List()), (std::vector<std::u16string>{u"A", u"B", u"C"}));
  EXPECT_EQ(h.State().known_receiver_count, 3);

  // Same count, other receivers: the list keeps its rows.
  h.library.RemoveReceiver(u"C");
  h.library.AddReceiver({u"D", u"", u"1-00-00", true});
  h.library.ClearCalls();
  h.RunPolls(1);
  EXPECT_EQ(RowTexts(*h.List()), (std::vector<std::u16string>{u"A", u"B", u"C"}));
  EXPECT_EQ(h.CountCalls("GetDeviceInfo"), 0);

  // Event 20 starts a new search and forgets the count: the next poll rebuilds.
  h.library.QueueEvent(kEventSearchAgain);
  h.RunPolls(1);
  EXPECT_EQ(h.State().known_receiver_count, 0);
  EXPECT_EQ(h.State().receiver_state, ReceiverState::kSearching);
  EXPECT_TRUE(h.State().search_animation_running);
  EXPECT_EQ(h.library.RediscoveryCount(), 1);
  h.RunPolls(1);
  EXPECT_EQ(RowTexts(*h.List()), (std::vector<std::u16string>{u"A", u"B", u"D"}));
  EXPECT_EQ(h.State().receiver_state, ReceiverState::kBound);
}

TEST(ReceiverModelTest, ACountPastWhatTheListShowsGetsItsLimitAndANegativeOneNothing) {
  PanelHarness h;
  h.Create();
  h.library.AddReceiver({u"A", u"", u"1-00-00", false});
  h.library.SetReportedCount(1 << 30);
  h.RunPolls(1);
  EXPECT_EQ(h.List()->GetCount(), kMaxReceivers);
  EXPECT_EQ(h.CountCalls("GetDeviceInfo"), kMaxReceivers);
  h.library.SetReportedCount(-5);
  h.RunPolls(1);
  EXPECT_EQ(h.State().receiver_state, ReceiverState::kSearching);
  EXPECT_EQ(h.List()->GetCount(), kMaxReceivers) << "no receiver: the rows stay";
}

TEST(ReceiverModelTest, ReceiversGoingAwayKeepTheRowsAndSearchAgain) {
  PanelHarness h;
  h.Create();
  h.library.AddReceiver({u"A", u"", u"1-00-00", true});
  h.RunPolls(1);
  ASSERT_EQ(h.State().receiver_state, ReceiverState::kBound);
  h.library.ClearReceivers();
  h.RunPolls(1);
  EXPECT_EQ(h.State().receiver_state, ReceiverState::kSearching);
  EXPECT_EQ(h.State().known_receiver_count, 1);
  EXPECT_EQ(h.List()->GetCount(), 1);
  EXPECT_FALSE(h.Play()->IsEnabled());
  h.Run(500);
  EXPECT_NE(h.Play()->GetNormalImage().find(u"tu"), std::u16string::npos);
}

class BoundPanel : public ::testing::Test {
 protected:
  void SetUp() override {
    h.Create();
    h.library.AddReceiver({u"A", u"http://a/", u"1-00-00", true});
    h.library.AddReceiver({u"B", u"http://b/", u"1-00-00", true});
    h.library.SetReportsPlayState(false);
    h.RunPolls(1);
    ASSERT_EQ(h.State().receiver_state, ReceiverState::kBound);
    h.library.ClearCalls();
    h.log.Clear();
  }
  ui::CControlUI* Row(int i) { return h.List()->GetItemAt(i); }
  void Activate(int i, int x_from_right) {
    h.manager.UpdateLayout();
    const ui::Rect pos = Row(i)->GetPos();
    h.Notify(u"itemactivate", Row(i), {pos.right - x_from_right, pos.top + 5});
  }

  PanelHarness h;
};

TEST_F(BoundPanel, RightmostThirtyPixelsOpenTheWebPageAndKeepTheSelection) {
  Activate(1, 29);
  EXPECT_EQ(h.log.Calls(),
            std::vector<std::string>{"ShellExecute open iexplore.exe [\"http://b/\"] 5"});
  EXPECT_EQ(h.State().selected_receiver, 0);

  // Without a browser the address itself goes to the shell.
  h.shell.SetBrowserResult(2);
  h.log.Clear();
  Activate(1, 1);
  EXPECT_EQ(h.log.Calls(),
            (std::vector<std::string>{"ShellExecute open iexplore.exe [\"http://b/\"] 5",
                                      "ShellExecute open http://b/ [] 5"}));
  EXPECT_EQ(h.library.Calls(), (std::vector<std::string>{"GetDeviceInfo(1)", "GetDeviceInfo(1)"}));
}

TEST_F(BoundPanel, AReceiverAddressThatIsNoWebAddressOpensNothing) {
  h.library.ClearReceivers();
  for (const char16_t* address :
       {u"C:\\Windows\\system32\\calc.exe", u"\\\\server\\share\\setup.exe", u"",
        u"file:///C:/x.exe", u"http://a/\" -silent \"C:\\x.exe", u"http:///C:/x.exe"}) {
    h.library.AddReceiver({u"R", address, u"1-00-00", true});
  }
  h.RunPolls(1);
  ASSERT_EQ(h.List()->GetCount(), 6);
  h.log.Clear();
  for (int i = 0; i < 6; ++i) Activate(i, 1);
  EXPECT_TRUE(h.log.Calls().empty()) << h.log.Calls().front();
  EXPECT_EQ(h.debug.Lines().size(), 6u);
}

TEST_F(BoundPanel, ActivatingAnotherRowSelectsItAndTheSameRowDoesNothing) {
  Activate(0, 31);
  EXPECT_TRUE(h.library.Calls().empty());

  Activate(1, 30);  // exactly 30 pixels from the right edge is still the row itself
  EXPECT_EQ(h.library.Calls(), (std::vector<std::string>{"ServiceInit(1)", "SetSelectDevice(1)",
                                                         "GetDeviceUniqueName(1,128)"}));
  EXPECT_EQ(h.State().selected_receiver, 1);
  EXPECT_EQ(h.State().receiver_state, ReceiverState::kBound);
}

TEST_F(BoundPanel, SelectionFailsWithoutChangeWhenStopOrBindingIsRefused) {
  h.library.QueueVariable(u"varPlay", u"True");
  h.RunPolls(1);
  ASSERT_TRUE(h.State().is_streaming);
  EXPECT_EQ(h.Play()->GetNormalImage(), u"Stop.png");

  h.library.SetCommandsAccepted(false);
  h.library.ClearCalls();
  Activate(1, 31);
  EXPECT_EQ(h.library.Calls(), std::vector<std::string>{"SetCommand(0,SetStop,)"});
  EXPECT_EQ(h.State().selected_receiver, 0);
  EXPECT_TRUE(h.State().is_streaming);

  h.library.SetCommandsAccepted(true);
  h.library.SetAcceptsBinding(u"B", false);
  h.library.ClearCalls();
  Activate(1, 31);
  EXPECT_EQ(h.library.Calls(),
            (std::vector<std::string>{"SetCommand(0,SetStop,)", "ServiceInit(1)"}));
  EXPECT_EQ(h.State().selected_receiver, 0);

  h.library.SetAcceptsBinding(u"B", true);
  Activate(1, 31);
  EXPECT_EQ(h.State().selected_receiver, 1);
  EXPECT_FALSE(h.State().is_streaming);
  EXPECT_EQ(h.Play()->GetNormalImage(), u"Play.png");
}

TEST_F(BoundPanel, ControlChangesReachTheUiInTheOrderTheyWereMade) {
  // A poll hears event 20 and enters Searching; before the UI thread has applied that, the
  // user binds receiver 1. The later change must win: Bound shows an enabled "Play.png".
  h.library.QueueEvent(kEventSearchAgain);
  std::thread worker([this] { h.frame->Receivers().PollWorker(PollRequest{h.List(), h.Play()}); });
  worker.join();
  ASSERT_EQ(h.State().receiver_state, ReceiverState::kSearching);
  EXPECT_TRUE(h.Play()->IsEnabled());  // not applied yet
  Activate(1, 31);
  EXPECT_EQ(h.State().receiver_state, ReceiverState::kBound);
  EXPECT_TRUE(h.Play()->IsEnabled());
  EXPECT_EQ(h.Play()->GetNormalImage(), u"Play.png");
}

TEST_F(BoundPanel, PlainCapabilityCodePlaysWithoutAskingForH264AndHidesToTray) {
  h.library.SetH264Present(true);
  h.Click(u"play");
  EXPECT_EQ(h.library.Calls(), (std::vector<std::string>{
                                   "GetDeviceCount", "GetDeviceInfo(0)", "GetExtensionScreen",
                                   "GetPortNumber", "GetVideoMode", "SetVideoMode(0)",
                                   "SetVirtualExtend(0)", "SetCommand(0,SetPlay,1_0_1_8554_0_0)"}));
  EXPECT_EQ(h.log.Calls(), (std::vector<std::string>{"AddIcon Quandle 1.0", "Show 0 1"}));
  EXPECT_FALSE(h.window.IsVisible());
  EXPECT_TRUE(h.Play()->IsEnabled());
  EXPECT_TRUE(h.Find(u"closebtn")->IsEnabled());
  // Play and stop change neither the streaming flag nor the image; the reports do.
  EXPECT_FALSE(h.State().is_streaming);
  EXPECT_EQ(h.Play()->GetNormalImage(), u"Play.png");
}

TEST_F(BoundPanel, CapabilityDigitChoosesH264AndTheSecondBit) {
  struct Case {
    const char16_t* code;
    bool h264_present;
    int32_t video_mode;
    bool extended;
    const char* parameter;
    bool asks_h264;
  };
  const Case cases[] = {
      {u"1-01-003", true, 1, false, "1_1_1_8554_1_1", true},
      {u"1-01-003", false, 1, true, "1_0_2_8554_0_1", true},
      {u"1-01-00B", true, 0, false, "1_1_1_8554_1_1", true},
      {u"1-01-002", true, 1, false, "1_0_1_8554_0_1", false},
      {u"1-01-00-", true, 1, false, "1_0_1_8554_0_0", false},
      {u"1-00-00", true, 2, true, "2_1_2_8554_0_0", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(sim::LogText(c.code));
    h.library.ClearReceivers();
    h.library.AddReceiver({u"A", u"", c.code, true});
    h.library.AddReceiver({u"B", u"", c.code, true});
    h.library.SetH264Present(c.h264_present);
    h.library.PresetVideoMode(c.video_mode);
    h.library.PresetExtensionScreen(c.extended ? 1 : 0);
    h.library.ClearCalls();
    h.Click(u"play");
    EXPECT_EQ(sim::LogText(h.library.LastPlayParameter()), c.parameter);
    EXPECT_EQ(h.CountCalls("ExistH264Encoder"), c.asks_h264 ? 1 : 0);
    // Mode 2 is left as it is; otherwise the mode follows H.264.
    EXPECT_EQ(h.CountCalls("SetVideoMode"), c.video_mode == 2 ? 0 : 1);
    const auto calls = h.library.Calls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[calls.size() - 2], "SetVirtualExtend(0)");
  }
}

TEST_F(BoundPanel, RefusedPlayKeepsTheWindowAndReenablesTheButtons) {
  h.library.SetCommandsAccepted(false);
  h.Click(u"play");
  EXPECT_TRUE(h.window.IsVisible());
  EXPECT_EQ(h.tray.IconsAdded(), 0);
  EXPECT_TRUE(h.Play()->IsEnabled());
  EXPECT_TRUE(h.Find(u"closebtn")->IsEnabled());
}

TEST_F(BoundPanel, TheUiThreadNeverWaitsForTheLibraryAndASecondClickSendsNothing) {
  // The library holds SetCommand until the test lets it go, as a slow library would.
  const auto ui_thread = std::this_thread::get_id();
  std::mutex gate;
  std::condition_variable changed;
  bool inside = false;
  bool release = false;
  std::set<std::thread::id> callers;
  h.library.before_call = [&](std::string_view function) {
    std::unique_lock hold(gate);
    callers.insert(std::this_thread::get_id());
    if (function != "SetCommand" || std::this_thread::get_id() == ui_thread) return;
    inside = true;
    changed.notify_all();
    changed.wait(hold, [&] { return release; });
  };
  ui::TNotifyUI click;
  click.sType = u"click";
  click.pSender = h.Play();
  h.frame->Notify(click);
  EXPECT_FALSE(h.Play()->IsEnabled());
  EXPECT_FALSE(h.Find(u"closebtn")->IsEnabled());
  {
    std::unique_lock hold(gate);
    ASSERT_TRUE(changed.wait_for(hold, std::chrono::seconds(10), [&] { return inside; }));
  }
  // Meanwhile the UI thread paints, applies queued changes and a second click sends nothing.
  h.Paint();
  h.Pump();
  h.frame->Notify(click);
  h.Pump();
  EXPECT_FALSE(h.Play()->IsEnabled());
  EXPECT_FALSE(h.Find(u"closebtn")->IsEnabled());
  {
    std::lock_guard hold(gate);
    release = true;
  }
  changed.notify_all();
  h.Settle();
  EXPECT_EQ(h.CountCalls("SetCommand"), 1);
  EXPECT_TRUE(h.Play()->IsEnabled());
  EXPECT_TRUE(h.Find(u"closebtn")->IsEnabled());
  EXPECT_FALSE(h.window.IsVisible());

  // Row activation and settings go to the library from the worker too.
  Activate(1, 1);
  Activate(1, 31);
  h.Notify(u"valuechanged", h.Find(u"sliderbuffer"));
  h.Notify(u"selectchanged", h.Find(u"checklocalaudio"));
  EXPECT_EQ(h.State().selected_receiver, 1);
  EXPECT_EQ(callers.count(ui_thread), 0u);
}

TEST(ReceiverModelTest, TheHintFollowsTheStateAndNamesTheReceiver) {
  PanelHarness h;
  h.Create();
  const auto hint = [&] { return sim::LogText(h.Find(u"hint")->GetText()); };
  EXPECT_EQ(hint(), "Searching for receivers...");
  h.library.AddReceiver({u"Kitchen", u"", u"1-00-00", false});
  h.RunPolls(1);
  EXPECT_EQ(hint(), "Choose a receiver, then press play");
  h.library.SetAcceptsBinding(u"Kitchen", true);
  h.library.SetReportsPlayState(false);
  h.RunPolls(1);
  EXPECT_EQ(hint(), "Press play to stream to Kitchen");
  h.library.SetCommandsAccepted(false);
  h.Click(u"play");
  EXPECT_EQ(hint(), "The receiver did not start playing");
  h.library.QueueVariable(u"varPlay", u"True");
  h.RunPolls(1);
  EXPECT_EQ(hint(), "Streaming to Kitchen");
}

TEST_F(BoundPanel, PlayReportsDriveTheButtonAndStopIsSentWhileStreaming) {
  h.library.QueueVariable(u"varPlay", u"True");
  h.RunPolls(1);
  EXPECT_TRUE(h.State().is_streaming);
  EXPECT_EQ(h.Play()->GetNormalImage(), u"Stop.png");

  for (const char16_t* value : {u"true", u"", u"TRUE ", u"False!"}) {
    h.library.QueueVariable(u"varPlay", value);
    h.RunPolls(1);
    EXPECT_TRUE(h.State().is_streaming);
    EXPECT_EQ(h.Play()->GetNormalImage(), u"Stop.png");
  }
  h.library.QueueVariable(u"VarPlay", u"False");
  h.RunPolls(1);
  EXPECT_TRUE(h.State().is_streaming);

  h.library.ClearCalls();
  h.Click(u"play");
  EXPECT_EQ(h.library.Calls(),
            (std::vector<std::string>{"GetDeviceCount", "SetCommand(0,SetStop,)"}));
  EXPECT_TRUE(h.window.IsVisible());

  h.library.QueueVariable(u"varPlay", u"False");
  h.RunPolls(1);
  EXPECT_FALSE(h.State().is_streaming);
  EXPECT_EQ(h.Play()->GetNormalImage(), u"Play.png");
}

TEST_F(BoundPanel, PlayWithoutReceiversSearchesAndPlayWhileSearchingDoesNothing) {
  h.library.ClearReceivers();
  h.Click(u"play");
  EXPECT_EQ(h.library.Calls(), std::vector<std::string>{"GetDeviceCount"});
  EXPECT_EQ(h.State().receiver_state, ReceiverState::kSearching);
  EXPECT_TRUE(h.State().search_animation_running);
  EXPECT_FALSE(h.Play()->IsEnabled());

  // Receivers back but not bound yet: play does nothing.
  h.library.AddReceiver({u"A", u"", u"1-00-00", false});
  h.library.ClearCalls();
  h.Click(u"play");
  EXPECT_EQ(h.library.Calls(), std::vector<std::string>{"GetDeviceCount"});
  // While Searching the selection is 0, so activating row 0 changes nothing either.
  Activate(0, 31);
  EXPECT_EQ(h.library.Calls(), std::vector<std::string>{"GetDeviceCount"});
}

TEST(ReceiverModelSettingsTest, LibrarySettingsAreShownAndChangesPassedThrough) {
  PanelHarness h;
  h.library.PresetVideoMode(2);
  h.library.PresetLocalAudio(1);
  h.library.PresetExtensionScreen(1);
  h.Create();
  auto* slider = dynamic_cast<ui::CProgressUI*>(h.Find(u"sliderbuffer"));
  auto* audio = dynamic_cast<ui::COptionUI*>(h.Find(u"checklocalaudio"));
  auto* extended = dynamic_cast<ui::COptionUI*>(h.Find(u"checkextscr"));
  EXPECT_EQ(slider->GetValue(), 2);
  EXPECT_TRUE(audio->IsSelected());
  EXPECT_TRUE(extended->IsSelected());
  EXPECT_EQ(h.CountCalls("SetLocalAudio"), 0);  // showing is not changing

  slider->SetValue(0);
  h.Notify(u"ValueChanged", slider);
  audio->Selected(false, false);
  h.Notify(u"selectchanged", audio);
  extended->Selected(false, false);
  h.Notify(u"SELECTCHANGED", extended);
  const auto calls = h.library.Calls();
  EXPECT_EQ(
      std::vector<std::string>(calls.end() - 3, calls.end()),
      (std::vector<std::string>{"SetVideoMode(0)", "SetLocalAudio(0)", "SetExtensionScreen(0)"}));
}

TEST(ReceiverModelSettingsTest, OutOfRangeSettingsLeaveTheSkinsValuesAndNoExtendedScreenHides) {
  PanelHarness h;
  h.library.PresetVideoMode(3);
  h.library.PresetLocalAudio(7);
  h.library.SetExtensionScreenOffered(false);
  h.Create();
  EXPECT_EQ(dynamic_cast<ui::CProgressUI*>(h.Find(u"sliderbuffer"))->GetValue(), 1);
  EXPECT_FALSE(dynamic_cast<ui::COptionUI*>(h.Find(u"checklocalaudio"))->IsSelected());
  EXPECT_FALSE(h.Find(u"checkextscr")->IsVisible());
  EXPECT_FALSE(h.Find(u"scrtext")->IsVisible());
  EXPECT_EQ(h.State().receiver_state, ReceiverState::kSearching);
}

TEST(ReceiverModelFailureTest, PollingGoesOnWhenNoWorkerThreadCanStart) {
  PanelHarness h;
  h.Create();
  h.library.ClearCalls();
  h.threads.FailThreadStarts(1);
  h.RunPolls(1);
  EXPECT_EQ(h.library.Calls().size(), 0u);
  EXPECT_TRUE(h.timers.IsArmed(kPollTimerId));
  h.library.AddReceiver({u"A", u"", u"1-00-00", true});
  h.RunPolls(1);
  EXPECT_EQ(h.State().receiver_state, ReceiverState::kBound);
}

// A library that throws from its calls, as a misbehaving outside part might.
class ThrowingLibrary : public LoggedLibrary {
 public:
  using LoggedLibrary::LoggedLibrary;
  int32_t GetDeviceCount() override {
    if (throw_next_) {
      throw_next_ = false;
      throw std::runtime_error("library failure");
    }
    return LoggedLibrary::GetDeviceCount();
  }
  bool throw_next_ = false;
};

TEST(ReceiverModelFailureTest, AnExceptionInAPollDoesNotStopPolling) {
  sim::CallLog log;
  ThrowingLibrary library(log);
  library.LibraryInit();
  sim::VirtualThreads threads;
  sim::SimWindowTimers timers(log);
  sim::SimShellOpen shell(log);
  platform::sim::RecordingDebugOutput debug;
  ui::sim::SimWindowPort port({0, 0, 800, 572});
  ui::sim::MemoryResourceFiles files;
  ui::sim::PngHeaderDecoder decoder;
  ui::SkinResources resources(files);
  ui::CPaintManagerUI manager;
  manager.Init(port, resources, decoder);
  {
    ReceiverModel model({library, threads, timers, shell, debug, manager}, [] {});
    library.throw_next_ = true;
    model.PollWorker(PollRequest{nullptr, nullptr});
    intptr_t result = 0;
    manager.MessageHandler(ui::kInvokeMessage, 0, 0, result);
    EXPECT_TRUE(timers.IsArmed(kPollTimerId));
    library.AddReceiver({u"A", u"", u"1-00-00", true});
    model.PollWorker(PollRequest{nullptr, nullptr});
    EXPECT_EQ(model.Snapshot().receiver_state, ReceiverState::kBound);
  }
  threads.Settle();
}

}  // namespace
}  // namespace panel::test
