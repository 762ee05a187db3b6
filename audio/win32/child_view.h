// CChildView: the frame's client window. It paints nothing; the frame is never shown.
#pragma once
#include <windows.h>

namespace audio::win32 {

class CChildView {
 public:
  // Child, visible and border styles asked for; the view trades the border for a client edge.
  bool Create(HINSTANCE instance, HWND parent);
  HWND hwnd() const { return hwnd_; }
  // Commands reach the view before the frame; it handles none.
  bool OnCommand(WORD /*command*/) { return false; }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

  HWND hwnd_ = nullptr;
};

}  // namespace audio::win32
