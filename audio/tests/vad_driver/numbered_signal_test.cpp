// The numbered test signal: frames carry their number through every sample width, fill is never
// mistaken for a frame, and the sequence check counts gaps and repeats across wrap-around.
#include "numbered_signal.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

VadWaveFormat Pcm(uint16_t channels, uint16_t bits) {
  const uint16_t align = static_cast<uint16_t>(channels * bits / 8);
  return VadWaveFormat{1, channels, 48000, 48000u * align, align, bits, 0};
}

TEST(NumberedSignalTest, FramesCarryTheirNumberInEverySampleWidth) {
  for (const VadWaveFormat& format : {Pcm(2, 8), Pcm(2, 16), Pcm(2, 24), Pcm(2, 32), Pcm(6, 16)}) {
    std::vector<uint8_t> frames(10u * format.block_align);
    vad::WriteNumberedFrames(format, 65530, 10, frames.data());
    const uint32_t mask =
        format.bits_per_sample == 32 ? 0xFFFFFFFFu : (1u << format.bits_per_sample) - 1u;
    for (uint32_t i = 0; i < 10; ++i) {
      const auto number = vad::FrameNumber(format, frames.data() + i * format.block_align);
      ASSERT_TRUE(number.has_value()) << format.bits_per_sample << " bits, frame " << i;
      EXPECT_EQ(*number, (65530u + i) & mask);
    }
  }
}

TEST(NumberedSignalTest, SilenceAndMonoAreNotNumbered) {
  const uint8_t silence[8] = {};
  EXPECT_FALSE(vad::FrameNumber(Pcm(2, 16), silence).has_value());
  std::vector<uint8_t> frame(4);
  vad::WriteNumberedFrames(Pcm(2, 16), 0, 1, frame.data());
  EXPECT_EQ(vad::FrameNumber(Pcm(2, 16), frame.data()), 0u) << "frame 0 is not silence";
  EXPECT_FALSE(vad::FrameNumber(Pcm(1, 16), frame.data()).has_value());
}

TEST(NumberedSignalTest, SequenceCheckCountsLostAndRepeatedFramesAcrossWrap) {
  const vad::SequenceCheck clean = vad::CheckSequence({65534, 65535, 0, 1, 2}, 65536);
  EXPECT_EQ(clean.numbered, 5u);
  EXPECT_EQ(clean.lost, 0u);
  EXPECT_EQ(clean.repeated, 0u);
  EXPECT_EQ(clean.longest_run, 5u);

  const vad::SequenceCheck gap = vad::CheckSequence({10, 11, 15, 16}, 65536);
  EXPECT_EQ(gap.lost, 3u);
  EXPECT_EQ(gap.repeated, 0u);

  const vad::SequenceCheck again = vad::CheckSequence({10, 11, 11, 9, 10}, 65536);
  EXPECT_EQ(again.repeated, 2u);
  EXPECT_EQ(again.lost, 0u);
  EXPECT_EQ(again.longest_run, 2u);
}

TEST(NumberedSignalTest, RecordingCheckFindsTheSignalInsideSilenceAndCountsDamage) {
  const VadWaveFormat format = Pcm(2, 16);
  std::vector<uint8_t> recording(100u * 4);  // 100 frames: 10 silent, 80 numbered, 10 silent
  vad::WriteNumberedFrames(format, 500, 80, recording.data() + 10 * 4);
  vad::RecordingCheck check = vad::CheckRecording(format, recording.data(), recording.size() - 2);
  EXPECT_EQ(check.first_numbered_frame, 10u);
  EXPECT_EQ(check.first_number, 500u);
  EXPECT_EQ(check.sequence.numbered, 80u);
  EXPECT_EQ(check.sequence.lost, 0u);
  EXPECT_EQ(check.foreign, 0u) << "silence before and after is not damage";

  EXPECT_EQ(check.last_number, 579u);
  EXPECT_EQ(check.silent, 0u);
  EXPECT_EQ(check.audible, 80u);

  // Silence inside the signal (a player filling in) is counted apart from foreign frames.
  std::vector<uint8_t> filled(recording);
  std::memset(filled.data() + 30 * 4, 0, 20 * 4);
  std::memset(filled.data() + 70 * 4, 0x55, 5 * 4);
  check = vad::CheckRecording(format, filled.data(), filled.size());
  EXPECT_EQ(check.sequence.numbered, 55u);
  EXPECT_EQ(check.silent, 20u);
  EXPECT_EQ(check.foreign, 5u);
  EXPECT_EQ(check.audible, 60u);
  EXPECT_EQ(check.sequence.lost, 25u) << "the frames the fill replaced";

  recording[40 * 4] ^= 0x01;                               // one damaged frame
  std::memcpy(&recording[60 * 4], &recording[59 * 4], 4);  // one repeated
  check = vad::CheckRecording(format, recording.data(), recording.size());
  EXPECT_EQ(check.foreign, 1u);
  EXPECT_EQ(check.sequence.numbered, 79u);
  EXPECT_EQ(check.sequence.repeated, 1u);
  EXPECT_EQ(check.sequence.lost, 2u) << "the damaged frame and the one the repeat replaced";
}

TEST(NumberedSignalTest, AResampledRecordingShowsItsRunAndTheRateRatio) {
  // 44100 Hz frames resampled to 48000 Hz by linear interpolation, then a repeated stretch.
  std::vector<int16_t> samples;
  for (int i = 0; i < 4800; ++i) {
    const double number = 1000 + i * 44100.0 / 48000.0;
    const auto value = static_cast<int16_t>(static_cast<int>(number + 0.5));
    samples.push_back(value);
    samples.push_back(static_cast<int16_t>(-value - 1));
  }
  samples.insert(samples.end(), samples.begin(), samples.begin() + 2000);
  const vad::ResampledRun run = vad::LongestResampledRun(
      reinterpret_cast<const uint8_t*>(samples.data()), samples.size() * 2);
  EXPECT_EQ(run.frames, 4800u);
  EXPECT_NEAR(static_cast<double>(run.advance) / (run.frames - 1), 44100.0 / 48000.0, 0.001);

  // The same frames not resampled climb by exactly one: the ratio tells the two apart.
  std::vector<uint8_t> exact(4800u * 4);
  vad::WriteNumberedFrames(Pcm(2, 16), 1000, 4800, exact.data());
  const vad::ResampledRun unchanged = vad::LongestResampledRun(exact.data(), exact.size());
  EXPECT_EQ(unchanged.advance, unchanged.frames - 1);
}

}  // namespace
