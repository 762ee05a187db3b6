#include "sim_text_reader.h"

#include <algorithm>

namespace platform::sim {

SimTextReader::SimTextReader(std::string_view contents) {
  // Text mode: CR LF pairs read as LF, and Ctrl+Z ends the file.
  for (size_t i = 0; i < contents.size() && contents[i] != '\x1A'; ++i) {
    if (contents[i] == '\r' && i + 1 < contents.size() && contents[i + 1] == '\n') continue;
    text_ += contents[i];
  }
}

bool SimTextReader::ReadChunk(size_t max_chars, std::string* chunk) {
  if (max_chars == 0 || position_ >= text_.size()) return false;
  const size_t line_end = text_.find('\n', position_);
  const size_t available =
      line_end == std::string::npos ? text_.size() - position_ : line_end + 1 - position_;
  const size_t length = std::min(available, max_chars);
  chunk->assign(text_, position_, length);
  position_ += length;
  // What follows a NUL byte in the chunk is invisible to a caller of fgets.
  chunk->resize(std::min(chunk->size(), chunk->find('\0')));
  return true;
}

}  // namespace platform::sim
