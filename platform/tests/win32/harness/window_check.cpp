// Creates a window and exits 0 when that works. With "visible" the window is shown and the
// screen must have the runner's Xvfb size; otherwise it stays hidden (works without a display).
#include <windows.h>

#include <cstring>

int main(int argc, char** argv) {
  const bool visible = argc == 2 && std::strcmp(argv[1], "visible") == 0;
  const HWND window = CreateWindowExW(0, L"STATIC", L"harness", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                      nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!window) return 10;
  if (visible) {
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    if (!IsWindowVisible(window)) return 11;
    if (GetSystemMetrics(SM_CXSCREEN) != 1280 || GetSystemMetrics(SM_CYSCREEN) != 1024) return 12;
  }
  DestroyWindow(window);
  return 0;
}
