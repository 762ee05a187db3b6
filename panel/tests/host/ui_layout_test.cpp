#include <gtest/gtest.h>

#include <string>

#include "ui/container.h"
#include "ui_test_support.h"

namespace ui::test {
namespace {

TEST(UiLayoutTest, VerticalLayoutGivesFixedHeightsThenSharesTheRest) {
  UiHarness ui({0, 0, 200, 300});
  ASSERT_NE(ui.Build(R"(<VerticalLayout inset="10,10,10,10" childpadding="5">
      <Control name="top" height="40"/>
      <Control name="a"/>
      <Control name="hidden" height="50" visible="false"/>
      <Control name="b" width="60"/>
      <Control name="capped" maxheight="20"/>
    </VerticalLayout>)"),
            nullptr)
      << ui.error;
  // 280 inner height, 3 gaps of 5, 40 fixed, 20 capped: 205 shared by a and b.
  EXPECT_EQ(ui.manager.FindControl(u"top")->GetPos(), (Rect{10, 10, 190, 50}));
  EXPECT_EQ(ui.manager.FindControl(u"a")->GetPos(), (Rect{10, 55, 190, 158}));
  EXPECT_EQ(ui.manager.FindControl(u"b")->GetPos(), (Rect{10, 163, 70, 265}));
  EXPECT_EQ(ui.manager.FindControl(u"capped")->GetPos(), (Rect{10, 270, 190, 290}));
}

TEST(UiLayoutTest, HorizontalLayoutAndChangesTakeEffectOnTheNextLayout) {
  UiHarness ui({0, 0, 400, 100});
  ASSERT_NE(ui.Build(R"(<HorizontalLayout>
      <Control name="left" width="280"/><Control name="mid"/>
      <Control name="side" width="100" visible="false"/>
    </HorizontalLayout>)"),
            nullptr);
  EXPECT_EQ(ui.manager.FindControl(u"mid")->GetPos(), (Rect{280, 0, 400, 100}));
  ui.manager.FindControl(u"side")->SetVisible(true);
  ui.manager.FindControl(u"left")->SetFixedWidth(260);
  ui.window.SetClientRect({0, 0, 500, 100});
  sim::PaintRecorder surface({0, 0, 500, 100});
  ui.manager.PaintTo(surface, {0, 0, 500, 100});
  EXPECT_EQ(ui.manager.FindControl(u"mid")->GetPos(), (Rect{260, 0, 400, 100}));
  EXPECT_EQ(ui.manager.FindControl(u"side")->GetPos(), (Rect{400, 0, 500, 100}));
}

TEST(UiLayoutTest, FloatingControlsSitAtTheirPositionInsideTheParent) {
  UiHarness ui({0, 0, 300, 200});
  ASSERT_NE(
      ui.Build(R"(<VerticalLayout inset="5,5,5,5"><Control name="f" float="true" pos="10,20,40,50"/>
      <Control name="flow"/></VerticalLayout>)"),
      nullptr);
  EXPECT_EQ(ui.manager.FindControl(u"f")->GetPos(), (Rect{15, 25, 45, 55}));
  EXPECT_EQ(ui.manager.FindControl(u"flow")->GetPos(), (Rect{5, 5, 295, 195}));
}

TEST(UiLayoutTest, HitTestingFindsTheDeepestVisibleMouseControlWithItsKind) {
  UiHarness ui({0, 0, 300, 100});
  ASSERT_NE(ui.Build(R"(<HorizontalLayout name="root">
      <Button name="btn" width="50"/><Option name="opt" width="50"/><Text name="txt" width="50"/>
      <Label name="lbl" width="50" mouse="false"/><Button name="gone" width="50" visible="false"/>
      <Control name="rest"/>
    </HorizontalLayout>)"),
            nullptr);
  EXPECT_EQ(ui.manager.FindControl(Point{10, 10})->GetClass(), u"ButtonUI");
  EXPECT_EQ(ui.manager.FindControl(Point{60, 10})->GetClass(), u"OptionUI");
  EXPECT_EQ(ui.manager.FindControl(Point{110, 10})->GetClass(), u"TextUI");
  // A label that is not mouse-enabled lets the point through to its parent.
  EXPECT_EQ(ui.manager.FindControl(Point{160, 10})->GetName(), u"root");
  EXPECT_EQ(ui.manager.FindControl(Point{210, 10})->GetName(), u"rest");
  EXPECT_EQ(ui.manager.FindControl(Point{300, 10}), nullptr);
  EXPECT_EQ(ui.manager.FindControl(Point{-1, 10}), nullptr);
  EXPECT_EQ(ui.manager.FindControl(u"nothing"), nullptr);
}

TEST(UiLayoutTest, PaintingClipsChildrenToTheirContainer) {
  UiHarness ui({0, 0, 100, 100});
  ASSERT_NE(ui.Build(R"(<VerticalLayout><HorizontalLayout height="30" bkcolor="#FF101010">
      <Control name="wide" width="500" bkcolor="#FF202020"/></HorizontalLayout>
      <Control name="below" bkcolor="#80FFFFFF"/></VerticalLayout>)"),
            nullptr);
  sim::PaintRecorder surface({0, 0, 100, 100});
  ui.manager.PaintTo(surface, {0, 0, 100, 100});
  ASSERT_EQ(surface.Ops().size(), 3u);
  EXPECT_EQ(surface.Ops()[1].rect, (Rect{0, 0, 500, 30}));
  EXPECT_EQ(surface.Ops()[1].visible, (Rect{0, 0, 100, 30}));
  EXPECT_EQ(surface.Ops()[2].argb, 0x80FFFFFFu);
  EXPECT_EQ(surface.ClipDepth(), 1);
}

TEST(UiLayoutTest, SizesAndPaddingsAddingUpPastIntStopAtTheCoordinateLimit) {
  // 2200 gaps and heights of a million each: 4.4e9 along the axis, and as much to share.
  std::string xml = R"(<VerticalLayout childpadding="1000000">)";
  for (int i = 0; i < 2200; ++i) xml += R"(<Control height="1000000"/>)";
  xml += R"(<Control name="flexible"/></VerticalLayout>)";
  UiHarness ui({0, 0, 100, 100});
  auto* root = dynamic_cast<CContainerUI*>(ui.Build(xml));
  ASSERT_NE(root, nullptr) << ui.error;
  int previous_top = 0;
  for (int i = 0; i < root->GetCount(); ++i) {
    const Rect& pos = root->GetItemAt(i)->GetPos();
    ASSERT_GE(pos.top, previous_top) << "child " << i;
    ASSERT_GE(pos.Height(), 0) << "child " << i;
    previous_top = pos.top;
  }
  EXPECT_EQ(ui.manager.FindControl(u"flexible")->GetPos().Height(), 0) << "nothing is left";
}

}  // namespace
}  // namespace ui::test
