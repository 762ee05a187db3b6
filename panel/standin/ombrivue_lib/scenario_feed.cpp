#include "panel/standin/ombrivue_lib/scenario_feed.h"

#include <vector>

#include "panel/sim/receiver_script.h"
#include "platform/paths.h"
#include "platform/win32/scoped_handles.h"
#include "platform/win32/wide_text.h"

namespace panel::standin {
namespace {

std::wstring Environment(const wchar_t* name) {
  wchar_t value[MAX_PATH] = {};
  DWORD n = ::GetEnvironmentVariableW(name, value, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::wstring(value, n) : std::wstring();
}

std::wstring FolderOfThisLibrary() {
  HMODULE self = nullptr;
  ::GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&FolderOfThisLibrary), &self);
  wchar_t path[MAX_PATH] = {};
  DWORD n = ::GetModuleFileNameW(self, path, MAX_PATH);
  return platform::win32::ToWide(
      platform::FolderOf(platform::win32::FromWide(std::wstring_view(path, n))));
}

}  // namespace

ScenarioFeed::ScenarioFeed(sim::ReceiverSimulation& model) : model_(model) {
  script_path_ = Environment(L"OMBRIVUE_SIM_SCRIPT");
  log_path_ = Environment(L"OMBRIVUE_SIM_LOG");
  if (script_path_.empty()) {
    std::wstring beside = FolderOfThisLibrary() + L"OmbrivueSim.txt";
    if (::GetFileAttributesW(beside.c_str()) != INVALID_FILE_ATTRIBUTES) {
      script_path_ = beside;
    } else {
      model_.AddReceiver({u"Living Room", u"http://192.168.1.20/", u"1-00-03", true});
      model_.AddReceiver({u"Meeting Room", u"http://192.168.1.21/", u"1-00-00", true});
    }
  }
}

void ScenarioFeed::Pump() {
  if (!script_path_.empty()) ApplyNewLines();
}

void ScenarioFeed::ApplyNewLines() {
  platform::win32::ScopedKernelHandle file(::CreateFileW(
      script_path_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return;
  LARGE_INTEGER size{};
  std::string added;
  if (::GetFileSizeEx(file.get(), &size) && static_cast<uint64_t>(size.QuadPart) > script_offset_) {
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(script_offset_);
    ::SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN);
    // A scenario is a few lines; read at most 64 KiB a call.
    uint64_t want = static_cast<uint64_t>(size.QuadPart) - script_offset_;
    added.resize(static_cast<size_t>(want > 65536 ? 65536 : want));
    DWORD read = 0;
    if (!::ReadFile(file.get(), added.data(), static_cast<DWORD>(added.size()), &read, nullptr))
      read = 0;
    added.resize(read);
    script_offset_ += read;
  }
  file.reset();
  partial_line_ += added;
  size_t newline;
  while ((newline = partial_line_.find('\n')) != std::string::npos) {
    std::string line = partial_line_.substr(0, newline);
    partial_line_.erase(0, newline + 1);
    std::string error;
    if (!sim::ApplyScriptLine(model_, line, &error)) AppendToLog("error: " + error + "\n");
  }
}

void ScenarioFeed::Log() {
  if (log_path_.empty()) return;
  std::vector<std::string> calls = model_.Calls();
  std::string text;
  for (; calls_logged_ < calls.size(); ++calls_logged_) text += calls[calls_logged_] + "\n";
  if (!text.empty()) AppendToLog(text);
}

void ScenarioFeed::AppendToLog(const std::string& text) {
  if (log_path_.empty()) return;
  platform::win32::ScopedKernelHandle file(
      ::CreateFileW(log_path_.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return;
  DWORD written = 0;
  ::WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

}  // namespace panel::standin
