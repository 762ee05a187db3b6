// Test program: what another program does to a running vexmark.
//   vexmark_poke displaychange   posts WM_DISPLAYCHANGE to vexmark's sink window
//   vexmark_poke exclusive MS    holds DirectDraw exclusive full-screen mode for MS milliseconds
#include <ddraw.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int PostDisplayChange() {
  HWND sink = FindWindowA("Vexmark desktop sink", "Vexmark");
  if (!sink) {
    std::fprintf(stderr, "no vexmark sink window\n");
    return 3;
  }
  HDC screen = GetDC(nullptr);
  WPARAM bits = static_cast<WPARAM>(GetDeviceCaps(screen, BITSPIXEL));
  ReleaseDC(nullptr, screen);
  LPARAM size = MAKELPARAM(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  return PostMessageA(sink, WM_DISPLAYCHANGE, bits, size) ? 0 : 4;
}

int HoldExclusiveMode(DWORD milliseconds) {
  HWND window = CreateWindowExA(0, "STATIC", "exclusive", WS_POPUP | WS_VISIBLE, 0, 0, 64, 64,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  IDirectDraw7* draw = nullptr;
  if (!window || FAILED(DirectDrawCreateEx(nullptr, reinterpret_cast<void**>(&draw),
                                           IID_IDirectDraw7, nullptr))) {
    return 3;
  }
  HRESULT result = draw->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN);
  std::printf("exclusive mode: 0x%08lx\n", static_cast<unsigned long>(result));
  std::fflush(stdout);
  DWORD end = GetTickCount() + milliseconds;
  while (GetTickCount() < end) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    Sleep(10);
  }
  draw->SetCooperativeLevel(window, DDSCL_NORMAL);
  draw->Release();
  DestroyWindow(window);
  return SUCCEEDED(result) ? 0 : 4;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && std::strcmp(argv[1], "displaychange") == 0) return PostDisplayChange();
  if (argc >= 3 && std::strcmp(argv[1], "exclusive") == 0) {
    return HoldExclusiveMode(static_cast<DWORD>(std::atoi(argv[2])));
  }
  std::fprintf(stderr, "usage: vexmark_poke displaychange | exclusive MS\n");
  return 2;
}
