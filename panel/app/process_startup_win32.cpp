#include "panel/app/process_startup_win32.h"

#include <objbase.h>
#include <winsock2.h>

#include "platform/strings.h"
#include "platform/win32/wide_text.h"

namespace panel {

Win32ProcessStartup::Win32ProcessStartup(StreamingLibrary& library, platform::Sync& sync,
                                         ShellOpen& shell, InstanceMutex& mutex)
    : services_{library, sync, shell, mutex, debug_, skin_, decoder_} {}

std::string Win32ProcessStartup::ProgramFolder() {
  return platform::Utf16ToUtf8(ui::GetInstancePath());
}

void Win32ProcessStartup::LocateSkin(std::u16string_view folder, std::u16string_view archive) {
  // The folder is named below the program's own, which already ends with a separator.
  std::u16string path = ui::GetInstancePath();
  if (!path.empty() && !folder.empty() && folder.front() == u'\\') folder.remove_prefix(1);
  skin_.SetResourcePath(path + std::u16string(folder));
  skin_.SetResourceZip(std::u16string(archive));
}

bool Win32ProcessStartup::CoInitialize() { return SUCCEEDED(::CoInitialize(nullptr)); }

void Win32ProcessStartup::CoUninitialize() { ::CoUninitialize(); }

void Win32ProcessStartup::WsaStartup(int major, int minor) {
  WSADATA data{};
  ::WSAStartup(MAKEWORD(major, minor), &data);
}

bool Win32ProcessStartup::SetProcessDpiAware() {
  // Looked up at run time: Windows before Vista has no such export.
  using SetProcessDpiAwareFn = BOOL(WINAPI*)();
  HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
  if (user32 == nullptr) return false;
  auto set_aware = reinterpret_cast<SetProcessDpiAwareFn>(
      reinterpret_cast<void*>(::GetProcAddress(user32, "SetProcessDPIAware")));
  if (set_aware == nullptr) return false;
  set_aware();
  return true;
}

bool Win32ProcessStartup::CreateFrameWindow(const FrameCreation& creation) {
  auto* frame = new CAllFrameWnd(services_);
  const std::wstring title = platform::win32::ToWide(creation.title);
  // A window that fails after WM_NCCREATE deletes its object itself, so it is not deleted
  // here; the process ends soon after either way.
  if (frame->Create(nullptr, title.c_str(), creation.style, creation.ex_style, creation.x,
                    creation.y, creation.width, creation.height) == nullptr) {
    return false;
  }
  frame->SetIcon(static_cast<UINT>(creation.icon_resource));
  frame->CenterWindow();
  ::ShowWindow(frame->GetHWND(), SW_SHOW);
  return true;
}

void Win32ProcessStartup::RunMessageLoop() { ui::RunMessageLoop(); }

}  // namespace panel
