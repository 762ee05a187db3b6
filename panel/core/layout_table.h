// The frame's layout for each combination of the settings area and the play list being open.
#pragma once

namespace panel {

// How much the window grows when the settings area or the play list opens.
inline constexpr int kSettingsHeightStep = 60;
inline constexpr int kPlayListWidthStep = 100;

struct LayoutRow {
  int mainpos_width;
  int playlist_width;
  int body4_height;
  int setpos_height;
  const char16_t* frame_background;
};

const LayoutRow& LayoutRowFor(bool settings_shown, bool playlist_shown);

}  // namespace panel
