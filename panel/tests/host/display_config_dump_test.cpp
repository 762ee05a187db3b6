#include "panel/core/display_config_dump.h"

#include <gtest/gtest.h>

#include <cstring>

#include "debug_channel_recorder.h"

namespace panel {
namespace {

using test::DebugLine;
using test::Narrow;
using test::Wide;

DisplayConfigPathInfo HdmiPath() {
  DisplayConfigPathInfo path;
  path.flags = 1;
  path.source_info = {{0x1234, -2}, 0, 1, 1};
  path.target_info.adapter_id = {0x1234, -2};
  path.target_info.id = 0x101;
  path.target_info.mode_info_idx = 0;
  path.target_info.output_technology = 5;
  path.target_info.rotation = 1;
  path.target_info.scaling = 128;
  path.target_info.refresh_rate = {60000, 1001};
  path.target_info.scan_line_ordering = 1;
  path.target_info.target_available = 1;
  path.target_info.status_flags = 3;
  return path;
}

TEST(DumpDisplayPath, WritesEveryLineInOrderWithTheTechnologyLineIn8Bit) {
  test::DebugChannelRecorder debug;
  DumpDisplayPath(HdmiPath(), debug);
  const std::vector<DebugLine> expected = {
      Wide("--------------------PATH-----------------------\r\n"),
      Wide("state:00000001\r\n"),
      Wide("source:\r\nadapterID_H:FFFFFFFE L:00001234\r\nID:00000000\r\nModeIndex:00000001\r\n"
           "Flag:00000001"),
      Wide("target:\r\nadapterId H: FFFFFFFE L:00001234 ID:00000101 Index:00000000"),
      Narrow("outputTechnology: DISPLAYCONFIG_OUTPUT_TECHNOLOGY_HDMI\r\n"),
      Wide("refreshRate--Numerator:EA60     Denominator:000003E9"),
      Wide("rotation: DISPLAYCONFIG_ROTATION_IDENTITY\r\n"),
      Wide("scaling: DISPLAYCONFIG_SCALING_PREFERRED\r\n"),
      Wide("scanLineOrdering: DISPLAYCONFIG_SCANLINE_ORDERING_PROGRESSIVE\r\n"),
      Wide("state:00000003  valiable:00000001"),
  };
  EXPECT_EQ(debug.lines, expected);
}

// The text a path's technology value writes, or "" when it writes no line.
std::string TechnologyLine(uint32_t technology) {
  DisplayConfigPathInfo path = HdmiPath();
  path.target_info.output_technology = technology;
  test::DebugChannelRecorder debug;
  DumpDisplayPath(path, debug);
  for (const DebugLine& line : debug.lines) {
    if (!line.wide) return line.text;
  }
  return "";
}

TEST(DumpDisplayPath, TechnologyLinesAtTheEndsOfTheRangeAndTheDoubledPrefixFor8) {
  EXPECT_EQ(TechnologyLine(0xFFFFFFFF),
            "outputTechnology: DISPLAYCONFIG_OUTPUT_TECHNOLOGY_OTHER\r\n");
  EXPECT_EQ(TechnologyLine(0), "outputTechnology: DISPLAYCONFIG_OUTPUT_TECHNOLOGY_HD15\r\n");
  EXPECT_EQ(TechnologyLine(0x80000000),
            "outputTechnology: DISPLAYCONFIG_OUTPUT_TECHNOLOGY_INTERNAL\r\n");
  EXPECT_EQ(TechnologyLine(8),
            "outputTechnology: outputTechnology: DISPLAYCONFIG_OUTPUT_TECHNOLOGY_D_JPN\r\n");
  for (uint32_t unnamed : {7u, 15u, 0x7FFFFFFFu, 0x80000001u}) {
    EXPECT_EQ(TechnologyLine(unnamed), "") << unnamed;
  }
}

TEST(DumpDisplayPath, UnknownRotationScalingAndScanLineOrderingWriteNoLine) {
  DisplayConfigPathInfo path = HdmiPath();
  path.target_info.rotation = 0;
  path.target_info.scaling = 6;
  path.target_info.scan_line_ordering = 4;
  test::DebugChannelRecorder debug;
  DumpDisplayPath(path, debug);
  const std::vector<std::string> texts = debug.Texts();
  ASSERT_EQ(texts.size(), 7u);
  EXPECT_EQ(texts[5], "refreshRate--Numerator:EA60     Denominator:000003E9");
  EXPECT_EQ(texts[6], "state:00000003  valiable:00000001");
}

TEST(DumpDisplayPath, ScanLineOrdering2HasNoNameAndTheForceValuesHaveTheirs) {
  DisplayConfigPathInfo path = HdmiPath();
  path.target_info.rotation = 0xFFFFFFFF;
  path.target_info.scaling = 0xFFFFFFFF;
  path.target_info.scan_line_ordering = 2;
  test::DebugChannelRecorder debug;
  DumpDisplayPath(path, debug);
  ASSERT_EQ(debug.lines.size(), 10u);
  EXPECT_EQ(debug.lines[6].text, "rotation: DISPLAYCONFIG_ROTATION_FORCE_UINT32\r\n");
  EXPECT_EQ(debug.lines[7].text, "scaling: DISPLAYCONFIG_SCALING_FORCE_UINT32\r\n");
  EXPECT_EQ(debug.lines[8].text, "scanLineOrdering: \r\n");
}

DisplayConfigModeInfo SourceMode() {
  DisplayConfigModeInfo mode;
  mode.info_type = 1;
  mode.id = 0x100;
  mode.adapter_id = {0x1234, 0};
  const DisplayConfigSourceMode source{1280, 1024, 4, {-1280, 0}};
  std::memcpy(mode.mode.data(), &source, sizeof source);
  return mode;
}

DisplayConfigModeInfo TargetMode() {
  DisplayConfigModeInfo mode;
  mode.info_type = 2;
  mode.id = 0x101;
  mode.adapter_id = {0x1234, 0};
  DisplayConfigVideoSignalInfo signal;
  signal.pixel_rate = 0x12345678ABCDEF01;
  signal.h_sync_freq = {67500, 1};
  signal.v_sync_freq = {60, 1};
  signal.active_size = {1920, 1080};
  signal.total_size = {2200, 1125};
  signal.video_standard = 255;
  signal.scan_line_ordering = 1;
  std::memcpy(mode.mode.data(), &signal, sizeof signal);
  return mode;
}

TEST(DumpDisplayMode, ReadsASourceModeAlsoAsATargetMode) {
  test::DebugChannelRecorder debug;
  DumpDisplayMode(SourceMode(), debug);
  // As a target, width and height form the pixel rate, the pixel format and x the horizontal
  // frequency, y the vertical numerator.
  const std::vector<DebugLine> expected = {
      Wide("-----------------------MODE------------------------\r\n"),
      Wide("adpterID H:00000000 L:00001234 ID:00000100"),
      Wide("infotype DISPLAYCONFIG_MODE_INFO_TYPE_SOURCE\r\n"),
      Wide("source pixelFormat: DISPLAYCONFIG_PIXELFORMAT_32BPP\r\n"),
      Wide("source pos(-1280,0) Width:1280 Height:1024\r\n"),
      Wide("target activeSize(CX=0,cy=0)\r\n"),
      Wide("target totalsize(cx=0,cy=0)"),
      Wide("target pixelRate:0000040000000500 videoStander:00000000\r\n"),
      Wide("target Hfreq Numerator:00000004 Denominator:FFFFFB00\r\n"),
      Wide("target Vfreq Numerator:00000000 Denominator:00000000\r\n"),
      Wide("scanLineOrdering: DISPLAYCONFIG_SCANLINE_ORDERING_UNSPECIFIED\r\n"),
  };
  EXPECT_EQ(debug.lines, expected);
}

TEST(DumpDisplayMode, ReadsATargetModeAlsoAsASourceMode) {
  test::DebugChannelRecorder debug;
  DumpDisplayMode(TargetMode(), debug);
  // As a source the pixel format (67500) has no name, so its line is left out.
  const std::vector<std::string> expected = {
      "-----------------------MODE------------------------\r\n",
      "adpterID H:00000000 L:00001234 ID:00000101",
      "infotype DISPLAYCONFIG_MODE_INFO_TYPE_TARGET\r\n",
      "source pos(1,60) Width:-1412567295 Height:305419896\r\n",
      "target activeSize(CX=1920,cy=1080)\r\n",
      "target totalsize(cx=2200,cy=1125)",
      "target pixelRate:12345678ABCDEF01 videoStander:000000FF\r\n",
      "target Hfreq Numerator:000107AC Denominator:00000001\r\n",
      "target Vfreq Numerator:0000003C Denominator:00000001\r\n",
      "scanLineOrdering: DISPLAYCONFIG_SCANLINE_ORDERING_PROGRESSIVE\r\n",
  };
  EXPECT_EQ(debug.Texts(), expected);
}

TEST(DumpDisplayMode, AnUnknownTypeWritesNoTypeLine) {
  DisplayConfigModeInfo forced = TargetMode();
  forced.info_type = 0xFFFFFFFF;
  test::DebugChannelRecorder debug;
  DumpDisplayMode(forced, debug);
  EXPECT_EQ(debug.lines[2].text, "infotype DISPLAYCONFIG_MODE_INFO_TYPE_FORCE_UINT32\r\n");

  DisplayConfigModeInfo unknown = TargetMode();
  unknown.info_type = 3;
  debug.lines.clear();
  DumpDisplayMode(unknown, debug);
  EXPECT_EQ(debug.lines.size(), 9u);
  EXPECT_EQ(debug.lines[2].text, "source pos(1,60) Width:-1412567295 Height:305419896\r\n");
}

}  // namespace
}  // namespace panel
