// The frame's rules on the real skin: layout toggles, the notification table, the tray, the
// caption buttons and the shutdown order.
#include <gtest/gtest.h>

#include "panel_harness.h"

namespace panel::test {
namespace {

class PanelFrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    h.Create();
    h.log.Clear();
  }
  ui::Size WindowSize() {
    const ui::Rect r = h.window.GetClientRect();
    return {r.Width(), r.Height()};
  }
  // What the paint recorder shows at the frame's top-left corner.
  const ui::UiImage* FrameBackground() { return h.Paint().ImageAt({2, 300}); }

  PanelHarness h;
};

TEST_F(PanelFrameTest, SettingsToggleGrowsAndRestoresTheWindowAndLayout) {
  h.Click(u"setbtn");
  EXPECT_EQ(WindowSize(), (ui::Size{800, 632}));
  EXPECT_TRUE(h.Find(u"setpos")->IsVisible());
  EXPECT_EQ(h.Find(u"setpos")->GetFixedHeight(), 80);
  EXPECT_EQ(h.Find(u"body4")->GetFixedHeight(), 20);
  EXPECT_EQ(h.Find(u"frame")->GetBkImage(), u"bkimg02.png");
  EXPECT_EQ(h.log.Calls(), std::vector<std::string>{"Resize 800 632"});

  h.Click(u"setbtn");
  EXPECT_EQ(WindowSize(), (ui::Size{800, 572}));
  EXPECT_FALSE(h.Find(u"setpos")->IsVisible());
  EXPECT_EQ(h.Find(u"setpos")->GetFixedHeight(), 60);
  EXPECT_EQ(h.Find(u"body4")->GetFixedHeight(), 40);
  EXPECT_EQ(h.Find(u"frame")->GetBkImage(), u"bkimg01.png");
  EXPECT_EQ(FrameBackground(), h.manager.GetImage(u"bkimg01.png"));
  EXPECT_FALSE(h.frame->SettingsShown());
}

TEST_F(PanelFrameTest, PlayListToggleWidensAndRestores) {
  h.Click(u"playlistshowbtn");
  EXPECT_EQ(WindowSize(), (ui::Size{900, 572}));
  EXPECT_TRUE(h.Find(u"playlist")->IsVisible());
  EXPECT_EQ(h.Find(u"playlist")->GetFixedWidth(), 120);
  EXPECT_EQ(h.Find(u"mainpos")->GetFixedWidth(), 260);
  EXPECT_EQ(h.Find(u"frame")->GetBkImage(), u"bkimg03.png");
  h.Click(u"playlistshowbtn");
  EXPECT_EQ(WindowSize(), (ui::Size{800, 572}));
  EXPECT_FALSE(h.Find(u"playlist")->IsVisible());
  EXPECT_EQ(h.Find(u"mainpos")->GetFixedWidth(), 280);
  EXPECT_EQ(h.Find(u"playlist")->GetFixedWidth(), 100);
  EXPECT_EQ(h.Find(u"frame")->GetBkImage(), u"bkimg01.png");
}

TEST_F(PanelFrameTest, BothAreasOpenUseTheFourthRowAndPaintIt) {
  h.Click(u"setbtn");
  h.Click(u"playlistshowbtn");
  EXPECT_EQ(WindowSize(), (ui::Size{900, 632}));
  EXPECT_EQ(h.Find(u"frame")->GetBkImage(), u"bkimg04.png");
  EXPECT_EQ(h.Find(u"mainpos")->GetFixedWidth(), 260);
  EXPECT_EQ(h.Find(u"setpos")->GetFixedHeight(), 80);
  EXPECT_EQ(h.Find(u"playlist")->GetFixedWidth(), 120);
  EXPECT_EQ(h.Find(u"body4")->GetFixedHeight(), 20);
  ASSERT_NE(h.manager.GetImage(u"bkimg04.png"), nullptr);
  EXPECT_EQ(FrameBackground(), h.manager.GetImage(u"bkimg04.png"));
}

TEST_F(PanelFrameTest, NotificationsThatDoNothing) {
  const std::u16string before = h.Play()->GetNormalImage();
  h.Click(u"test");
  h.Notify(u"windowinit", h.Find(u"play"));
  h.Notify(u"KillFocus", h.Find(u"play"));
  h.Notify(u"Click", h.Find(u"hint"));
  h.Notify(u"click", nullptr);
  // "itemactivate" and "itemselect" compare exactly.
  h.Notify(u"ItemSelect", h.Find(u"setview"));
  h.Notify(u"valuechanged", h.Find(u"checklocalaudio"));
  EXPECT_TRUE(h.log.Calls().empty());
  EXPECT_TRUE(h.topologies.empty());
  EXPECT_EQ(h.CountCalls("Set"), 0);
  EXPECT_EQ(WindowSize(), (ui::Size{800, 572}));
  EXPECT_EQ(h.Play()->GetNormalImage(), before);
}

TEST_F(PanelFrameTest, ClickNamesAreCaseInsensitiveButSenderNamesExact) {
  h.Notify(u"CLICK", h.Find(u"setbtn"));
  EXPECT_TRUE(h.frame->SettingsShown());
  h.Notify(u"click", h.Find(u"minbtn"));
  EXPECT_EQ(h.log.Calls().back(), "Show 0 1");
}

TEST_F(PanelFrameTest, TopologyChoiceFromSetview) {
  auto* list = dynamic_cast<ui::CListUI*>(h.Find(u"setview"));
  ASSERT_NE(list, nullptr);
  h.Notify(u"itemselect", list);  // nothing selected
  list->SelectItem(1, false);     // "exp"
  h.Notify(u"itemselect", list);
  list->SelectItem(0, false);  // "copy"
  h.Notify(u"itemselect", list);
  list->SelectItem(2, false);  // "only"
  h.Notify(u"itemselect", list);
  EXPECT_EQ(h.topologies, (std::vector<int>{4, 2, 1}));
  EXPECT_EQ(h.Find(u"modehint")->GetText(), u"Display: main only");
}

TEST_F(PanelFrameTest, TrayCallback) {
  EXPECT_EQ(h.frame->OnTrayCallback(100, kWmLButtonDblClk), 1);
  EXPECT_TRUE(h.log.Calls().empty());

  h.frame->HideToTray();
  EXPECT_FALSE(h.window.IsVisible());
  h.log.Clear();
  EXPECT_EQ(h.frame->OnTrayCallback(kTrayIconId, kWmLButtonDblClk), 0);
  EXPECT_TRUE(h.window.IsVisible());
  // Restored: the icon goes, once.
  EXPECT_EQ(h.log.Calls(), (std::vector<std::string>{"RemoveIcon", "Show 1 1"}));
  h.frame->OnWindowShown();
  EXPECT_EQ(h.log.Calls().size(), 2u);

  h.log.Clear();
  EXPECT_EQ(h.frame->OnTrayCallback(kTrayIconId, kWmRButtonUp), 0);
  EXPECT_EQ(h.log.Calls(),
            (std::vector<std::string>{"SetForeground", "TrackMenu <exit item> 2001", "SendNull"}));
  EXPECT_FALSE(h.window.QuitCode());

  h.log.Clear();
  EXPECT_EQ(h.frame->OnTrayCallback(kTrayIconId, 0x0200), 0);  // a mouse move does nothing
  EXPECT_TRUE(h.log.Calls().empty());
}

TEST_F(PanelFrameTest, ExitFromTheTrayMenuEndsAsCloseButtonDoes) {
  h.frame->HideToTray();
  h.log.Clear();
  h.tray.ChooseFromMenu(true);
  h.frame->OnTrayCallback(kTrayIconId, kWmRButtonUp);
  EXPECT_EQ(h.log.Calls(),
            (std::vector<std::string>{"SetForeground", "TrackMenu <exit item> 2001", "Hide",
                                      "RemoveIcon", "ReleaseMutex Quandle.exe", "KillTimer 9999",
                                      "LibraryDestroy", "PostQuit 0"}));
  EXPECT_FALSE(h.library.IsInitialised());
  EXPECT_FALSE(h.State().search_animation_running);

  PanelHarness other;
  other.Create();
  other.log.Clear();
  other.Click(u"closebtn");
  EXPECT_EQ(other.log.Calls(),
            (std::vector<std::string>{"Hide", "ReleaseMutex Quandle.exe", "KillTimer 9999",
                                      "LibraryDestroy", "PostQuit 0"}));
}

TEST_F(PanelFrameTest, NoPollTouchesTheLibraryAfterExit) {
  h.Click(u"closebtn");
  h.library.ClearCalls();
  // A poll already under way when the program ends.
  h.frame->Receivers().PollWorker(PollRequest{h.List(), h.Play()});
  h.Settle();
  EXPECT_TRUE(h.library.Calls().empty());
  EXPECT_FALSE(h.timers.IsArmed(kPollTimerId));
}

TEST_F(PanelFrameTest, SysCommandCloseExitsAndMaximiseSwapsTheCaptionButtons) {
  int base_calls = 0;
  const auto base = [&] {
    ++base_calls;
    h.window.SetMaximised(!h.window.IsMaximised());
    return intptr_t{7};
  };
  EXPECT_EQ(h.frame->OnSysCommand(0xF030, base), 7);  // SC_MAXIMIZE
  EXPECT_FALSE(h.Find(u"maxbtn")->IsVisible());
  EXPECT_TRUE(h.Find(u"restorebtn")->IsVisible());
  EXPECT_EQ(h.frame->OnSysCommand(0xF120, base), 7);  // SC_RESTORE
  EXPECT_TRUE(h.Find(u"maxbtn")->IsVisible());
  EXPECT_FALSE(h.Find(u"restorebtn")->IsVisible());
  // A command that leaves the state alone leaves the buttons alone.
  EXPECT_EQ(h.frame->OnSysCommand(0xF010, [] { return intptr_t{3}; }), 3);
  EXPECT_TRUE(h.Find(u"maxbtn")->IsVisible());

  // The caption buttons ask the window for the same commands.
  h.log.Clear();
  h.Click(u"maxbtn");
  h.Click(u"restorebtn");
  EXPECT_EQ(h.log.Calls(), (std::vector<std::string>{"SysCommand F030", "SysCommand F120"}));

  // The system may set the command's low four bits; a close is a close all the same.
  EXPECT_EQ(h.frame->OnSysCommand(kScClose | 0x2, base), 0);
  EXPECT_EQ(base_calls, 2);
  EXPECT_EQ(h.window.QuitCode(), 0);
}

}  // namespace
}  // namespace panel::test
