// Debug output recorded with its channel, for tests that check which lines are 8-bit.
#pragma once
#include <ostream>
#include <string>
#include <vector>

#include "platform/debug_output.h"
#include "platform/strings.h"

namespace panel::test {

struct DebugLine {
  bool wide = false;
  std::string text;  // wide lines as UTF-8
  bool operator==(const DebugLine&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const DebugLine& line) {
  return out << (line.wide ? "wide \"" : "8-bit \"") << line.text << '"';
}

class DebugChannelRecorder : public platform::DebugOutput {
 public:
  void Write(std::string_view text) override { lines.push_back({false, std::string(text)}); }
  void Write(std::u16string_view text) override {
    lines.push_back({true, platform::Utf16ToUtf8(text)});
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const DebugLine& line : lines) texts.push_back(line.text);
    return texts;
  }

  std::vector<DebugLine> lines;
};

inline DebugLine Narrow(std::string text) { return {false, std::move(text)}; }
inline DebugLine Wide(std::string text) { return {true, std::move(text)}; }

}  // namespace panel::test
