// The window messages the paint manager handles, with their Windows values, so the same
// handler runs on the host.
#pragma once
#include <cstdint>

namespace ui {

inline constexpr unsigned kWmSize = 0x0005;
inline constexpr unsigned kWmPaint = 0x000F;
inline constexpr unsigned kWmMouseMove = 0x0200;
inline constexpr unsigned kWmLButtonDown = 0x0201;
inline constexpr unsigned kWmLButtonUp = 0x0202;
inline constexpr unsigned kWmLButtonDblClk = 0x0203;
inline constexpr unsigned kWmMouseLeave = 0x02A3;
// Runs the work queued with CPaintManagerUI::Invoke (WM_APP + 0x3E1).
inline constexpr unsigned kInvokeMessage = 0x8000 + 0x3E1;

// Mouse messages carry the client point in lParam: x in the low word, y in the high word,
// both signed.
inline intptr_t MakePointParam(int x, int y) {
  return static_cast<intptr_t>((static_cast<uint32_t>(y & 0xFFFF) << 16) |
                               static_cast<uint32_t>(x & 0xFFFF));
}

}  // namespace ui
