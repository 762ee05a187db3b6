// Reports the control panel's frame window as Windows sees it, for the end-to-end test that
// drives Quandle.exe from outside: X shows the window but not its Windows class.
//
// Prints "visible|hidden <left> <top> <right> <bottom>" for the top-level window of class
// "VU365MainFrame" and title "Quandle 1.0" and exits 0; prints "none" and exits 1 when there
// is no such window. With "close" it also posts WM_CLOSE to the window, as another program
// asking it to close would.
#include <windows.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  HWND frame = ::FindWindowW(L"VU365MainFrame", L"Quandle 1.0");
  if (frame == nullptr) {
    std::puts("none");
    return 1;
  }
  if (argc == 2 && std::strcmp(argv[1], "close") == 0) ::PostMessageW(frame, WM_CLOSE, 0, 0);
  RECT r{};
  ::GetWindowRect(frame, &r);
  std::printf("%s %ld %ld %ld %ld\n", ::IsWindowVisible(frame) ? "visible" : "hidden", r.left,
              r.top, r.right, r.bottom);
  return 0;
}
