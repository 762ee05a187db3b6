// A test signal whose every frame says which frame it is: channel 0 carries the frame number,
// channel 1 its bitwise complement, any further channel 0, each cut to the sample width. Silence
// (all zero) is never a valid frame, so a reader can tell numbered audio from fill.
#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "vad_layout.h"

namespace vad {

// Writes frames first..first+count-1 into out (count × block_align bytes). Formats need two
// channels or more and 8, 16, 24 or 32-bit integer samples.
void WriteNumberedFrames(const VadWaveFormat& format, uint64_t first, uint32_t count, uint8_t* out);

// The frame number modulo 2^bits of one frame, if it is a numbered frame.
std::optional<uint32_t> FrameNumber(const VadWaveFormat& format, const uint8_t* frame);

struct SequenceCheck {
  uint64_t numbered = 0;     // numbered frames seen
  uint64_t lost = 0;         // numbers skipped between two numbered frames
  uint64_t repeated = 0;     // numbered frames not later than the one before
  uint64_t longest_run = 0;  // most numbered frames in a row, each right after the one before
};

// Follows frame numbers that wrap at `modulus` (2^bits); a jump backwards counts as repeated
// frames, a jump forwards as lost ones.
SequenceCheck CheckSequence(const std::vector<uint32_t>& numbers, uint64_t modulus);

// What a recording of the numbered signal holds (for example a sound card's output file).
// Between the first and the last numbered frame, other frames are either silence (all zero: a
// player filling in while its source ran dry, or a pause) or foreign (anything else: damage).
struct RecordingCheck {
  SequenceCheck sequence;
  uint64_t first_numbered_frame = 0;  // index of the first numbered frame in the recording
  uint64_t first_number = 0;          // its number
  uint64_t last_number = 0;           // the number of the last numbered frame
  uint64_t silent = 0;
  uint64_t foreign = 0;
  uint64_t audible = 0;  // frames read that are not all zero, wherever they lie
};

// Reads whole frames of `format` from `bytes`; a trailing partial frame is ignored.
RecordingCheck CheckRecording(const VadWaveFormat& format, const uint8_t* bytes, size_t length);

// A 16-bit stereo recording of the signal played at another rate, so resampled: the numbers are
// no longer exact, but each frame's two samples still sum to -1 (the resampler is linear) and
// the number climbs by the ratio of the rates per frame. The longest stretch of such frames
// whose number climbs by 0, 1 or 2 each time, and how far it climbed over the stretch.
struct ResampledRun {
  uint64_t frames = 0;
  uint64_t advance = 0;
};
ResampledRun LongestResampledRun(const uint8_t* bytes, size_t length);

}  // namespace vad
