#include "panel/core/notification_table.h"

#include "platform/ascii_case.h"

namespace panel {

namespace {

using platform::EqualsIgnoringCase;

PanelAction ClickAction(std::u16string_view sender) {
  if (sender == u"closebtn") return PanelAction::kExitPanel;
  if (sender == u"minbtn") return PanelAction::kHideToTray;
  if (sender == u"setbtn") return PanelAction::kToggleSettingsPanel;
  if (sender == u"playlistshowbtn") return PanelAction::kTogglePlayList;
  if (sender == u"play") return PanelAction::kTogglePlay;
  if (sender == u"maxbtn") return PanelAction::kMaximise;
  if (sender == u"restorebtn") return PanelAction::kRestore;
  return PanelAction::kNone;  // "test" and every other control
}

}  // namespace

PanelAction ClassifyNotification(std::u16string_view type, std::u16string_view sender_name,
                                 bool sender_is_receiver_row) {
  if (EqualsIgnoringCase(type, u"windowinit") || EqualsIgnoringCase(type, u"killfocus")) {
    return PanelAction::kNone;
  }
  if (EqualsIgnoringCase(type, u"click")) return ClickAction(sender_name);
  if (EqualsIgnoringCase(type, u"valuechanged")) {
    return sender_name == u"sliderbuffer" ? PanelAction::kSetVideoMode : PanelAction::kNone;
  }
  if (EqualsIgnoringCase(type, u"selectchanged")) {
    if (sender_name == u"checklocalaudio") return PanelAction::kSetLocalAudio;
    if (sender_name == u"checkextscr") return PanelAction::kSetExtensionScreen;
    return PanelAction::kNone;
  }
  if (type == u"itemactivate") {
    return sender_is_receiver_row ? PanelAction::kActivateRow : PanelAction::kNone;
  }
  if (type == u"itemselect" && sender_name == u"setview") return PanelAction::kApplyTopology;
  return PanelAction::kNone;
}

int TopologyChoice(bool copy_selected, bool exp_selected, bool only_selected) {
  if (copy_selected) return 2;
  if (exp_selected) return 4;
  if (only_selected) return 1;
  return 0;
}

}  // namespace panel
