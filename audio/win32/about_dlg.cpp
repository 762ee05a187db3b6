#include "audio/win32/about_dlg.h"

#include "audio/win32/resource.h"

namespace audio::win32 {

INT_PTR CAboutDlg::DoModal(HINSTANCE instance, HWND owner) {
  return DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_ABOUTBOX), owner, DialogProc, 0);
}

INT_PTR CALLBACK CAboutDlg::DialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL) {
        EndDialog(dialog, LOWORD(wparam));
        return TRUE;
      }
      break;
  }
  return FALSE;
}

}  // namespace audio::win32
