// CWindowWnd: a Windows window owned by an object. Derived classes give the class name, an
// optional system class to superclass, the class style and the message handler; the final
// message hook runs after WM_NCDESTROY (a window object made with new may delete itself there).
#pragma once
#include <windows.h>

#include <string>

namespace ui {

class CWindowWnd {
 public:
  CWindowWnd() = default;
  virtual ~CWindowWnd() = default;
  CWindowWnd(const CWindowWnd&) = delete;
  CWindowWnd& operator=(const CWindowWnd&) = delete;

  HWND GetHWND() const { return hwnd_; }
  operator HWND() const { return hwnd_; }

  // Registers the class on first use and creates the window; nullptr on failure.
  HWND Create(HWND parent, LPCWSTR name, DWORD style, DWORD ex_style, int x, int y, int cx, int cy,
              HMENU menu = nullptr);
  // show false hides; take_focus activates when showing.
  void ShowWindow(bool show = true, bool take_focus = true);
  void CenterWindow();
  // Sets the big and small icons from the program's icon resource.
  void SetIcon(UINT resource_id);

 protected:
  virtual LPCWSTR GetWindowClassName() const = 0;
  // A system class to build on (e.g. L"STATIC"); nullptr for a class of our own.
  virtual LPCWSTR GetSuperClassName() const;
  virtual UINT GetClassStyle() const;
  // The default passes the message to the superclass's procedure or DefWindowProc.
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  virtual void OnFinalMessage(HWND hwnd);

 private:
  bool RegisterWindowClass();
  bool RegisterSuperclass();
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  HWND hwnd_ = nullptr;
  WNDPROC super_proc_ = ::DefWindowProcW;
};

// Runs the thread's message loop until WM_QUIT; returns its exit code.
int RunMessageLoop();

}  // namespace ui
