#include "platform/sim/sim_debug_output.h"

#include <cstdio>

namespace platform::sim {

namespace {

std::string ToUtf8(std::u16string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t code = text[i];
    if (code >= 0xD800 && code < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] < 0xE000) {
      code = 0x10000 + ((code - 0xD800) << 10) + (text[++i] - 0xDC00);
    } else if (code >= 0xD800 && code < 0xE000) {
      code = 0xFFFD;  // a lone surrogate
    }
    if (code < 0x80) {
      out += static_cast<char>(code);
    } else if (code < 0x800) {
      out += static_cast<char>(0xC0 | code >> 6);
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      out += static_cast<char>(0xE0 | code >> 12);
      out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | code >> 18);
      out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
      out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  return out;
}

// A debugger receives the text as a C string: nothing after a NUL.
template <typename Char>
std::basic_string_view<Char> UpToNul(std::basic_string_view<Char> text) {
  return text.substr(0, text.find(Char(0)));
}

}  // namespace

void RecordingDebugOutput::Write(std::string_view text) { lines_.emplace_back(UpToNul(text)); }
void RecordingDebugOutput::Write(std::u16string_view text) {
  lines_.push_back(ToUtf8(UpToNul(text)));
}
std::vector<std::string> RecordingDebugOutput::Lines() const { return lines_; }
void RecordingDebugOutput::Clear() { lines_.clear(); }

void StderrDebugOutput::Write(std::string_view text) {
  text = UpToNul(text);
  std::fwrite(text.data(), 1, text.size(), stderr);
}
void StderrDebugOutput::Write(std::u16string_view text) {
  const std::string utf8 = ToUtf8(UpToNul(text));
  std::fwrite(utf8.data(), 1, utf8.size(), stderr);
}

}  // namespace platform::sim
