// Text read as the C runtime's fgets reads a file opened in text mode.
#pragma once
#include <string>
#include <string_view>

#include "platform/files.h"

namespace platform::sim {

class SimTextReader : public TextReader {
 public:
  explicit SimTextReader(std::string_view contents);
  bool ReadChunk(size_t max_chars, std::string* chunk) override;

 private:
  std::string text_;
  size_t position_ = 0;
};

}  // namespace platform::sim
