// What the frame does for a toolkit notification: the first matching row of the table wins.
#pragma once
#include <string_view>

namespace panel {

enum class PanelAction {
  kNone,
  kExitPanel,
  kHideToTray,
  kToggleSettingsPanel,
  kTogglePlayList,
  kTogglePlay,
  kSetVideoMode,
  kSetLocalAudio,
  kSetExtensionScreen,
  kActivateRow,
  kApplyTopology,
  kMaximise,
  kRestore,
};

// type: the notification type ("click", "itemactivate", ...); "windowinit", "killfocus",
// "click", "valuechanged" and "selectchanged" match in any letter case, "itemactivate" and
// "itemselect" exactly. sender_is_receiver_row: the sender is a row of the receiver list.
PanelAction ClassifyNotification(std::u16string_view type, std::u16string_view sender_name,
                                 bool sender_is_receiver_row);

// The topology value for the "setview" choice: the first selected of "copy", "exp", "only"
// gives 2, 4 or 1; 0 when none is selected.
int TopologyChoice(bool copy_selected, bool exp_selected, bool only_selected);

}  // namespace panel
