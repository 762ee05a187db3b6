// The frame's pure rules: caption test, notification table, layout table, capability digit and
// play parameter, the bounded reading of library text, and which receiver addresses may be
// opened.
#include <gtest/gtest.h>

#include "panel/core/caption_test.h"
#include "panel/core/field_text.h"
#include "panel/core/layout_table.h"
#include "panel/core/library_records.h"
#include "panel/core/notification_table.h"
#include "panel/core/play_parameter.h"
#include "panel/core/receiver_row.h"
#include "panel/core/web_address.h"

namespace panel {
namespace {

TEST(CaptionTest, InsetsAndAbsoluteRowsBoundTheCaption) {
  const ui::Rect client{0, 0, 800, 572};
  const ui::Rect caption{10, 5, 20, 48};  // left and right insets, top and bottom absolute
  EXPECT_EQ(CaptionHitTest({10, 5}, client, caption, u"ControlUI"), NcHit::kCaption);
  EXPECT_EQ(CaptionHitTest({779, 47}, client, caption, u"LabelUI"), NcHit::kCaption);
  EXPECT_EQ(CaptionHitTest({9, 20}, client, caption, u"ControlUI"), NcHit::kClient);
  EXPECT_EQ(CaptionHitTest({780, 20}, client, caption, u"ControlUI"), NcHit::kClient);
  EXPECT_EQ(CaptionHitTest({100, 4}, client, caption, u"ControlUI"), NcHit::kClient);
  EXPECT_EQ(CaptionHitTest({100, 48}, client, caption, u"ControlUI"), NcHit::kClient);
  // Pressable controls stay clickable; no control at all is client area.
  for (const char16_t* kind : {u"ButtonUI", u"OptionUI", u"TextUI", u""}) {
    EXPECT_EQ(CaptionHitTest({100, 20}, client, caption, kind), NcHit::kClient);
  }
  EXPECT_EQ(CaptionHitTest({100, 20}, client, caption, u"buttonui"), NcHit::kCaption);
  EXPECT_TRUE(InCaptionArea({100, 20}, client, caption));
  // The client rectangle's own offset counts for the insets.
  EXPECT_FALSE(InCaptionArea({15, 20}, {10, 0, 810, 572}, caption));
}

TEST(NotificationTableTest, FirstMatchingRowWithCaseRules) {
  EXPECT_EQ(ClassifyNotification(u"click", u"closebtn", false), PanelAction::kExitPanel);
  EXPECT_EQ(ClassifyNotification(u"ClIcK", u"minbtn", false), PanelAction::kHideToTray);
  EXPECT_EQ(ClassifyNotification(u"click", u"setbtn", false), PanelAction::kToggleSettingsPanel);
  EXPECT_EQ(ClassifyNotification(u"click", u"playlistshowbtn", false),
            PanelAction::kTogglePlayList);
  EXPECT_EQ(ClassifyNotification(u"click", u"play", false), PanelAction::kTogglePlay);
  EXPECT_EQ(ClassifyNotification(u"click", u"test", false), PanelAction::kNone);
  EXPECT_EQ(ClassifyNotification(u"click", u"Play", false), PanelAction::kNone);
  EXPECT_EQ(ClassifyNotification(u"VALUECHANGED", u"sliderbuffer", false),
            PanelAction::kSetVideoMode);
  EXPECT_EQ(ClassifyNotification(u"selectChanged", u"checklocalaudio", false),
            PanelAction::kSetLocalAudio);
  EXPECT_EQ(ClassifyNotification(u"selectchanged", u"checkextscr", false),
            PanelAction::kSetExtensionScreen);
  EXPECT_EQ(ClassifyNotification(u"itemactivate", u"", true), PanelAction::kActivateRow);
  EXPECT_EQ(ClassifyNotification(u"itemactivate", u"copy", false), PanelAction::kNone);
  EXPECT_EQ(ClassifyNotification(u"ItemActivate", u"", true), PanelAction::kNone);
  EXPECT_EQ(ClassifyNotification(u"itemselect", u"setview", false), PanelAction::kApplyTopology);
  EXPECT_EQ(ClassifyNotification(u"itemselect", u"domainlist", false), PanelAction::kNone);
  EXPECT_EQ(ClassifyNotification(u"itemSelect", u"setview", false), PanelAction::kNone);
  // "windowinit" and "killfocus" come first: nothing, whatever the sender.
  EXPECT_EQ(ClassifyNotification(u"WindowInit", u"closebtn", true), PanelAction::kNone);
  EXPECT_EQ(ClassifyNotification(u"clicks", u"closebtn", false), PanelAction::kNone);
}

TEST(NotificationTableTest, TopologyChoiceTakesTheFirstSelected) {
  EXPECT_EQ(TopologyChoice(true, true, true), 2);
  EXPECT_EQ(TopologyChoice(false, true, true), 4);
  EXPECT_EQ(TopologyChoice(false, false, true), 1);
  EXPECT_EQ(TopologyChoice(false, false, false), 0);
}

TEST(LayoutTableTest, RowsForEachPairOfFlags) {
  const LayoutRow& none = LayoutRowFor(false, false);
  EXPECT_EQ(none.mainpos_width, 280);
  EXPECT_EQ(none.playlist_width, 100);
  EXPECT_EQ(none.body4_height, 40);
  EXPECT_EQ(none.setpos_height, 60);
  EXPECT_EQ(std::u16string(none.frame_background), u"bkimg01.png");
  const LayoutRow& settings = LayoutRowFor(true, false);
  EXPECT_EQ(settings.body4_height, 20);
  EXPECT_EQ(settings.setpos_height, 80);
  EXPECT_EQ(std::u16string(settings.frame_background), u"bkimg02.png");
  const LayoutRow& list = LayoutRowFor(false, true);
  EXPECT_EQ(list.mainpos_width, 260);
  EXPECT_EQ(list.playlist_width, 120);
  EXPECT_EQ(std::u16string(list.frame_background), u"bkimg03.png");
  EXPECT_EQ(std::u16string(LayoutRowFor(true, true).frame_background), u"bkimg04.png");
}

TEST(PlayParameterTest, CapabilityDigitFromTheEighthCharacter) {
  EXPECT_EQ(CapabilityDigit(u"1-00-00"), 0);  // too short
  EXPECT_EQ(CapabilityDigit(u"1-00-003"), 3);
  EXPECT_EQ(CapabilityDigit(u"1-00-00F"), 15);
  EXPECT_EQ(CapabilityDigit(u"1-00-00A"), 10);
  EXPECT_EQ(CapabilityDigit(u"1-00-00@"), 16);  // between "9" and "A": c - 48
  EXPECT_EQ(CapabilityDigit(u"1-00-00a"), 42);  // lower case: c - 55
  EXPECT_EQ(CapabilityDigit(u"1-00-00-"), 0);
  EXPECT_EQ(CapabilityDigit(u"1-00-00\u00FF"), 200);  // taken in 8 bits
  EXPECT_EQ(CapabilityDigit(u"1-00-00\u0141"), 10);   // 0x141 - 55 = 0x10A, low 8 bits
}

TEST(PlayParameterTest, KeysPortAndFlags) {
  EXPECT_EQ(BuildPlayParameter({1, false, false, false, 8554}), u"1_0_1_8554_0_0");
  EXPECT_EQ(BuildPlayParameter({0, false, true, true, 0}), u"1_0_2_0_0_1");
  EXPECT_EQ(BuildPlayParameter({1, true, true, false, 7}), u"1_1_1_7_1_1");
  EXPECT_EQ(BuildPlayParameter({3, true, false, true, 7}), u"1_1_2_7_1_0");
  EXPECT_EQ(BuildPlayParameter({2, true, false, false, 7}), u"2_1_1_7_1_0");
  EXPECT_EQ(BuildPlayParameter({2, false, false, true, -5}), u"2_1_2_-5_0_0");
}

TEST(ReceiverRowTest, FieldTextStopsAtTheTerminatorOrTheFieldsEnd) {
  ReceiverInfo info{};
  for (char16_t& c : info.DisplayName) c = u'x';
  EXPECT_EQ(FieldText(info.DisplayName).size(), std::size(info.DisplayName));
  info.WebAddress[0] = u'h';
  EXPECT_EQ(FieldText(info.WebAddress), u"h");

  // A pointed-at text is read no further than its bound.
  const char16_t unterminated[4] = {u'T', u'r', u'u', u'e'};
  EXPECT_EQ(PointedText(unterminated, 3), std::nullopt);
  EXPECT_EQ(PointedText(u"True", 4), u"True");
  EXPECT_EQ(PointedText(u"False", 4), std::nullopt);
  EXPECT_EQ(PointedText(nullptr, 4), std::nullopt);
}

TEST(WebAddressTest, OnlyAbsoluteHttpAddressesMayBeOpened) {
  for (const char16_t* address :
       {u"http://192.168.1.20/", u"HTTPS://receiver.local:8080/a?b=c", u"http://x"}) {
    EXPECT_TRUE(IsBrowsableWebAddress(address)) << std::u16string_view(address).size();
  }
  for (const char16_t* address :
       {u"", u"http://", u"https:///C:/x.exe", u"http:\\\\server\\share", u"ftp://x/",
        u"C:\\Windows\\notepad.exe", u"\\\\server\\share\\x.exe", u"file:///C:/x.exe",
        u"http://x/ C:\\y.exe", u"http://x/\"", u"http://x/\t", u" http://x/"}) {
    EXPECT_FALSE(IsBrowsableWebAddress(address)) << std::u16string_view(address).size();
  }
  EXPECT_EQ(QuotedParameter(u"http://x/"), u"\"http://x/\"");
}

}  // namespace
}  // namespace panel
