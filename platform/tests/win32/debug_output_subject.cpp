#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "debug_output_subject.h"
#include "platform/win32/win32_debug_output.h"

namespace platform::testing {

namespace {

constexpr DWORD kPatienceMs = 10'000;

// Reads back the runner's debug-output log ("<pid>\t<text>" lines, see scripts/wine-run.sh),
// keeping this process's lines written after the subject was made.
class MonitorLogSubject : public DebugOutputSubject {
 public:
  MonitorLogSubject() : path_(LogPath()), start_(LogText().size()) {}

  DebugOutput& Output() override { return output_; }

  std::vector<std::string> Lines(size_t count) override {
    std::vector<std::string> lines = OwnLines();
    for (DWORD waited = 0; lines.size() < count && waited < kPatienceMs; waited += 10) {
      Sleep(10);
      lines = OwnLines();
    }
    return lines;
  }

 private:
  static std::string LogPath() {
    const char* path = std::getenv("OV_DEBUG_LOG_WIN");
    return path ? path : "";
  }

  std::string LogText() const {
    std::ifstream file(path_, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
  }

  std::vector<std::string> OwnLines() const {
    const std::string prefix = std::to_string(GetCurrentProcessId()) + '\t';
    std::istringstream log(LogText().substr(start_));
    std::vector<std::string> lines;
    std::string line;
    // Only complete lines: the monitor may be in the middle of writing one.
    while (std::getline(log, line) && !log.eof()) {
      if (line.starts_with(prefix)) lines.push_back(line.substr(prefix.size()));
    }
    return lines;
  }

  win32::Win32DebugOutput output_;
  std::string path_;
  size_t start_;
};

}  // namespace

std::unique_ptr<DebugOutputSubject> MakeDebugOutputSubject() {
  return std::make_unique<MonitorLogSubject>();
}

}  // namespace platform::testing
