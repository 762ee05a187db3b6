#include "panel/core/display_config_dump.h"

#include <cinttypes>
#include <string>

#include "platform/formatted_text.h"
#include "platform/strings.h"

namespace panel {
namespace {

struct EnumName {
  uint32_t value;
  const char* name;
};

// The name of value, or nullptr for a value without one (nothing is written for it).
template <size_t N>
const char* NameOf(const EnumName (&names)[N], uint32_t value) {
  for (const EnumName& entry : names) {
    if (entry.value == value) return entry.name;
  }
  return nullptr;
}

void WriteWide(platform::DebugOutput& debug, const std::string& text) {
  debug.Write(std::u16string_view(platform::Utf8ToUtf16(text)));
}

// The line "<prefix><name>\r\n" for a named value; nothing for a value without a name.
void WriteNamed(platform::DebugOutput& debug, const char* prefix, const char* name) {
  if (name != nullptr) WriteWide(debug, std::string(prefix) + name + "\r\n");
}

// A whole line for a value that has one; nothing for a value without one.
void WriteLineIfAny(platform::DebugOutput& debug, const char* line) {
  if (line != nullptr) WriteWide(debug, line);
}

constexpr uint32_t kOutputTechnologyDJpn = 8;

constexpr EnumName kOutputTechnologies[] = {
    {0xFFFFFFFF, "OTHER"},
    {0, "HD15"},
    {1, "SVIDEO"},
    {2, "COMPOSITE_VIDEO"},
    {3, "COMPONENT_VIDEO"},
    {4, "DVI"},
    {5, "HDMI"},
    {6, "LVDS"},
    {9, "SDI"},
    {10, "DISPLAYPORT_EXTERNAL"},
    {11, "DISPLAYPORT_EMBEDDED"},
    {12, "UDI_EXTERNAL"},
    {13, "UDI_EMBEDDED"},
    {14, "SDTVDONGLE"},
    {0x80000000, "INTERNAL"},
};

constexpr EnumName kRotations[] = {
    {1, "IDENTITY"},
    {2, "ROTATE90"},
    {3, "ROTATE180"},
    {4, "ROTATE270"},
    {0xFFFFFFFF, "FORCE_UINT32"},
};

constexpr EnumName kScalings[] = {
    {1, "IDENTITY"},
    {2, "CENTERED"},
    {3, "STRETCHED"},
    {4, "ASPECTRATIOCENTEREDMAX"},
    {5, "CUSTOM"},
    {128, "PREFERRED"},
    {0xFFFFFFFF, "FORCE_UINT32"},
};

constexpr EnumName kScanLineOrderings[] = {
    {0, "scanLineOrdering: DISPLAYCONFIG_SCANLINE_ORDERING_UNSPECIFIED\r\n"},
    {1, "scanLineOrdering: DISPLAYCONFIG_SCANLINE_ORDERING_PROGRESSIVE\r\n"},
    {2, "scanLineOrdering: \r\n"},
    {3, "scanLineOrdering: DISPLAYCONFIG_SCANLINE_ORDERING_INTERLACED_LOWERFIELDFIRST\r\n"},
    {0xFFFFFFFF, "scanLineOrdering: DISPLAYCONFIG_SCANLINE_ORDERING_FORCE_UINT32\r\n"},
};

constexpr EnumName kModeInfoTypes[] = {
    {1, "infotype DISPLAYCONFIG_MODE_INFO_TYPE_SOURCE\r\n"},
    {2, "infotype DISPLAYCONFIG_MODE_INFO_TYPE_TARGET\r\n"},
    {0xFFFFFFFF, "infotype DISPLAYCONFIG_MODE_INFO_TYPE_FORCE_UINT32\r\n"},
};

constexpr EnumName kPixelFormats[] = {
    {1, "8BPP"},  {2, "16BPP"},  {3, "24BPP"},
    {4, "32BPP"}, {5, "NONGDI"}, {0xFFFFFFFF, "FORCE_UINT32"},
};

void WriteScanLineOrdering(platform::DebugOutput& debug, uint32_t ordering) {
  WriteLineIfAny(debug, NameOf(kScanLineOrderings, ordering));
}

// The technology line is the one 8-bit line of the path dump.
void WriteOutputTechnology(platform::DebugOutput& debug, uint32_t technology) {
  constexpr char kPrefix[] = "outputTechnology: DISPLAYCONFIG_OUTPUT_TECHNOLOGY_";
  if (technology == kOutputTechnologyDJpn) {
    debug.Write("outputTechnology: outputTechnology: DISPLAYCONFIG_OUTPUT_TECHNOLOGY_D_JPN\r\n");
    return;
  }
  const char* name = NameOf(kOutputTechnologies, technology);
  if (name != nullptr) debug.Write(std::string(kPrefix) + name + "\r\n");
}

}  // namespace

void DumpDisplayPath(const DisplayConfigPathInfo& path, platform::DebugOutput& debug) {
  const DisplayConfigPathSourceInfo& source = path.source_info;
  const DisplayConfigPathTargetInfo& target = path.target_info;
  WriteWide(debug, "--------------------PATH-----------------------\r\n");
  WriteWide(debug, platform::FormatText("state:%08X\r\n", path.flags));
  WriteWide(debug,
            platform::FormatText(
                "source:\r\nadapterID_H:%08X L:%08X\r\nID:%08X\r\nModeIndex:%08X\r\nFlag:%08X",
                static_cast<uint32_t>(source.adapter_id.high_part), source.adapter_id.low_part,
                source.id, source.mode_info_idx, source.status_flags));
  WriteWide(debug,
            platform::FormatText("target:\r\nadapterId H: %08X L:%08X ID:%08X Index:%08X",
                                 static_cast<uint32_t>(target.adapter_id.high_part),
                                 target.adapter_id.low_part, target.id, target.mode_info_idx));
  WriteOutputTechnology(debug, target.output_technology);
  // The line's numerator is left-justified: "%-08X", whose zero flag has no effect beside '-'.
  WriteWide(debug,
            platform::FormatText("refreshRate--Numerator:%-8X Denominator:%08X",
                                 target.refresh_rate.numerator, target.refresh_rate.denominator));
  WriteNamed(debug, "rotation: DISPLAYCONFIG_ROTATION_", NameOf(kRotations, target.rotation));
  WriteNamed(debug, "scaling: DISPLAYCONFIG_SCALING_", NameOf(kScalings, target.scaling));
  WriteScanLineOrdering(debug, target.scan_line_ordering);
  WriteWide(debug, platform::FormatText("state:%08X  valiable:%08X", target.status_flags,
                                        static_cast<uint32_t>(target.target_available)));
}

void DumpDisplayMode(const DisplayConfigModeInfo& mode, platform::DebugOutput& debug) {
  const DisplayConfigSourceMode source = AsSourceMode(mode);
  const DisplayConfigVideoSignalInfo signal = AsTargetMode(mode).target_video_signal_info;
  WriteWide(debug, "-----------------------MODE------------------------\r\n");
  WriteWide(debug, platform::FormatText("adpterID H:%08X L:%08X ID:%08X",
                                        static_cast<uint32_t>(mode.adapter_id.high_part),
                                        mode.adapter_id.low_part, mode.id));
  WriteLineIfAny(debug, NameOf(kModeInfoTypes, mode.info_type));
  WriteNamed(debug, "source pixelFormat: DISPLAYCONFIG_PIXELFORMAT_",
             NameOf(kPixelFormats, source.pixel_format));
  WriteWide(debug,
            platform::FormatText("source pos(%d,%d) Width:%d Height:%d\r\n", source.position.x,
                                 source.position.y, static_cast<int>(source.width),
                                 static_cast<int>(source.height)));
  WriteWide(debug, platform::FormatText("target activeSize(CX=%d,cy=%d)\r\n",
                                        static_cast<int>(signal.active_size.cx),
                                        static_cast<int>(signal.active_size.cy)));
  WriteWide(debug, platform::FormatText("target totalsize(cx=%d,cy=%d)",
                                        static_cast<int>(signal.total_size.cx),
                                        static_cast<int>(signal.total_size.cy)));
  WriteWide(debug, platform::FormatText("target pixelRate:%016" PRIX64 " videoStander:%08X\r\n",
                                        signal.pixel_rate, signal.video_standard));
  WriteWide(debug,
            platform::FormatText("target Hfreq Numerator:%08X Denominator:%08X\r\n",
                                 signal.h_sync_freq.numerator, signal.h_sync_freq.denominator));
  WriteWide(debug,
            platform::FormatText("target Vfreq Numerator:%08X Denominator:%08X\r\n",
                                 signal.v_sync_freq.numerator, signal.v_sync_freq.denominator));
  WriteScanLineOrdering(debug, signal.scan_line_ordering);
}

}  // namespace panel
