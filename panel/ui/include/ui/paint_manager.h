// CPaintManagerUI: owns a window's control tree; lays it out, paints it through the window's
// surface, turns the window's mouse messages into control events and notifications, and holds
// the skin's window settings (size, caption rectangle, round corners, fonts) and its images.
// Everything runs on the window's thread; other threads hand work over with Invoke.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "ui/control.h"
#include "ui/notify.h"
#include "ui/ui_ports.h"

namespace ui {

class SkinResources;

class CPaintManagerUI {
 public:
  CPaintManagerUI() = default;
  ~CPaintManagerUI();
  CPaintManagerUI(const CPaintManagerUI&) = delete;
  CPaintManagerUI& operator=(const CPaintManagerUI&) = delete;

  void Init(UiWindowPort& window, SkinResources& resources, ImageDecoder& decoder);
  SkinResources* GetResources() const { return resources_; }

  // Takes the tree; it is laid out on the next paint and "windowinit" is sent after the first.
  bool AttachDialog(std::unique_ptr<CControlUI> root);
  CControlUI* GetRoot() const { return root_.get(); }

  void AddNotifier(INotifyUI* notifier);
  void RemoveNotifier(INotifyUI* notifier);
  void SendNotify(CControlUI* sender, std::u16string_view type, intptr_t wParam = 0,
                  intptr_t lParam = 0);

  CControlUI* FindControl(std::u16string_view name) const;
  CControlUI* FindControl(Point point) const;

  // Handles the window messages of window_messages.h; false for any other message.
  bool MessageHandler(unsigned message, uintptr_t wParam, intptr_t lParam, intptr_t& result);
  // Lays out (if needed) and paints the dirty part of the tree onto the surface.
  void PaintTo(PaintSurface& surface, const Rect& dirty);
  // Lays out the tree over the window's client rectangle now.
  void UpdateLayout();

  // Queues work for the window's thread; safe from any thread.
  void Invoke(std::function<void()> work);

  // Skin window settings.
  Size GetInitSize() const { return init_size_; }
  void SetInitSize(Size size) { init_size_ = size; }
  // Left and right are insets from the client edges; top and bottom are absolute.
  const Rect& GetCaptionRect() const { return caption_; }
  void SetCaptionRect(const Rect& rect) { caption_ = rect; }
  Size GetRoundCorner() const { return round_corner_; }
  void SetRoundCorner(Size size) { round_corner_ = size; }

  // Fonts: the skin's list; index -1 or out of range gives the default font.
  int AddFont(const FontSpec& font);
  const FontSpec& GetFont(int index) const;
  void SetDefaultFont(const FontSpec& font) { default_font_ = font; }

  // The decoded image of a skin file, loaded once; nullptr when missing or unreadable.
  const UiImage* GetImage(const std::u16string& name);

  CControlUI* GetFocus() const { return focus_; }
  void SetFocus(CControlUI* control);

  // From controls.
  void Invalidate(const Rect& rect);
  void NeedUpdate();
  // A control is going away: forget every reference to it.
  void ReapObjects(CControlUI* control);

 private:
  void OnMouseMove(Point point);
  void OnButtonDown(Point point);
  void OnButtonUp(Point point);
  void OnDoubleClick(Point point);
  void OnMouseLeave();
  void SetHot(CControlUI* control, Point point);
  // The pushed control gets the mouse until the button comes up.
  void SetCapture();
  void ReleaseCapture();
  void RunInvoked();

  UiWindowPort* window_ = nullptr;
  SkinResources* resources_ = nullptr;
  ImageDecoder* decoder_ = nullptr;
  std::unique_ptr<CControlUI> root_;
  std::vector<INotifyUI*> notifiers_;
  bool need_update_ = true;
  bool first_paint_done_ = false;
  CControlUI* hot_ = nullptr;
  CControlUI* pushed_ = nullptr;
  CControlUI* focus_ = nullptr;
  Point last_mouse_;
  Size init_size_;
  Rect caption_;
  Size round_corner_;
  FontSpec default_font_;
  std::vector<FontSpec> fonts_;
  std::map<std::u16string, std::shared_ptr<UiImage>> images_;
  std::mutex invoke_lock_;
  std::vector<std::function<void()>> invoked_;
};

}  // namespace ui
