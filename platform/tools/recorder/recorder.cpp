// Records one start of itself and ends with a chosen exit code.
//
// Each run appends exactly one line to the record file:
//
//   <program file name>\t<working folder>\t<parameters>\r\n
//
// - program file name: the name of the file this run was started from, without its folder
//   ("netsh.exe" when the program was copied as netsh.exe);
// - working folder: GetCurrentDirectoryA at start;
// - parameters: the command line after the program name (quoted or not), without the blanks
//   that separate it from the name, otherwise byte for byte.
//
// The record file is named by the environment variable OV_RECORD_FILE (a Windows path); without
// it, "ov_record.txt" in the program's own folder. The exit code is the number in OV_RECORD_EXIT
// (decimal, or hexadecimal with "0x"), 0 without it. Nothing else depends on the program's name,
// so one build serves as any program.
#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

std::string ModulePath() {
  char path[MAX_PATH * 4] = {};
  GetModuleFileNameA(nullptr, path, sizeof path);
  return path;
}

std::string Environment(const char* name) {
  char value[MAX_PATH * 4] = {};
  const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
  return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
}

// The command line without the program name, skipped as the C runtime skips it.
std::string Parameters() {
  const char* line = GetCommandLineA();
  if (*line == '"') {
    ++line;
    while (*line != '\0' && *line != '"') ++line;
    if (*line == '"') ++line;
  } else {
    while (static_cast<unsigned char>(*line) > ' ') ++line;
  }
  while (*line == ' ' || *line == '\t') ++line;
  return line;
}

std::string RecordLine() {
  const std::string module = ModulePath();
  char folder[MAX_PATH * 4] = {};
  GetCurrentDirectoryA(sizeof folder, folder);
  return module.substr(module.find_last_of('\\') + 1) + "\t" + folder + "\t" + Parameters() +
         "\r\n";
}

void Append(const std::string& file, const std::string& line) {
  HANDLE handle = CreateFileA(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(handle, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(handle);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  std::string file = Environment("OV_RECORD_FILE");
  if (file.empty()) {
    const std::string module = ModulePath();
    file = module.substr(0, module.find_last_of('\\') + 1) + "ov_record.txt";
  }
  Append(file, RecordLine());
  const std::string code = Environment("OV_RECORD_EXIT");
  ExitProcess(static_cast<UINT>(std::strtoul(code.c_str(), nullptr, 0)));
}
