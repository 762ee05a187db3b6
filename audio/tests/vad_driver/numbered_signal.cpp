#include "numbered_signal.h"

#include <cstring>

namespace vad {

namespace {

uint32_t SampleBytes(const VadWaveFormat& format) { return format.bits_per_sample / 8u; }

uint32_t SampleMask(const VadWaveFormat& format) {
  return format.bits_per_sample >= 32 ? 0xFFFFFFFFu : (1u << format.bits_per_sample) - 1u;
}

void PutSample(uint8_t* at, uint32_t bytes, uint32_t value) {
  for (uint32_t i = 0; i < bytes; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

uint32_t GetSample(const uint8_t* at, uint32_t bytes) {
  uint32_t value = 0;
  for (uint32_t i = 0; i < bytes; ++i) value |= static_cast<uint32_t>(at[i]) << (8 * i);
  return value;
}

}  // namespace

void WriteNumberedFrames(const VadWaveFormat& format, uint64_t first, uint32_t count,
                         uint8_t* out) {
  const uint32_t bytes = SampleBytes(format);
  std::memset(out, 0, static_cast<size_t>(count) * format.block_align);
  for (uint32_t f = 0; f < count; ++f) {
    uint8_t* frame = out + static_cast<size_t>(f) * format.block_align;
    const uint32_t number = static_cast<uint32_t>(first + f);
    PutSample(frame, bytes, number);
    PutSample(frame + bytes, bytes, ~number);
  }
}

std::optional<uint32_t> FrameNumber(const VadWaveFormat& format, const uint8_t* frame) {
  const uint32_t bytes = SampleBytes(format);
  if (format.channels < 2 || bytes == 0) return std::nullopt;
  const uint32_t mask = SampleMask(format);
  const uint32_t number = GetSample(frame, bytes);
  if (GetSample(frame + bytes, bytes) != (~number & mask)) return std::nullopt;
  return number;
}

SequenceCheck CheckSequence(const std::vector<uint32_t>& numbers, uint64_t modulus) {
  SequenceCheck check;
  uint64_t run = 0;
  for (size_t i = 0; i < numbers.size(); ++i) {
    ++check.numbered;
    const uint64_t step = i == 0 ? 0 : (numbers[i] + modulus - numbers[i - 1]) % modulus;
    run = step == 1 ? run + 1 : 1;
    if (run > check.longest_run) check.longest_run = run;
    if (i == 0) continue;
    // A step beyond half the range is a step backwards.
    if (step == 0 || step > modulus / 2) {
      ++check.repeated;
    } else {
      check.lost += step - 1;
    }
  }
  return check;
}

RecordingCheck CheckRecording(const VadWaveFormat& format, const uint8_t* bytes, size_t length) {
  RecordingCheck check;
  std::vector<uint32_t> numbers;
  const size_t frames = format.block_align ? length / format.block_align : 0;
  // Silent and foreign frames since the last numbered one.
  uint64_t silent = 0, foreign = 0;
  for (size_t f = 0; f < frames; ++f) {
    const uint8_t* frame = bytes + f * format.block_align;
    const std::optional<uint32_t> number = FrameNumber(format, frame);
    if (!number) {
      bool zero = true;
      for (uint32_t i = 0; i < format.block_align; ++i) zero = zero && frame[i] == 0;
      if (!zero) ++check.audible;
      ++(zero ? silent : foreign);
      continue;
    }
    if (numbers.empty()) {
      check.first_numbered_frame = f;
      check.first_number = *number;
    } else {
      check.silent += silent;
      check.foreign += foreign;
    }
    ++check.audible;
    silent = foreign = 0;
    check.last_number = *number;
    numbers.push_back(*number);
  }
  const uint64_t modulus =
      format.bits_per_sample >= 32 ? (1ull << 32) : (1ull << format.bits_per_sample);
  check.sequence = CheckSequence(numbers, modulus);
  return check;
}

ResampledRun LongestResampledRun(const uint8_t* bytes, size_t length) {
  // How far the two samples' sum may stray from -1 (rounding in the resampler).
  constexpr int kSumTolerance = 4;
  // Largest climb from one frame to the next at any lower source rate, rounding included.
  constexpr uint16_t kMaxStep = 2;
  ResampledRun longest, run;
  uint16_t previous = 0;
  for (size_t at = 0; at + 4 <= length; at += 4) {
    int16_t first, second;
    std::memcpy(&first, bytes + at, 2);
    std::memcpy(&second, bytes + at + 2, 2);
    const int sum = first + second + 1;
    const bool numbered =
        (first != 0 || second != 0) && sum >= -kSumTolerance && sum <= kSumTolerance;
    const auto number = static_cast<uint16_t>(first);
    const auto step = static_cast<uint16_t>(number - previous);
    if (!numbered) {
      run = {};
    } else if (run.frames > 0 && step <= kMaxStep) {
      ++run.frames;
      run.advance += step;
    } else {
      run = {1, 0};
    }
    previous = number;
    if (run.frames > longest.frames) longest = run;
  }
  return longest;
}

}  // namespace vad
