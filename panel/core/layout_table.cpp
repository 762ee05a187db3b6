#include "panel/core/layout_table.h"

namespace panel {

namespace {

// Indexed by settings shown + 2 * play list shown.
constexpr LayoutRow kLayoutRows[] = {
    {280, 100, 40, 60, u"bkimg01.png"},
    {280, 100, 20, 80, u"bkimg02.png"},
    {260, 120, 40, 60, u"bkimg03.png"},
    {260, 120, 20, 80, u"bkimg04.png"},
};

}  // namespace

const LayoutRow& LayoutRowFor(bool settings_shown, bool playlist_shown) {
  return kLayoutRows[(settings_shown ? 1 : 0) + (playlist_shown ? 2 : 0)];
}

}  // namespace panel
