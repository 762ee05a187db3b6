#include "drvsetup/core/command_line.h"

#include "drvsetup/core/component_mask.h"

namespace drvsetup {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsOptionStart(char c) { return c == '-' || c == '/'; }

size_t SkipProgramName(std::string_view line) {
  if (line.starts_with('"')) {
    const size_t close = line.find('"', 1);
    return close == std::string_view::npos ? line.size() : close + 1;
  }
  size_t i = 0;
  while (i < line.size() && static_cast<unsigned char>(line[i]) > ' ') ++i;
  return i;
}

// The value's end: the end of the line or a blank followed by an option start.
size_t ValueEnd(std::string_view line, size_t start) {
  for (size_t i = start; i < line.size(); ++i) {
    if (IsBlank(line[i]) && i + 1 < line.size() && IsOptionStart(line[i + 1])) return i;
  }
  return line.size();
}

// Leading decimal digits; the arithmetic wraps, which keeps the low bits exact.
uint32_t LeadingNumber(std::string_view value) {
  uint32_t number = 0;
  for (char c : value) {
    if (c < '0' || c > '9') break;
    number = number * 10 + static_cast<uint32_t>(c - '0');
  }
  return number;
}

// Reads the value of an O option that starts at position; returns where scanning goes on.
size_t ReadComponentValue(std::string_view line, size_t position, CommandLineOptions* options) {
  while (position < line.size() && IsBlank(line[position])) ++position;
  const size_t end = ValueEnd(line, position);
  if (end - position <= kMaxOptionValueChars) {
    options->components |= LeadingNumber(line.substr(position, end - position)) & kAllComponents;
  }
  return end;
}

}  // namespace

CommandLineOptions ParseCommandLine(std::string_view line) {
  CommandLineOptions options;
  size_t i = SkipProgramName(line);
  while (i < line.size()) {
    if (!IsOptionStart(line[i])) {
      ++i;
      continue;
    }
    const char letter = i + 1 < line.size() ? line[i + 1] : '\0';
    const bool letter_ends = i + 2 >= line.size() || IsBlank(line[i + 2]);
    if (letter == '\0' || !letter_ends) {
      options.usage = true;
      return options;
    }
    i += 2;
    if (letter == 'O' || letter == 'o') {
      i = ReadComponentValue(line, i, &options);
    } else if (letter == 'S' || letter == 's') {
      options.quiet = true;
    } else {
      options.usage = true;
      return options;
    }
  }
  return options;
}

}  // namespace drvsetup
