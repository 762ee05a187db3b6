#include "drvsetup/win32/win32_adapters.h"

namespace drvsetup::win32 {

void Win32Sleeper::Sleep(uint32_t milliseconds) { ::Sleep(milliseconds); }

bool Win32CodePage::IsLeadByte(uint8_t byte) const { return IsDBCSLeadByte(byte) != FALSE; }

}  // namespace drvsetup::win32
