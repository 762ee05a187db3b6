// 8-bit text cut into whole characters of the system code page, with letters folded for
// comparisons that ignore case.
#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

#include "drvsetup/core/code_page.h"

namespace drvsetup {

// One character: a single byte (ASCII letters folded to lower case), or a double-byte
// character as 0x10000 | lead << 8 | trail. A lead byte at the very end stands alone.
using MbChar = uint32_t;

std::vector<MbChar> SplitFoldedChars(std::string_view text, const CodePage& code_page);

}  // namespace drvsetup
