// CAboutDlg: the About dialog (resource 100), shown modally by the About command.
#pragma once
#include <windows.h>

namespace audio::win32 {

class CAboutDlg {
 public:
  static INT_PTR DoModal(HINSTANCE instance, HWND owner);

 private:
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
};

}  // namespace audio::win32
