#include "ui/paint_manager.h"

#include <algorithm>

#include "ui/skin_resources.h"
#include "ui/window_messages.h"

namespace ui {
namespace {

Point PointFromParam(intptr_t lParam) {
  auto bits = static_cast<uint32_t>(lParam);
  return Point{static_cast<int16_t>(bits & 0xFFFF), static_cast<int16_t>(bits >> 16)};
}

}  // namespace

CPaintManagerUI::~CPaintManagerUI() {
  // Controls report their destruction here; let them while every member still lives.
  root_.reset();
}

void CPaintManagerUI::Init(UiWindowPort& window, SkinResources& resources, ImageDecoder& decoder) {
  window_ = &window;
  resources_ = &resources;
  decoder_ = &decoder;
}

bool CPaintManagerUI::AttachDialog(std::unique_ptr<CControlUI> root) {
  if (!root) return false;
  hot_ = pushed_ = focus_ = nullptr;
  root_ = std::move(root);
  root_->SetManager(this, nullptr);
  first_paint_done_ = false;
  NeedUpdate();
  return true;
}

void CPaintManagerUI::AddNotifier(INotifyUI* notifier) {
  if (notifier != nullptr &&
      std::find(notifiers_.begin(), notifiers_.end(), notifier) == notifiers_.end()) {
    notifiers_.push_back(notifier);
  }
}

void CPaintManagerUI::RemoveNotifier(INotifyUI* notifier) {
  notifiers_.erase(std::remove(notifiers_.begin(), notifiers_.end(), notifier), notifiers_.end());
}

void CPaintManagerUI::SendNotify(CControlUI* sender, std::u16string_view type, intptr_t wParam,
                                 intptr_t lParam) {
  TNotifyUI msg;
  msg.sType = std::u16string(type);
  msg.pSender = sender;
  msg.ptMouse = last_mouse_;
  msg.wParam = wParam;
  msg.lParam = lParam;
  // A notifier may add or remove notifiers.
  std::vector<INotifyUI*> notifiers = notifiers_;
  for (INotifyUI* notifier : notifiers) notifier->Notify(msg);
}

CControlUI* CPaintManagerUI::FindControl(std::u16string_view name) const {
  return root_ ? root_->FindControlByName(name) : nullptr;
}

CControlUI* CPaintManagerUI::FindControl(Point point) const {
  return root_ ? root_->FindControlAt(point) : nullptr;
}

bool CPaintManagerUI::MessageHandler(unsigned message, uintptr_t, intptr_t lParam,
                                     intptr_t& result) {
  result = 0;
  switch (message) {
    case kWmPaint:
      if (window_ != nullptr) {
        if (auto surface = window_->BeginPaint()) PaintTo(*surface, window_->GetClientRect());
      }
      if (!first_paint_done_ && root_) {
        first_paint_done_ = true;
        SendNotify(root_.get(), kNotifyWindowInit);
      }
      return true;
    case kWmSize:
      NeedUpdate();
      return false;
    case kWmMouseMove:
      OnMouseMove(PointFromParam(lParam));
      return true;
    case kWmLButtonDown:
      OnButtonDown(PointFromParam(lParam));
      return true;
    case kWmLButtonUp:
      OnButtonUp(PointFromParam(lParam));
      return true;
    case kWmLButtonDblClk:
      OnDoubleClick(PointFromParam(lParam));
      return true;
    case kWmMouseLeave:
      OnMouseLeave();
      return true;
    case kInvokeMessage:
      RunInvoked();
      return true;
    default:
      return false;
  }
}

void CPaintManagerUI::UpdateLayout() {
  need_update_ = false;
  if (!root_ || window_ == nullptr) return;
  Rect client = window_->GetClientRect();
  // Containers place their children again even when their own rectangle is unchanged.
  root_->SetPos(client);
  window_->Invalidate(client);
}

void CPaintManagerUI::PaintTo(PaintSurface& surface, const Rect& dirty) {
  if (need_update_) UpdateLayout();
  if (!root_ || !root_->IsVisible()) return;
  surface.PushClip(dirty);
  root_->DoPaint(surface, dirty);
  surface.PopClip();
}

void CPaintManagerUI::Invoke(std::function<void()> work) {
  {
    std::lock_guard<std::mutex> hold(invoke_lock_);
    invoked_.push_back(std::move(work));
  }
  if (window_ != nullptr) window_->PostInvoke();
}

void CPaintManagerUI::RunInvoked() {
  std::vector<std::function<void()>> work;
  {
    std::lock_guard<std::mutex> hold(invoke_lock_);
    work.swap(invoked_);
  }
  for (auto& item : work) item();
}

int CPaintManagerUI::AddFont(const FontSpec& font) {
  fonts_.push_back(font);
  return static_cast<int>(fonts_.size()) - 1;
}

const FontSpec& CPaintManagerUI::GetFont(int index) const {
  if (index < 0 || index >= static_cast<int>(fonts_.size())) return default_font_;
  return fonts_[static_cast<size_t>(index)];
}

const UiImage* CPaintManagerUI::GetImage(const std::u16string& name) {
  auto it = images_.find(name);
  if (it != images_.end()) return it->second.get();
  std::shared_ptr<UiImage> image;
  if (resources_ != nullptr && decoder_ != nullptr) {
    if (auto bytes = resources_->Load(name)) image = decoder_->Decode(*bytes);
  }
  // A missing image is remembered too, so it is not searched for on every paint.
  images_[name] = image;
  return image.get();
}

void CPaintManagerUI::SetFocus(CControlUI* control) {
  if (control == focus_) return;
  CControlUI* old = focus_;
  focus_ = control;
  if (old != nullptr) SendNotify(old, kNotifyKillFocus);
}

void CPaintManagerUI::SetCapture() {
  if (window_ != nullptr) window_->SetCapture();
}

void CPaintManagerUI::ReleaseCapture() {
  if (window_ != nullptr) window_->ReleaseCapture();
}

void CPaintManagerUI::Invalidate(const Rect& rect) {
  if (window_ != nullptr) window_->Invalidate(rect);
}

void CPaintManagerUI::NeedUpdate() {
  need_update_ = true;
  if (window_ != nullptr) window_->Invalidate(window_->GetClientRect());
}

void CPaintManagerUI::ReapObjects(CControlUI* control) {
  if (hot_ == control) hot_ = nullptr;
  if (pushed_ == control) pushed_ = nullptr;
  if (focus_ == control) focus_ = nullptr;
}

void CPaintManagerUI::SetHot(CControlUI* control, Point point) {
  if (control == hot_) return;
  CControlUI* old = hot_;
  hot_ = control;
  if (old != nullptr) old->DoEvent({TEventUI::Type::kMouseLeave, point});
  if (hot_ != nullptr) hot_->DoEvent({TEventUI::Type::kMouseEnter, point});
}

void CPaintManagerUI::OnMouseMove(Point point) {
  last_mouse_ = point;
  if (pushed_ != nullptr) {
    pushed_->DoEvent({TEventUI::Type::kMouseMove, point});
    return;
  }
  CControlUI* control = FindControl(point);
  SetHot(control != nullptr && control->IsEnabled() ? control : nullptr, point);
  if (hot_ == nullptr) return;
  // Without it a control stays hot when the pointer leaves the window from it.
  if (window_ != nullptr) window_->TrackMouseLeave();
  hot_->DoEvent({TEventUI::Type::kMouseMove, point});
}

void CPaintManagerUI::OnButtonDown(Point point) {
  last_mouse_ = point;
  CControlUI* control = FindControl(point);
  SetFocus(control);
  // SetFocus notifies; the notified code may have removed the control.
  control = FindControl(point);
  if (control == nullptr || !control->IsEnabled()) return;
  pushed_ = control;
  SetCapture();
  control->DoEvent({TEventUI::Type::kButtonDown, point});
}

void CPaintManagerUI::OnButtonUp(Point point) {
  last_mouse_ = point;
  CControlUI* control = pushed_;
  pushed_ = nullptr;
  ReleaseCapture();
  if (control != nullptr) control->DoEvent({TEventUI::Type::kButtonUp, point});
}

void CPaintManagerUI::OnDoubleClick(Point point) {
  last_mouse_ = point;
  CControlUI* control = FindControl(point);
  if (control == nullptr || !control->IsEnabled()) return;
  pushed_ = control;
  SetCapture();
  control->DoEvent({TEventUI::Type::kDblClick, point});
}

void CPaintManagerUI::OnMouseLeave() {
  if (pushed_ == nullptr) SetHot(nullptr, last_mouse_);
}

}  // namespace ui
