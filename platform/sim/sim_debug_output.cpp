#include "platform/sim/sim_debug_output.h"

#include <cstdio>
#include <utility>

#include "platform/strings.h"

namespace platform::sim {

namespace {

// A debugger receives the text as a C string: nothing after a NUL.
template <typename Char>
std::basic_string_view<Char> UpToNul(std::basic_string_view<Char> text) {
  return text.substr(0, text.find(Char(0)));
}

}  // namespace

void RecordingDebugOutput::Write(std::string_view text) {
  std::lock_guard lock(mutex_);
  lines_.emplace_back(UpToNul(text));
}
void RecordingDebugOutput::Write(std::u16string_view text) {
  std::string line = Utf16ToUtf8(UpToNul(text));
  std::lock_guard lock(mutex_);
  lines_.push_back(std::move(line));
}
std::vector<std::string> RecordingDebugOutput::Lines() const {
  std::lock_guard lock(mutex_);
  return lines_;
}
void RecordingDebugOutput::Clear() {
  std::lock_guard lock(mutex_);
  lines_.clear();
}

void StderrDebugOutput::Write(std::string_view text) {
  text = UpToNul(text);
  std::fwrite(text.data(), 1, text.size(), stderr);
}
void StderrDebugOutput::Write(std::u16string_view text) {
  const std::string utf8 = Utf16ToUtf8(UpToNul(text));
  std::fwrite(utf8.data(), 1, utf8.size(), stderr);
}

}  // namespace platform::sim
