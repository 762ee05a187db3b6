#include "panel/core/caption_test.h"

namespace panel {

bool InCaptionArea(ui::Point client_point, const ui::Rect& client, const ui::Rect& caption) {
  return client_point.x >= client.left + caption.left &&
         client_point.x < client.right - caption.right && client_point.y >= caption.top &&
         client_point.y < caption.bottom;
}

NcHit CaptionHitTest(ui::Point client_point, const ui::Rect& client, const ui::Rect& caption,
                     std::u16string_view control_class) {
  if (!InCaptionArea(client_point, client, caption) || control_class.empty()) {
    return NcHit::kClient;
  }
  // Controls the user presses stay clickable inside the caption.
  if (control_class == u"ButtonUI" || control_class == u"OptionUI" || control_class == u"TextUI") {
    return NcHit::kClient;
  }
  return NcHit::kCaption;
}

}  // namespace panel
