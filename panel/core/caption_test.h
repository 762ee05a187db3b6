// Which part of the captionless frame window a point is in: the skin's caption area drags
// the window, except over buttons, options and text controls.
#pragma once
#include <string_view>

#include "ui/geometry.h"

namespace panel {

// The WM_NCHITTEST answers used, with their Windows values.
enum class NcHit { kClient = 1, kCaption = 2 };

// client_point in client coordinates; caption: left and right are insets from the client
// edges, top and bottom absolute.
bool InCaptionArea(ui::Point client_point, const ui::Rect& client, const ui::Rect& caption);

// control_class: the class name of the control under the point, empty when there is none.
NcHit CaptionHitTest(ui::Point client_point, const ui::Rect& client, const ui::Rect& caption,
                     std::u16string_view control_class);

}  // namespace panel
