#include <string_view>

#include "debug_output_subject.h"
#include "platform/sim/sim_debug_output.h"

namespace platform::testing {

namespace {

// The recorder keeps each call's text; split it as a debugger's line view does.
void AppendLines(std::string_view text, std::vector<std::string>& lines) {
  if (text.ends_with("\r\n")) {
    text.remove_suffix(2);
  } else if (text.ends_with('\n')) {
    text.remove_suffix(1);
  }
  for (;;) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (line.ends_with('\r')) line.remove_suffix(1);
    lines.emplace_back(line);
    if (end == std::string_view::npos) return;
    text.remove_prefix(end + 1);
  }
}

class RecorderSubject : public DebugOutputSubject {
 public:
  DebugOutput& Output() override { return recorder_; }
  std::vector<std::string> Lines(size_t) override {
    std::vector<std::string> lines;
    for (const std::string& text : recorder_.Lines()) AppendLines(text, lines);
    return lines;
  }

 private:
  sim::RecordingDebugOutput recorder_;
};

}  // namespace

std::unique_ptr<DebugOutputSubject> MakeDebugOutputSubject() {
  return std::make_unique<RecorderSubject>();
}

}  // namespace platform::testing
