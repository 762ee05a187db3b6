// The system code page's character structure: which bytes open a double-byte character.
// Device ids and paths are 8-bit text in that code page, so text walks step whole characters.
#pragma once
#include <cstdint>

namespace drvsetup {

class CodePage {
 public:
  virtual ~CodePage() = default;
  virtual bool IsLeadByte(uint8_t byte) const = 0;
};

// A code page without double-byte characters.
class SingleByteCodePage : public CodePage {
 public:
  bool IsLeadByte(uint8_t) const override { return false; }
};

}  // namespace drvsetup
