// vad_frame_check: reads a raw recording (for example what a sound card's output device wrote)
// and reports how the numbered signal of vad_feeder came through.
//
//   vad_frame_check.exe <raw file> <channels> <bits>
//
// Prints "numbered N first_frame F first_number X last_number Y lost L repeated R silent S
// foreign G audible A longest_run R resampled_run F resampled_advance V" (see numbered_signal.h;
// the resampled fields are read for 16-bit stereo only). Exit code 0 when numbered frames were
// found and none was lost, repeated or damaged; 1 otherwise or when the file cannot be read.
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "numbered_signal.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: vad_frame_check <raw file> <channels> <bits>\n");
    return 1;
  }
  const int channels = std::atoi(argv[2]);
  const int bits = std::atoi(argv[3]);
  if (channels < 2 || channels > 8 || (bits != 8 && bits != 16 && bits != 24 && bits != 32)) {
    std::fprintf(stderr, "vad_frame_check: needs 2 to 8 channels of 8, 16, 24 or 32 bits\n");
    return 1;
  }
  std::FILE* file = std::fopen(argv[1], "rb");
  if (!file) {
    std::fprintf(stderr, "vad_frame_check: cannot open %s\n", argv[1]);
    return 1;
  }
  std::vector<uint8_t> bytes;
  uint8_t chunk[65536];
  for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;) {
    bytes.insert(bytes.end(), chunk, chunk + n);
  }
  std::fclose(file);

  const uint16_t align = static_cast<uint16_t>(channels * bits / 8);
  const VadWaveFormat format{1,     static_cast<uint16_t>(channels), 48000, 48000u * align,
                             align, static_cast<uint16_t>(bits),     0};
  const vad::RecordingCheck check = vad::CheckRecording(format, bytes.data(), bytes.size());
  const vad::ResampledRun resampled = channels == 2 && bits == 16
                                          ? vad::LongestResampledRun(bytes.data(), bytes.size())
                                          : vad::ResampledRun{};
  std::printf(
      "numbered %llu first_frame %llu first_number %llu last_number %llu lost %llu repeated %llu "
      "silent %llu foreign %llu audible %llu longest_run %llu resampled_run %llu "
      "resampled_advance %llu\n",
      static_cast<unsigned long long>(check.sequence.numbered),
      static_cast<unsigned long long>(check.first_numbered_frame),
      static_cast<unsigned long long>(check.first_number),
      static_cast<unsigned long long>(check.last_number),
      static_cast<unsigned long long>(check.sequence.lost),
      static_cast<unsigned long long>(check.sequence.repeated),
      static_cast<unsigned long long>(check.silent), static_cast<unsigned long long>(check.foreign),
      static_cast<unsigned long long>(check.audible),
      static_cast<unsigned long long>(check.sequence.longest_run),
      static_cast<unsigned long long>(resampled.frames),
      static_cast<unsigned long long>(resampled.advance));
  const bool clean = check.sequence.numbered > 0 && check.sequence.lost == 0 &&
                     check.sequence.repeated == 0 && check.foreign == 0;
  return clean ? 0 : 1;
}
