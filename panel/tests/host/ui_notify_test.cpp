#include <gtest/gtest.h>

#include "ui/button.h"
#include "ui/list.h"
#include "ui/option.h"
#include "ui/progress.h"
#include "ui_test_support.h"

namespace ui::test {
namespace {

constexpr char kPanel[] = R"(<VerticalLayout>
  <HorizontalLayout height="40">
    <Button name="btn" width="40"/><Option name="opt" width="40"/>
    <Option name="r1" group="g" width="40" selected="true"/><Option name="r2" group="g" width="40"/>
    <Progress name="slider" width="112" slider="true" min="0" max="2" thumbsize="12,12"/>
  </HorizontalLayout>
  <List name="list" height="60">
    <ListLabelElement name="copy" height="20" text="Copy"/>
    <ListLabelElement name="exp" height="20" text="Extend"/>
    <ListContainerElement name="row" height="20"><Button name="inner"/></ListContainerElement>
  </List>
  <Control name="rest"/>
</VerticalLayout>)";

class UiNotifyTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(ui_.Build(kPanel), nullptr) << ui_.error; }
  template <typename T>
  T* Find(std::u16string_view name) {
    return dynamic_cast<T*>(ui_.manager.FindControl(name));
  }
  UiHarness ui_;
};

TEST_F(UiNotifyTest, ClickNeedsPressAndReleaseOverAnEnabledButton) {
  ui_.Click(20, 20);
  ASSERT_EQ(ui_.Types(), (std::vector<std::u16string>{u"click"}));
  EXPECT_EQ(ui_.seen[0].sender, Find<CButtonUI>(u"btn"));
  EXPECT_EQ(ui_.seen[0].point, (Point{20, 20}));
  EXPECT_FALSE(ui_.window.IsCaptured());

  ui_.seen.clear();
  ui_.Send(kWmLButtonDown, 20, 20);
  EXPECT_TRUE(Find<CButtonUI>(u"btn")->IsPushed());
  ui_.Send(kWmLButtonUp, 300, 300);  // released elsewhere
  Find<CButtonUI>(u"btn")->SetEnabled(false);
  ui_.Click(20, 20);
  EXPECT_TRUE(ui_.seen.empty());
}

TEST_F(UiNotifyTest, HotStateFollowsThePointerAndEndsWhenItLeavesTheWindow) {
  auto* button = Find<CButtonUI>(u"btn");
  ui_.Send(kWmMouseMove, 20, 20);
  EXPECT_TRUE(button->IsHot());
  EXPECT_TRUE(ui_.window.IsTrackingMouseLeave());
  ui_.Send(kWmMouseLeave);
  EXPECT_FALSE(button->IsHot());
  ui_.Send(kWmMouseMove, 20, 20);
  ui_.Send(kWmMouseMove, 60, 20);
  EXPECT_FALSE(button->IsHot());
}

TEST_F(UiNotifyTest, OptionsFlipAndRadioGroupsKeepOneSelected) {
  ui_.Click(60, 20);
  EXPECT_EQ(ui_.Types(), (std::vector<std::u16string>{u"click", u"selectchanged"}));
  EXPECT_TRUE(Find<COptionUI>(u"opt")->IsSelected());
  ui_.Click(60, 20);
  EXPECT_FALSE(Find<COptionUI>(u"opt")->IsSelected());

  ui_.seen.clear();
  ui_.Click(140, 20);
  EXPECT_TRUE(Find<COptionUI>(u"r2")->IsSelected());
  EXPECT_FALSE(Find<COptionUI>(u"r1")->IsSelected());
  ui_.Click(140, 20);
  EXPECT_TRUE(Find<COptionUI>(u"r2")->IsSelected());
  // Selecting from code tells the notifiers too, unless asked not to.
  ui_.seen.clear();
  Find<COptionUI>(u"opt")->Selected(true, false);
  EXPECT_TRUE(ui_.seen.empty());
}

TEST_F(UiNotifyTest, SliderSnapsToWholeStepsAndReportsOnlyChanges) {
  auto* slider = Find<CProgressUI>(u"slider");
  // Track from x=166 to x=266 (thumb centres); values 0, 1, 2 at 166, 216, 266.
  ui_.Click(270, 20);
  EXPECT_EQ(slider->GetValue(), 2);
  ui_.Click(210, 20);
  EXPECT_EQ(slider->GetValue(), 1);
  ui_.Click(214, 20);
  EXPECT_EQ(ui_.Types(), (std::vector<std::u16string>{u"valuechanged", u"valuechanged"}));
  // Dragging past the start clamps to the minimum.
  ui_.Send(kWmLButtonDown, 216, 20);
  ui_.Send(kWmMouseMove, 100, 20);
  ui_.Send(kWmLButtonUp, 100, 20);
  EXPECT_EQ(slider->GetValue(), 0);
  slider->SetValue(7);
  EXPECT_EQ(slider->GetValue(), 2);
}

TEST_F(UiNotifyTest, ListRowsSelectAndActivate) {
  auto* list = Find<CListUI>(u"list");
  ui_.Click(100, 65);  // second row
  ASSERT_EQ(ui_.Types(), (std::vector<std::u16string>{u"itemselect"}));
  EXPECT_EQ(ui_.seen[0].sender, list);
  EXPECT_EQ(ui_.seen[0].wParam, 1);
  EXPECT_TRUE(Find<CListLabelElementUI>(u"exp")->IsSelected());
  EXPECT_FALSE(Find<CListLabelElementUI>(u"copy")->IsSelected());
  // A container row takes the clicks of its content.
  EXPECT_EQ(ui_.manager.FindControl(Point{100, 85}), Find<CControlUI>(u"row"));
  ui_.seen.clear();
  ui_.Send(kWmLButtonDblClk, 100, 85);
  ui_.Send(kWmLButtonUp, 100, 85);
  ASSERT_EQ(ui_.Types(), (std::vector<std::u16string>{u"itemactivate"}));
  EXPECT_EQ(ui_.seen[0].sender, Find<CControlUI>(u"row"));
  EXPECT_EQ(ui_.seen[0].point, (Point{100, 85}));
  EXPECT_EQ(list->GetCurSel(), 1);
  list->RemoveAll();
  EXPECT_EQ(list->GetCurSel(), -1);
}

// A notifier that empties the list the clicked row belongs to, as a receiver list rebuild does.
struct ListEmptier : INotifyUI {
  CListUI* list;
  void Notify(TNotifyUI& msg) override {
    if (msg.sType == u"itemselect") list->RemoveAll();
  }
};

TEST_F(UiNotifyTest, ControlsRemovedWhileNotifyingAreForgotten) {
  ListEmptier emptier;
  emptier.list = Find<CListUI>(u"list");
  ui_.manager.AddNotifier(&emptier);
  ui_.Click(100, 45);
  ui_.Send(kWmMouseMove, 100, 46);
  ui_.Send(kWmMouseLeave);
  ui_.Click(100, 45);
  EXPECT_EQ(emptier.list->GetCount(), 0);
}

TEST_F(UiNotifyTest, WindowInitAfterTheFirstPaintAndKillFocusWhenFocusMoves) {
  ui_.Send(kWmPaint);
  ui_.Send(kWmPaint);
  EXPECT_EQ(ui_.Types(), (std::vector<std::u16string>{u"windowinit"}));
  ui_.seen.clear();
  ui_.Click(20, 20);
  ui_.Click(300, 200);
  ASSERT_EQ(ui_.Types(), (std::vector<std::u16string>{u"click", u"killfocus"}));
  EXPECT_EQ(ui_.seen[1].sender, Find<CControlUI>(u"btn"));
}

TEST_F(UiNotifyTest, InvokedWorkRunsOnTheWindowMessage) {
  int ran = 0;
  ui_.manager.Invoke([&] { ++ran; });
  ui_.manager.Invoke([&] { ++ran; });
  EXPECT_EQ(ran, 0);
  EXPECT_EQ(ui_.window.PostedInvokes(), 2);
  ui_.Send(kInvokeMessage);
  EXPECT_EQ(ran, 2);
}

}  // namespace
}  // namespace ui::test
