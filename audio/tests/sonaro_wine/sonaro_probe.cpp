// The other programs of the Wine tests: looks at sonaro's frame, sends it the registered
// messages, reports the audio endpoints and the default one, and plays a running instance.
//
//   sonaro_probe frame SECONDS       waits for the frame; prints its title, marker and visibility
//   sonaro_probe gone SECONDS        waits until no window carries the marker
//   sonaro_probe send MESSAGE        sends the registered message to the marked window
//   sonaro_probe quit                posts WM_QUIT to the marked window
//   sonaro_probe logoff              sends it WM_QUERYENDSESSION, then WM_ENDSESSION with TRUE,
//                                    and ends its process as soon as that has returned, as the
//                                    system may
//   sonaro_probe endpoints           prints every render endpoint and the console default
//   sonaro_probe marker SECONDS      holds a hidden window with the marker; says when it is
//                                    brought to the foreground
// Exit code 0 on success, 1 when the awaited state did not come, 2 on a usage error.
#include <windows.h>

#include <cstdio>
#include <string>

#include "audio/core/core_audio.h"
#include "audio/core/default_endpoint_control.h"
#include "audio/win32/win32_core_audio.h"
#include "platform/win32/wide_text.h"

namespace {

constexpr wchar_t kMarker[] = L"SONARO application";
// The exit code a process ended at the session's end is given.
constexpr UINT kEndedBySession = 0xE5;

std::string Utf8(const std::u16string& text) {
  std::string out;
  for (char16_t c : text) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  return out;
}

BOOL CALLBACK TakeMarkedWindow(HWND window, LPARAM result) {
  if (reinterpret_cast<uintptr_t>(GetPropW(window, kMarker)) != 1) return TRUE;
  *reinterpret_cast<HWND*>(result) = window;
  return FALSE;
}

HWND FindMarkedWindow() {
  HWND found = nullptr;
  EnumWindows(TakeMarkedWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

int WaitForFrame(int seconds) {
  for (int i = 0; i < seconds * 20; ++i, Sleep(50)) {
    const HWND frame = FindMarkedWindow();
    if (frame == nullptr) continue;
    wchar_t title[64] = {};
    GetWindowTextW(frame, title, 64);
    std::printf("frame title=%s marker=%u visible=%d\n",
                Utf8(platform::win32::FromWide(title)).c_str(),
                static_cast<unsigned>(reinterpret_cast<uintptr_t>(GetPropW(frame, kMarker))),
                IsWindowVisible(frame) ? 1 : 0);
    return 0;
  }
  std::printf("no frame\n");
  return 1;
}

int WaitUntilGone(int seconds) {
  for (int i = 0; i < seconds * 20; ++i, Sleep(50)) {
    if (FindMarkedWindow() == nullptr) return 0;
  }
  return 1;
}

int Send(const wchar_t* name) {
  const HWND frame = FindMarkedWindow();
  if (frame == nullptr) return 1;
  SendMessageW(frame, RegisterWindowMessageW(name), 0, 0);
  return 0;
}

int Quit() {
  const HWND frame = FindMarkedWindow();
  return frame != nullptr && PostMessageW(frame, WM_QUIT, 0, 0) ? 0 : 1;
}

int Logoff() {
  const HWND frame = FindMarkedWindow();
  if (frame == nullptr) return 1;
  DWORD process_id = 0;
  GetWindowThreadProcessId(frame, &process_id);
  const HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, process_id);
  if (process == nullptr) return 1;
  const LRESULT may_end = SendMessageW(frame, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
  SendMessageW(frame, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
  const BOOL ended = TerminateProcess(process, kEndedBySession);
  CloseHandle(process);
  std::printf("query answered %d, process ended %d\n", static_cast<int>(may_end), ended ? 1 : 0);
  return ended ? 0 : 1;
}

int Endpoints() {
  audio::win32::Win32ComRuntime com;
  audio::win32::Win32CoreAudio core_audio;
  com.Initialize(audio::ComApartment::kMultithreaded);
  std::unique_ptr<audio::AudioEndpointEnumerator> enumerator;
  if (platform::Failed(core_audio.CreateEnumerator(&enumerator))) return 1;
  std::unique_ptr<audio::AudioEndpointCollection> endpoints;
  uint32_t count = 0;
  if (platform::Succeeded(
          enumerator->RenderEndpoints(audio::kSearchedEndpointStates, &endpoints))) {
    endpoints->Count(&count);
  }
  for (uint32_t i = 0; i < count; ++i) {
    std::unique_ptr<audio::AudioEndpoint> endpoint;
    std::u16string name, id;
    if (platform::Failed(endpoints->Item(i, &endpoint))) continue;
    endpoint->FriendlyName(&name);
    endpoint->Id(&id);
    std::printf("endpoint %s name=%s\n", Utf8(id).c_str(), Utf8(name).c_str());
  }
  std::unique_ptr<audio::AudioEndpoint> current;
  std::u16string name;
  if (platform::Succeeded(
          enumerator->DefaultRenderEndpoint(audio::EndpointRole::kConsole, &current)) &&
      platform::Succeeded(current->FriendlyName(&name))) {
    std::printf("default name=%s\n", Utf8(name).c_str());
  } else {
    std::printf("default none\n");
  }
  enumerator.reset();
  endpoints.reset();
  com.Uninitialize();
  return 0;
}

int HoldMarker(int seconds) {
  const HWND window = CreateWindowExW(0, L"STATIC", L"first instance", WS_OVERLAPPED, 0, 0, 10, 10,
                                      nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (window == nullptr) return 1;
  SetPropW(window, kMarker, reinterpret_cast<HANDLE>(1));
  std::printf("marker ready\n");
  std::fflush(stdout);
  int result = 1;
  for (int i = 0; i < seconds * 20; ++i) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    if (GetForegroundWindow() == window) {
      std::printf("marker brought to the foreground\n");
      result = 0;
      break;
    }
    Sleep(50);
  }
  RemovePropW(window, kMarker);
  DestroyWindow(window);
  return result;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  const std::wstring command = argv[1];
  const int seconds = argc > 2 ? _wtoi(argv[2]) : 10;
  if (command == L"frame") return WaitForFrame(seconds);
  if (command == L"gone") return WaitUntilGone(seconds);
  if (command == L"send" && argc > 2) return Send(argv[2]);
  if (command == L"quit") return Quit();
  if (command == L"logoff") return Logoff();
  if (command == L"endpoints") return Endpoints();
  if (command == L"marker") return HoldMarker(seconds);
  return 2;
}
