// printf-style text for the debug output, whose lines are given as format strings.
#pragma once
#include <string>

namespace panel {

std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace panel
