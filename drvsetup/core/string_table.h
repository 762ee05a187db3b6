// The program's string table; the system picks the language.
#pragma once
#include <cstddef>
#include <optional>
#include <string>

namespace drvsetup {

class StringTable {
 public:
  virtual ~StringTable() = default;
  // The string loaded into a buffer of buffer_chars characters (so cut to one less);
  // nullopt when the table has no such string.
  virtual std::optional<std::string> Load(unsigned id, size_t buffer_chars) = 0;
};

}  // namespace drvsetup
