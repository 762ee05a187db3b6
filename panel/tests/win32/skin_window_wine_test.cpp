// The toolkit on a real window under Wine: the real skin archive is loaded, the window is
// painted through GDI and GDI+, and the screen is read back at points the layout names.
// A real mouse click on "setbtn" must come back as a "click" notification, and hit testing
// must answer HTCAPTION in the caption area and HTCLIENT on its buttons and below it.
//
// With --show SECONDS [open] the window stays up with a filled receiver list, for a
// screenshot; "open" shows the settings band and the display list as the panel's toggles do.
#include <windows.h>

#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "panel/core/caption_test.h"
#include "ui/button.h"
#include "ui/container.h"
#include "ui/dialog_builder.h"
#include "ui/label.h"
#include "ui/list.h"
#include "ui/option.h"
#include "ui/paint_manager.h"
#include "ui/skin_resources.h"
#include "ui/win32/win32_ui_host.h"
#include "ui/win32/window_wnd.h"
#include "ui/window_messages.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 572;

class SkinWindow : public ui::CWindowWnd, public ui::INotifyUI {
 public:
  ui::CPaintManagerUI manager;
  std::wstring last_click;
  int paints = 0;

  void Notify(ui::TNotifyUI& msg) override {
    if (msg.sType == ui::kNotifyClick && msg.pSender != nullptr) {
      const std::u16string& name = msg.pSender->GetName();
      last_click.assign(name.begin(), name.end());
    }
  }

  ui::CControlUI* Find(const char16_t* name) { return manager.FindControl(name); }

 protected:
  LPCWSTR GetWindowClassName() const override { return L"SkinProbeFrame"; }
  UINT GetClassStyle() const override { return CS_DBLCLKS; }

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_CREATE: {
        LONG style = ::GetWindowLongW(GetHWND(), GWL_STYLE);
        ::SetWindowLongW(GetHWND(), GWL_STYLE,
                         (style & ~WS_CAPTION) | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
        port_ = std::make_unique<ui::GdiWindowPort>(GetHWND());
        resources_.SetResourcePath(ui::GetInstancePath() + u"skin\\");
        resources_.SetResourceZip(u"VivuVovo.zf");
        manager.Init(*port_, resources_, decoder_);
        ui::CDialogBuilder builder;
        auto root = builder.Create(u"skin.xml", manager);
        if (!root) {
          std::fprintf(stderr, "skin: %s\n", builder.GetLastError().c_str());
          return -1;
        }
        manager.AttachDialog(std::move(root));
        manager.AddNotifier(this);
        return 0;
      }
      case WM_NCCALCSIZE:
      case WM_NCPAINT:
        return 0;
      case WM_NCACTIVATE:
        return wParam == 0 ? 1 : 0;
      case WM_NCHITTEST:
        return CaptionTest(lParam);
      case WM_SIZE: {
        ui::Size corner = manager.GetRoundCorner();
        if (wParam != SIZE_MINIMIZED && (corner.cx != 0 || corner.cy != 0)) {
          RECT r{};
          ::GetWindowRect(GetHWND(), &r);
          HRGN region = ::CreateRoundRectRgn(0, 0, r.right - r.left + 1, r.bottom - r.top + 1,
                                             corner.cx, corner.cy);
          ::SetWindowRgn(GetHWND(), region, TRUE);
        }
        break;
      }
      case WM_PAINT:
        ++paints;
        break;
      default:
        break;
    }
    intptr_t result = 0;
    if (manager.MessageHandler(message, wParam, lParam, result)) return result;
    return CWindowWnd::HandleMessage(message, wParam, lParam);
  }

 private:
  // The panel's own caption rule, as its frame window asks it.
  LRESULT CaptionTest(LPARAM lParam) {
    POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ::ScreenToClient(GetHWND(), &p);
    RECT r{};
    ::GetClientRect(GetHWND(), &r);
    ui::Point point{p.x, p.y};
    ui::CControlUI* control = manager.FindControl(point);
    std::u16string_view kind = control != nullptr ? control->GetClass() : std::u16string_view();
    return static_cast<LRESULT>(panel::CaptionHitTest(
        point, ui::Rect{r.left, r.top, r.right, r.bottom}, manager.GetCaptionRect(), kind));
  }

  std::unique_ptr<ui::GdiWindowPort> port_;
  ui::Win32ResourceFiles files_;
  ui::GdiplusImageDecoder decoder_;
  ui::SkinResources resources_{files_};
};

SkinWindow* g_window = nullptr;

void PumpFor(DWORD ms) {
  DWORD start = ::GetTickCount();
  do {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    ::Sleep(10);
  } while (::GetTickCount() - start < ms);
}

struct Pixel {
  int r, g, b;
};

// What the screen shows at a client point of the window.
Pixel ScreenPixel(int x, int y) {
  POINT p{x, y};
  ::ClientToScreen(g_window->GetHWND(), &p);
  HDC screen = ::GetDC(nullptr);
  COLORREF c = ::GetPixel(screen, p.x, p.y);
  ::ReleaseDC(nullptr, screen);
  return Pixel{GetRValue(c), GetGValue(c), GetBValue(c)};
}

ui::Rect PosOf(const char16_t* name) { return g_window->Find(name)->GetPos(); }

// A receiver row as the panel builds it: name on the left, web link on the right.
void AddReceiverRow(ui::CListUI& list, const std::u16string& name, int index) {
  auto row = std::make_unique<ui::CListContainerElementUI>();
  row->SetTag(static_cast<uintptr_t>(index));
  row->SetBkImage(u"itembkimg.png");
  row->SetMinHeight(20);
  row->SetMaxHeight(20);
  auto columns = std::make_unique<ui::CHorizontalLayoutUI>();
  auto text = std::make_unique<ui::CLabelUI>();
  text->SetFixedHeight(20);
  text->SetAttribute(u"textcolor", u"#FFFFFFFF");
  text->SetFont(0);
  text->SetText(name);
  auto right = std::make_unique<ui::CVerticalLayoutUI>();
  right->SetFixedWidth(33);
  right->SetFixedHeight(20);
  right->Add(std::make_unique<ui::CControlUI>());
  auto band = std::make_unique<ui::CHorizontalLayoutUI>();
  band->SetFixedHeight(14);
  band->Add(std::make_unique<ui::CControlUI>());
  auto link = std::make_unique<ui::CControlUI>();
  link->SetFixedWidth(14);
  link->SetBkImage(u"WebLink.png");
  band->Add(std::move(link));
  band->Add(std::make_unique<ui::CControlUI>());
  right->Add(std::move(band));
  right->Add(std::make_unique<ui::CControlUI>());
  columns->Add(std::move(text));
  columns->Add(std::move(right));
  row->Add(std::move(columns));
  list.Add(std::move(row));
}

class SkinWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    g_window = new SkinWindow();
    HWND hwnd =
        g_window->Create(nullptr, L"Quandle 1.0", 0x10CB0000, 0x00060000, 0, 0, kWidth, kHeight);
    ASSERT_NE(hwnd, nullptr);
    ::SetWindowPos(hwnd, HWND_TOPMOST, 100, 100, 0, 0, SWP_NOSIZE);
    ::SetForegroundWindow(hwnd);
    PumpFor(1500);
  }
  static void TearDownTestSuite() {
    ::DestroyWindow(g_window->GetHWND());
    delete g_window;
    g_window = nullptr;
  }
};

TEST_F(SkinWindowTest, PaintsTheSkinImagesWhereTheLayoutPutsThem) {
  ASSERT_GT(g_window->paints, 0);
  auto* play = dynamic_cast<ui::CButtonUI*>(g_window->Find(u"play"));
  ASSERT_NE(play, nullptr);
  play->SetNormalImage(u"Play.png");
  PumpFor(500);
  ui::Rect pos = play->GetPos();
  ASSERT_EQ(pos.Width(), 128);
  // The triangle in the middle is white, the disc around it blue.
  Pixel centre = ScreenPixel(pos.left + 64, pos.top + 64);
  EXPECT_GT(centre.r, 230);
  EXPECT_GT(centre.g, 230);
  EXPECT_GT(centre.b, 230);
  Pixel disc = ScreenPixel(pos.left + 64, pos.top + 20);
  EXPECT_GT(disc.b, 180);
  EXPECT_LT(disc.r, 100);
  // The dark background of bkimg01.png away from the controls.
  Pixel background = ScreenPixel(kWidth - 60, kHeight - 80);
  EXPECT_LT(background.r, 50);
  EXPECT_LT(background.g, 50);
  EXPECT_LT(background.b, 60);
  // Stop.png is red where Play.png was blue.
  play->SetNormalImage(u"Stop.png");
  PumpFor(500);
  Pixel stop = ScreenPixel(pos.left + 64, pos.top + 20);
  EXPECT_GT(stop.r, 180);
  EXPECT_LT(stop.b, 120);
}

TEST_F(SkinWindowTest, HoverShowsTheHotImageOfTheCloseButton) {
  ui::Rect close = PosOf(u"closebtn");
  Pixel before = ScreenPixel(close.left + 3, close.top + 14);
  ::SendMessageW(g_window->GetHWND(), WM_MOUSEMOVE, 0, MAKELPARAM(close.left + 14, close.top + 14));
  PumpFor(300);
  Pixel hot = ScreenPixel(close.left + 3, close.top + 14);
  EXPECT_LT(before.r, 60);
  EXPECT_GT(hot.r, 150);
  EXPECT_LT(hot.g, 120);
  ::SendMessageW(g_window->GetHWND(), WM_MOUSEMOVE, 0, MAKELPARAM(400, 300));
  PumpFor(200);
}

TEST_F(SkinWindowTest, HitTestAnswersCaptionOnlyOffTheButtonsOfTheCaptionArea) {
  auto hit = [](int x, int y) {
    POINT p{x, y};
    ::ClientToScreen(g_window->GetHWND(), &p);
    return ::SendMessageW(g_window->GetHWND(), WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
  };
  ui::Rect set = PosOf(u"setbtn");
  EXPECT_EQ(hit(300, 20), HTCAPTION);
  EXPECT_EQ(hit(5, 2), HTCAPTION);
  EXPECT_EQ(hit(set.left + 14, set.top + 14), HTCLIENT);
  EXPECT_EQ(hit(PosOf(u"closebtn").left + 5, 20), HTCLIENT);
  EXPECT_EQ(hit(300, 48), HTCLIENT);
  EXPECT_EQ(hit(400, 300), HTCLIENT);
}

TEST_F(SkinWindowTest, ARealClickOnSetbtnNotifiesClick) {
  ui::Rect set = PosOf(u"setbtn");
  POINT p{set.left + 14, set.top + 14};
  ::ClientToScreen(g_window->GetHWND(), &p);
  ::SetCursorPos(p.x, p.y);
  PumpFor(200);
  INPUT input[2] = {};
  input[0].type = input[1].type = INPUT_MOUSE;
  input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  ASSERT_EQ(::SendInput(2, input, sizeof(INPUT)), 2u);
  PumpFor(800);
  EXPECT_EQ(g_window->last_click, L"setbtn");
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if ((argc == 3 || argc == 4) && std::string(argv[1]) == "--show") {
    // A window as the panel shows it with receivers found, for a screenshot.
    g_window = new SkinWindow();
    g_window->Create(nullptr, L"Quandle 1.0", 0x10CB0000, 0x00060000, 0, 0, kWidth, kHeight);
    g_window->CenterWindow();
    auto* list = dynamic_cast<ui::CListUI*>(g_window->Find(u"domainlist"));
    int index = 0;
    for (const char16_t* name : {u"Living Room", u"Meeting Room", u"Studio"}) {
      AddReceiverRow(*list, name, index++);
    }
    list->SelectItem(0, false);
    dynamic_cast<ui::CButtonUI*>(g_window->Find(u"play"))->SetNormalImage(u"Play.png");
    if (argc == 4 && std::string(argv[3]) == "open") {
      g_window->Find(u"setpos")->SetVisible(true);
      g_window->Find(u"setpos")->SetFixedHeight(80);
      g_window->Find(u"body4")->SetFixedHeight(20);
      g_window->Find(u"playlist")->SetVisible(true);
      g_window->Find(u"playlist")->SetFixedWidth(120);
      g_window->Find(u"mainpos")->SetFixedWidth(260);
      g_window->Find(u"frame")->SetBkImage(u"bkimg04.png");
      dynamic_cast<ui::COptionUI*>(g_window->Find(u"checklocalaudio"))->Selected(true, false);
      dynamic_cast<ui::CListUI*>(g_window->Find(u"setview"))->SelectItem(1, false);
      ::SetWindowPos(g_window->GetHWND(), nullptr, 0, 0, kWidth + 100, kHeight + 60,
                     SWP_NOMOVE | SWP_NOZORDER);
      g_window->CenterWindow();
    }
    g_window->ShowWindow(true, true);
    PumpFor(static_cast<DWORD>(std::atoi(argv[2]) * 1000));
    return 0;
  }
  return RUN_ALL_TESTS();
}
