// box_watch: starts a program, answers every message box it shows, and reports what it saw.
//
//   box_watch.exe [--timeout <ms>] [--hold-mutex <name>] -- <program> [<argument>...]
//
// For each dialog box of the program's process it prints
//   box caption=<caption> topmost=<0|1> text=<text, line feeds written as \n>
// and presses OK. Every "msctls_progress32" window it sees is reported once as
//   progress title=<title> left=<x> top=<y> width=<w> height=<h> topmost=<0|1>
// At the end it prints "exit=<exit code>". With --hold-mutex it holds that named mutex while
// the program runs. Exit code 0 when the program ended in time, 3 when it had to be killed,
// 2 on bad usage or when the program cannot start.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

namespace {

struct Watch {
  DWORD process_id = 0;
  std::set<HWND> progress_seen;
  std::set<HWND> boxes_answered;
};

std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') {
      out += "\\n";
    } else if (c != '\r') {
      out += c;
    }
  }
  return out;
}

std::string WindowText(HWND window) {
  char buffer[2048] = {};
  GetWindowTextA(window, buffer, sizeof(buffer));
  return buffer;
}

BOOL CALLBACK CollectStatic(HWND child, LPARAM param) {
  char class_name[64] = {};
  GetClassNameA(child, class_name, sizeof(class_name));
  auto* text = reinterpret_cast<std::string*>(param);
  const std::string own = WindowText(child);
  if (lstrcmpiA(class_name, "Static") == 0 && own.size() > text->size()) *text = own;
  return TRUE;
}

// The message text: the static control with id 0xFFFF, or else the longest static text.
std::string BoxText(HWND box) {
  char buffer[2048] = {};
  if (GetDlgItemTextA(box, 0xFFFF, buffer, sizeof(buffer)) > 0) return buffer;
  std::string text;
  EnumChildWindows(box, CollectStatic, reinterpret_cast<LPARAM>(&text));
  return text;
}

bool IsTopmost(HWND window) { return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

void ReportProgress(HWND window, Watch* watch) {
  if (!watch->progress_seen.insert(window).second) return;
  RECT rect{};
  GetWindowRect(window, &rect);
  std::printf("progress title=%s left=%ld top=%ld width=%ld height=%ld topmost=%d\n",
              WindowText(window).c_str(), rect.left, rect.top, rect.right - rect.left,
              rect.bottom - rect.top, IsTopmost(window) ? 1 : 0);
}

BOOL CALLBACK VisitWindow(HWND window, LPARAM param) {
  auto* watch = reinterpret_cast<Watch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != watch->process_id) return TRUE;
  char class_name[64] = {};
  GetClassNameA(window, class_name, sizeof(class_name));
  if (lstrcmpiA(class_name, "msctls_progress32") == 0) {
    ReportProgress(window, watch);
  } else if (lstrcmpA(class_name, "#32770") == 0 && IsWindowVisible(window) &&
             watch->boxes_answered.insert(window).second) {
    std::printf("box caption=%s topmost=%d text=%s\n", WindowText(window).c_str(),
                IsTopmost(window) ? 1 : 0, Escaped(BoxText(window)).c_str());
    std::fflush(stdout);
    PostMessageA(window, WM_COMMAND, IDOK, 0);
  }
  return TRUE;
}

std::string Quoted(const std::string& argument) {
  if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos) return argument;
  std::string quoted(1, '"');
  quoted.append(argument).push_back('"');
  return quoted;
}

}  // namespace

int main(int argc, char** argv) {
  DWORD timeout_ms = 30000;
  const char* mutex_name = nullptr;
  int first = 1;
  for (; first < argc && std::string(argv[first]) != "--"; ++first) {
    const std::string option = argv[first];
    if (option == "--timeout" && first + 1 < argc) {
      timeout_ms = static_cast<DWORD>(std::strtoul(argv[++first], nullptr, 10));
    } else if (option == "--hold-mutex" && first + 1 < argc) {
      mutex_name = argv[++first];
    } else {
      std::fprintf(stderr, "box_watch: unknown option %s\n", option.c_str());
      return 2;
    }
  }
  if (first + 1 >= argc) {
    std::fprintf(stderr, "usage: box_watch [--timeout ms] [--hold-mutex name] -- program [args]\n");
    return 2;
  }
  HANDLE mutex = mutex_name ? CreateMutexA(nullptr, FALSE, mutex_name) : nullptr;
  std::string command_line = Quoted(argv[first + 1]);
  for (int i = first + 2; i < argc; ++i) command_line.append(" ").append(Quoted(argv[i]));
  std::vector<char> line(command_line.begin(), command_line.end());
  line.push_back('\0');
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    std::fprintf(stderr, "box_watch: cannot start %s (error %lu)\n", command_line.c_str(),
                 GetLastError());
    return 2;
  }
  Watch watch;
  watch.process_id = process.dwProcessId;
  const DWORD start = GetTickCount();
  int result = 0;
  while (WaitForSingleObject(process.hProcess, 10) == WAIT_TIMEOUT) {
    EnumWindows(VisitWindow, reinterpret_cast<LPARAM>(&watch));
    if (GetTickCount() - start > timeout_ms) {
      std::fprintf(stderr, "box_watch: time-out, killing the program\n");
      TerminateProcess(process.hProcess, 124);
      WaitForSingleObject(process.hProcess, 5000);
      result = 3;
      break;
    }
  }
  DWORD exit_code = 0;
  GetExitCodeProcess(process.hProcess, &exit_code);
  std::printf("exit=%lu\n", exit_code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  if (mutex) CloseHandle(mutex);
  return result;
}
