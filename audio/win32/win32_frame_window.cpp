#include "audio/win32/win32_frame_window.h"

#include "platform/win32/wide_text.h"

using platform::win32::ToWide;

namespace audio::win32 {

namespace {

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<audio::WindowHandle>*>(list)->push_back(
      reinterpret_cast<audio::WindowHandle>(window));
  return TRUE;
}

HWND AsWindow(audio::WindowHandle window) { return reinterpret_cast<HWND>(window); }

}  // namespace

uint32_t Win32FrameWindowSystem::RegisterMessage(std::u16string_view name) {
  return RegisterWindowMessageW(ToWide(name).c_str());
}

std::vector<audio::WindowHandle> Win32FrameWindowSystem::TopLevelWindows() {
  std::vector<audio::WindowHandle> windows;
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

uintptr_t Win32FrameWindowSystem::Property(audio::WindowHandle window, std::u16string_view name) {
  return reinterpret_cast<uintptr_t>(GetPropW(AsWindow(window), ToWide(name).c_str()));
}

void Win32FrameWindowSystem::SetForeground(audio::WindowHandle window) {
  SetForegroundWindow(AsWindow(window));
}

// The program stores nothing under its registry key, so the name is not kept.
void Win32FrameWindowSystem::SetRegistryKey(std::u16string_view) {}

bool Win32FrameWindowSystem::CreateMainFrame(uint32_t resource_id, uint32_t style,
                                             audio::FrameEvents& events) {
  frame_ = std::make_unique<CMainFrame>(instance_, events);
  if (frame_->LoadFrame(resource_id, style)) return true;
  frame_.reset();
  return false;
}

void Win32FrameWindowSystem::SetFrameText(std::u16string_view text) {
  SetWindowTextW(FrameWindow(), ToWide(text).c_str());
}

bool Win32FrameWindowSystem::SetFrameProperty(std::u16string_view name, uintptr_t value) {
  return SetPropW(FrameWindow(), ToWide(name).c_str(), reinterpret_cast<HANDLE>(value)) != FALSE;
}

void Win32FrameWindowSystem::ShowFrame(audio::ShowCommand command) {
  ShowWindow(FrameWindow(), command == audio::ShowCommand::kShow ? SW_SHOW : SW_HIDE);
}

void Win32FrameWindowSystem::UpdateFrame() { UpdateWindow(FrameWindow()); }

void Win32FrameWindowSystem::ShowOwnedPopups(bool show) {
  ::ShowOwnedPopups(FrameWindow(), show ? TRUE : FALSE);
}

void Win32FrameWindowSystem::MoveFrameToBottom() {
  SetWindowPos(FrameWindow(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Win32FrameWindowSystem::DestroyFrame() {
  if (FrameWindow() != nullptr) DestroyWindow(FrameWindow());
}

void Win32FrameWindowSystem::DetachFrame() {
  if (frame_) frame_->Detach();
}

int Win32FrameWindowSystem::RunMessageLoop() {
  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    const HWND frame = FrameWindow();
    if (frame != nullptr && frame_->accelerators() != nullptr &&
        TranslateAcceleratorW(frame, frame_->accelerators(), &message)) {
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace audio::win32
