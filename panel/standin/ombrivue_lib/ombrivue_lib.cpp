// The stand-in streaming library: every export runs the receiver model, after taking in the
// scenario lines a test added since the last call.
#define OMBRIVUE_LIB_BUILD
#include <windows.h>

#include <mutex>
#include <string>

#include "panel/sim/receiver_simulation.h"
#include "panel/standin/ombrivue_lib/scenario_feed.h"
#include "panel/win32/ombrivue_lib_exports.h"

namespace {

using panel::sim::ReceiverSimulation;
using panel::standin::ScenarioFeed;

struct Library {
  ReceiverSimulation model;
  ScenarioFeed feed{model};
  std::mutex feed_lock;
};

Library& TheLibrary() {
  static Library library;
  return library;
}

// Runs one call on the model between taking in the scenario and logging the call; a call the
// scenario slows down waits first, outside every lock, as a slow library would.
template <typename Call>
auto Run(const char* function, Call call) {
  Library& library = TheLibrary();
  {
    std::lock_guard hold(library.feed_lock);
    library.feed.Pump();
  }
  if (const int32_t delay = library.model.CallDelay(function); delay > 0) {
    // Said before the wait, so a test knows the call is under way.
    ::OutputDebugStringA(
        ("OmbrivueLib: ZYNOV_" + std::string(function) + " takes " + std::to_string(delay) + " ms")
            .c_str());
    ::Sleep(static_cast<DWORD>(delay));
  }
  struct LogAfter {
    Library& library;
    ~LogAfter() {
      std::lock_guard hold(library.feed_lock);
      library.feed.Log();
    }
  } log_after{library};
  return call(library.model);
}

const char16_t* Text(const wchar_t* text) { return reinterpret_cast<const char16_t*>(text); }

}  // namespace

int32_t ZYNOV_LibraryInit() {
  return Run("LibraryInit", [](ReceiverSimulation& m) { return m.LibraryInit(); });
}
void ZYNOV_LibraryDestroy() {
  Run("LibraryDestroy", [](ReceiverSimulation& m) { m.LibraryDestroy(); });
}
int32_t ZYNOV_ServiceInit(int32_t receiver) {
  return Run("ServiceInit", [=](ReceiverSimulation& m) { return m.ServiceInit(receiver); });
}
void ZYNOV_BackgroundTask(panel::LibraryEvent* event) {
  Run("BackgroundTask", [=](ReceiverSimulation& m) { m.BackgroundTask(event); });
}
int32_t ZYNOV_GetDeviceCount() {
  return Run("GetDeviceCount", [](ReceiverSimulation& m) { return m.GetDeviceCount(); });
}
void ZYNOV_GetDeviceInfo(int32_t receiver, panel::ReceiverInfo* info) {
  Run("GetDeviceInfo", [=](ReceiverSimulation& m) { m.GetDeviceInfo(receiver, info); });
}
void ZYNOV_GetDeviceUniqueName(int32_t receiver, wchar_t* buffer, int32_t capacity) {
  Run("GetDeviceUniqueName", [=](ReceiverSimulation& m) {
    m.GetDeviceUniqueName(receiver, reinterpret_cast<char16_t*>(buffer), capacity);
  });
}
void ZYNOV_SetSelectDevice(int32_t receiver) {
  Run("SetSelectDevice", [=](ReceiverSimulation& m) { m.SetSelectDevice(receiver); });
}
void ZYNOV_Rediscovery() {
  Run("Rediscovery", [](ReceiverSimulation& m) { m.Rediscovery(); });
}
int32_t ZYNOV_SetCommand(int32_t receiver, const wchar_t* command, const wchar_t* parameter) {
  return Run("SetCommand", [=](ReceiverSimulation& m) {
    return m.SetCommand(receiver, Text(command), Text(parameter));
  });
}
int32_t ZYNOV_GetVideoMode() {
  return Run("GetVideoMode", [](ReceiverSimulation& m) { return m.GetVideoMode(); });
}
void ZYNOV_SetVideoMode(int32_t mode) {
  Run("SetVideoMode", [=](ReceiverSimulation& m) { m.SetVideoMode(mode); });
}
int32_t ZYNOV_GetLocalAudio() {
  return Run("GetLocalAudio", [](ReceiverSimulation& m) { return m.GetLocalAudio(); });
}
void ZYNOV_SetLocalAudio(int32_t on) {
  Run("SetLocalAudio", [=](ReceiverSimulation& m) { m.SetLocalAudio(on); });
}
int32_t ZYNOV_ExistH264Encoder() {
  return Run("ExistH264Encoder", [](ReceiverSimulation& m) { return m.ExistH264Encoder(); });
}
int32_t ZYNOV_GetPortNumber() {
  return Run("GetPortNumber", [](ReceiverSimulation& m) { return m.GetPortNumber(); });
}
int32_t ZYNOV_ExistExtensionScreen() {
  return Run("ExistExtensionScreen",
             [](ReceiverSimulation& m) { return m.ExistExtensionScreen(); });
}
int32_t ZYNOV_GetExtensionScreen() {
  return Run("GetExtensionScreen", [](ReceiverSimulation& m) { return m.GetExtensionScreen(); });
}
void ZYNOV_SetExtensionScreen(int32_t on) {
  Run("SetExtensionScreen", [=](ReceiverSimulation& m) { m.SetExtensionScreen(on); });
}
void ZYNOV_SetVirtualExtend(int32_t value) {
  Run("SetVirtualExtend", [=](ReceiverSimulation& m) { m.SetVirtualExtend(value); });
}
