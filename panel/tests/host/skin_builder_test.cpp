// The real skin archive, as the build packs it, through the dialog builder.
#include <gtest/gtest.h>

#include "platform/strings.h"
#include "ui/bitmap_stride.h"
#include "ui/button.h"
#include "ui/list.h"
#include "ui/option.h"
#include "ui/progress.h"
#include "ui_test_support.h"

namespace ui::test {
namespace {

class SkinBuilderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    resources_.SetResourcePath(OV_SKIN_FOLDER u"/");
    resources_.SetResourceZip(u"VivuVovo.zf");
    manager_.Init(window_, resources_, decoder_);
    CDialogBuilder builder;
    auto root = builder.Create(u"skin.xml", manager_);
    ASSERT_TRUE(root) << builder.GetLastError();
    manager_.AttachDialog(std::move(root));
    manager_.UpdateLayout();
  }
  CControlUI* Find(std::u16string_view name) { return manager_.FindControl(name); }
  const sim::PaintRecorder& Paint() {
    intptr_t result = 0;
    manager_.MessageHandler(kWmPaint, 0, 0, result);
    return *window_.LastPaint();
  }

  sim::SimWindowPort window_{{0, 0, 800, 572}};
  sim::HostResourceFiles files_;
  sim::PngHeaderDecoder decoder_;
  SkinResources resources_{files_};
  CPaintManagerUI manager_;
};

TEST_F(SkinBuilderTest, EveryBoundControlExistsWithItsKind) {
  const std::pair<const char16_t*, const char16_t*> kinds[] = {
      {u"setbtn", u"ButtonUI"},
      {u"setpos", u"HorizontalLayoutUI"},
      {u"playlistshowbtn", u"ButtonUI"},
      {u"playlist", u"VerticalLayoutUI"},
      {u"sliderbuffer", u"ProgressUI"},
      {u"checklocalaudio", u"OptionUI"},
      {u"checkextscr", u"OptionUI"},
      {u"scrtext", u"TextUI"},
      {u"closebtn", u"ButtonUI"},
      {u"minbtn", u"ButtonUI"},
      {u"play", u"ButtonUI"},
      {u"frame", u"VerticalLayoutUI"},
      {u"mainpos", u"VerticalLayoutUI"},
      {u"body4", u"HorizontalLayoutUI"},
      {u"test", u"LabelUI"},
      {u"copy", u"ListLabelElementUI"},
      {u"exp", u"ListLabelElementUI"},
      {u"only", u"ListLabelElementUI"},
      {u"setview", u"ListUI"},
      {u"domainlist", u"ListUI"},
      {u"maxbtn", u"ButtonUI"},
      {u"restorebtn", u"ButtonUI"},
  };
  for (const auto& [name, kind] : kinds) {
    CControlUI* control = Find(name);
    ASSERT_NE(control, nullptr) << platform::Utf16ToUtf8(name);
    EXPECT_EQ(control->GetClass(), kind) << platform::Utf16ToUtf8(name);
  }
  EXPECT_NE(dynamic_cast<IListItemUI*>(Find(u"copy")), nullptr);
  EXPECT_NE(dynamic_cast<CProgressUI*>(Find(u"sliderbuffer")), nullptr);
  EXPECT_EQ(manager_.GetInitSize(), (Size{800, 572}));
  EXPECT_EQ(manager_.GetCaptionRect(), (Rect{0, 0, 0, 48}));
  EXPECT_EQ(manager_.GetRoundCorner(), (Size{14, 14}));
}

TEST_F(SkinBuilderTest, EveryImageTheSkinNamesIsInTheArchive) {
  std::vector<std::u16string> names = {u"bkimg01.png",   u"bkimg02.png", u"bkimg03.png",
                                       u"bkimg04.png",   u"Play.png",    u"Stop.png",
                                       u"itembkimg.png", u"WebLink.png"};
  for (int f = 0; f < 9; ++f) names.push_back(u"tu" + std::u16string(1, u'0' + f) + u".png");
  for (const auto& name : names) {
    const UiImage* image = manager_.GetImage(name);
    ASSERT_NE(image, nullptr) << resources_.LastError();
    EXPECT_GT(image->GetSize().cx, 0);
  }
  EXPECT_EQ(manager_.GetImage(u"bkimg04.png")->GetSize(), (Size{900, 632}));
}

TEST_F(SkinBuilderTest, StartingLayoutPaintsTheBackgroundAndPlayButtonWhereLaidOut) {
  const sim::PaintRecorder& paint = Paint();
  EXPECT_EQ(paint.WhereDrawn(manager_.GetImage(u"bkimg01.png")), (Rect{0, 0, 800, 572}));
  Rect play = Find(u"play")->GetPos();
  EXPECT_EQ(play.Width(), 128);
  EXPECT_EQ(play.Height(), 128);
  EXPECT_EQ(paint.WhereDrawn(manager_.GetImage(u"tu0.png")), play);
  EXPECT_EQ(paint.ImageAt({play.left + 64, play.top + 64}), manager_.GetImage(u"tu0.png"));
  EXPECT_FALSE(Find(u"setpos")->IsVisible());
  EXPECT_EQ(Find(u"mainpos")->GetPos().Width(), 280);
  EXPECT_EQ(Find(u"body4")->GetPos().Height(), 40);
}

TEST_F(SkinBuilderTest, CaptionButtonsLieInTheCaptionAreaAndAreButtons) {
  for (const char16_t* name : {u"setbtn", u"playlistshowbtn", u"minbtn", u"closebtn"}) {
    Rect pos = Find(name)->GetPos();
    EXPECT_LT(pos.bottom, 48) << platform::Utf16ToUtf8(name);
    EXPECT_EQ(manager_.FindControl(Point{pos.left + 5, pos.top + 5})->GetClass(), u"ButtonUI");
  }
  EXPECT_LE(Find(u"closebtn")->GetPos().right, 800 - 12);
  // The title bar's free space is not a button: the window is dragged there.
  EXPECT_EQ(manager_.FindControl(Point{400, 5})->GetClass(), u"HorizontalLayoutUI");
}

TEST_F(SkinBuilderTest, BothAreasOpenGiveTheWidestLayout) {
  window_.SetClientRect({0, 0, 900, 632});
  Find(u"setpos")->SetVisible(true);
  Find(u"playlist")->SetVisible(true);
  Find(u"mainpos")->SetFixedWidth(260);
  Find(u"playlist")->SetFixedWidth(120);
  Find(u"body4")->SetFixedHeight(20);
  Find(u"setpos")->SetFixedHeight(80);
  Find(u"frame")->SetBkImage(u"bkimg04.png");
  const sim::PaintRecorder& paint = Paint();
  EXPECT_EQ(paint.WhereDrawn(manager_.GetImage(u"bkimg04.png")), (Rect{0, 0, 900, 632}));
  EXPECT_EQ(Find(u"setpos")->GetPos(), (Rect{0, 552, 900, 632}));
  EXPECT_EQ(Find(u"playlist")->GetPos(), (Rect{780, 48, 900, 552}));
  EXPECT_EQ(Find(u"sliderbuffer")->GetPos().Height(), 20);
  Rect option = Find(u"checklocalaudio")->GetPos();
  EXPECT_EQ(manager_.FindControl(Point{option.left + 3, option.top + 3})->GetClass(), u"OptionUI");
}

TEST(SkinImageTest, ImagesWhoseBitmapRowsWouldWrapIntAreRefused) {
  auto png = [](uint32_t width, uint32_t height) {
    std::vector<uint8_t> bytes = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A,
                                  0,    0,   0,   13,  'I',  'H',  'D',  'R'};
    for (uint32_t side : {width, height}) {
      for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(uint8_t(side >> shift));
    }
    return bytes;
  };
  sim::PngHeaderDecoder decoder;
  auto image = decoder.Decode(png(100, 50));
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->GetSize(), (Size{100, 50}));
  EXPECT_EQ(BitmapStride(100, 50), 400);
  EXPECT_EQ(decoder.Decode(png(0x20000000, 1)), nullptr) << "width * 4 wraps";
  EXPECT_EQ(decoder.Decode(png(0x80000000, 1)), nullptr) << "negative as int";
  EXPECT_EQ(decoder.Decode(png(20000, 20000)), nullptr) << "1.6 GB of pixels";
  EXPECT_EQ(decoder.Decode(png(0, 10)), nullptr);
}

TEST(SkinResourcesTest, FilesPastTheSkinCapAreNotRead) {
  sim::MemoryResourceFiles files;
  files.Put(u"skin\\largest.png", std::vector<uint8_t>(kLargestSkinFileBytes));
  files.Put(u"skin\\larger.png", std::vector<uint8_t>(kLargestSkinFileBytes + 1));
  SkinResources resources(files);
  resources.SetResourcePath(u"skin\\");
  EXPECT_EQ(resources.Load(u"largest.png")->size(), kLargestSkinFileBytes);
  EXPECT_FALSE(resources.Load(u"larger.png").has_value());
  EXPECT_EQ(resources.LastError(), "cannot read skin\\larger.png");
}

}  // namespace
}  // namespace ui::test
