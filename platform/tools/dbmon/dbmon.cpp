// Debug-output monitor for test runs under Wine: collects the OutputDebugString lines of every
// process in the prefix through the DBWIN_BUFFER protocol and appends them to a log file.
//
// Usage: dbmon.exe LOG_FILE READY_FILE
//   Creates READY_FILE once the DBWIN objects exist, so a runner can start the program under
//   test only after that. Stops when its standard input reaches end of file; a line whose
//   OutputDebugString call has returned before that is always in the log.
//
// Log format (UTF-8): "<pid>\t<text>\n" per line. The protocol carries 8-bit text in the ANSI
// code page (wide strings are converted by OutputDebugStringW), which is re-encoded as UTF-8.
// One trailing line end ("\n" or "\r\n") is dropped; a text with further line feeds becomes
// several log lines with the same pid.
#include <windows.h>

#include <cstring>
#include <string>
#include <string_view>

namespace {

constexpr DWORD kBufferSize = 4096;
// How long a writer that took the buffer just before the stop may take to fill it.
constexpr DWORD kInFlightWriteMs = 2000;

struct DbwinBuffer {
  DWORD process_id;
  char text[kBufferSize - sizeof(DWORD)];
};

struct Channel {
  HANDLE buffer_ready = nullptr;
  HANDLE data_ready = nullptr;
  HANDLE mapping = nullptr;
  const DbwinBuffer* buffer = nullptr;
};

bool OpenChannel(Channel& channel) {
  channel.buffer_ready = CreateEventW(nullptr, FALSE, FALSE, L"DBWIN_BUFFER_READY");
  channel.data_ready = CreateEventW(nullptr, FALSE, FALSE, L"DBWIN_DATA_READY");
  channel.mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                       kBufferSize, L"DBWIN_BUFFER");
  if (!channel.buffer_ready || !channel.data_ready || !channel.mapping) return false;
  if (GetLastError() == ERROR_ALREADY_EXISTS) return false;  // another monitor owns it
  channel.buffer = static_cast<const DbwinBuffer*>(
      MapViewOfFile(channel.mapping, FILE_MAP_READ, 0, 0, kBufferSize));
  return channel.buffer != nullptr;
}

std::string AnsiToUtf8(std::string_view ansi) {
  if (ansi.empty()) return {};
  const int wide_size = MultiByteToWideChar(CP_ACP, 0, ansi.data(), ansi.size(), nullptr, 0);
  std::wstring wide(wide_size, L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), ansi.size(), wide.data(), wide_size);
  const int size =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_size, nullptr, 0, nullptr, nullptr);
  std::string utf8(size, '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_size, utf8.data(), size, nullptr, nullptr);
  return utf8;
}

// One log line per line of text, each prefixed with the writer's process id.
std::string FormatRecord(DWORD process_id, std::string_view text) {
  if (text.ends_with("\r\n")) {
    text.remove_suffix(2);
  } else if (text.ends_with('\n')) {
    text.remove_suffix(1);
  }
  const std::string prefix = std::to_string(process_id) + '\t';
  std::string out;
  for (;;) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (line.ends_with('\r')) line.remove_suffix(1);
    out += prefix;
    out += line;
    out += '\n';
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return out;
}

void Record(const Channel& channel, HANDLE log) {
  const DbwinBuffer& buffer = *channel.buffer;
  const size_t length = strnlen(buffer.text, sizeof(buffer.text));
  const std::string line =
      FormatRecord(buffer.process_id, AnsiToUtf8(std::string_view(buffer.text, length)));
  DWORD written = 0;
  WriteFile(log, line.data(), line.size(), &written, nullptr);
}

// Sets the stop event when standard input ends (the runner closes its end, or dies).
DWORD WINAPI WatchInput(void* stop_event) {
  const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  char scratch[256];
  DWORD read = 0;
  while (ReadFile(input, scratch, sizeof(scratch), &read, nullptr) && read > 0) {
  }
  SetEvent(static_cast<HANDLE>(stop_event));
  return 0;
}

void Monitor(const Channel& channel, HANDLE log, HANDLE stop) {
  SetEvent(channel.buffer_ready);
  // Data before stop: a line written before the stop is recorded even if both are signalled.
  const HANDLE waits[] = {channel.data_ready, stop};
  while (WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0) {
    Record(channel, log);
    SetEvent(channel.buffer_ready);
  }
  // A writer that already took the buffer finishes its line.
  if (WaitForSingleObject(channel.buffer_ready, 0) == WAIT_TIMEOUT &&
      WaitForSingleObject(channel.data_ready, kInFlightWriteMs) == WAIT_OBJECT_0) {
    Record(channel, log);
  }
}

bool CreateReadyFile(const wchar_t* path) {
  const HANDLE file =
      CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

void Complain(const char* what) {
  const std::string message =
      std::string("dbmon: ") + what + " (error " + std::to_string(GetLastError()) + ")\n";
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), message.data(), message.size(), &written, nullptr);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    Complain("usage: dbmon.exe LOG_FILE READY_FILE");
    return 2;
  }
  const HANDLE log = CreateFileW(argv[1], FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (log == INVALID_HANDLE_VALUE) {
    Complain("cannot open the log file");
    return 1;
  }
  Channel channel;
  if (!OpenChannel(channel)) {
    Complain("cannot create the DBWIN objects");
    return 1;
  }
  const HANDLE stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  const HANDLE watcher = CreateThread(nullptr, 0, WatchInput, stop, 0, nullptr);
  if (!stop || !watcher) {
    Complain("cannot start the input watcher");
    return 1;
  }
  if (!CreateReadyFile(argv[2])) {
    Complain("cannot create the ready file");
    return 1;
  }
  Monitor(channel, log, stop);
  CloseHandle(log);
  return 0;
}
