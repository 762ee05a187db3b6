// CMainFrame: the program's hidden top-level frame window with its view. It hands the
// registered messages and its own end to the application.
#pragma once
#include <windows.h>

#include "audio/core/frame_window.h"
#include "audio/win32/child_view.h"

namespace audio::win32 {

class CMainFrame {
 public:
  CMainFrame(HINSTANCE instance, audio::FrameEvents& events);
  ~CMainFrame();
  CMainFrame(const CMainFrame&) = delete;
  CMainFrame& operator=(const CMainFrame&) = delete;

  // Creates the window from the resource set: its title string, menu and accelerators.
  bool LoadFrame(UINT resource_id, DWORD style);
  // From now on nothing is reported to the application, also not the window's end.
  void Detach() { events_ = nullptr; }
  HWND hwnd() const { return hwnd_; }
  HACCEL accelerators() const { return accelerators_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam);
  void OnCommand(WORD command);

  HINSTANCE instance_;
  audio::FrameEvents* events_;
  HWND hwnd_ = nullptr;
  HACCEL accelerators_ = nullptr;
  CChildView view_;
};

}  // namespace audio::win32
