// vad_feeder: plays the audio engine's part for the stand-in virtual audio driver. Runs its
// steps in order; the numbered signal's frame count goes on across them.
//
//   vad_feeder.exe <step>...
//     start:<rate>:<channels>:<bits>   a new stream in 16/24/32-bit (or 8-bit) PCM, running
//     play:<ms>                        the numbered signal at real-time pace for that long
//     rate:<rate>                      the current stream's sample rate, changed in place
//     format:<rate>:<channels>:<bits> the current stream's whole format, changed in place
//     pause | resume | stop            the stream state
//     wait:<ms>                        nothing for that long
//     journal                          prints the driver's request journal, one entry a line:
//                                      "<sequence> <event> <process id> <status in hex>"
//
// Prints one line per step; exit code 0, or 1 when a step fails or cannot be read.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "numbered_signal.h"
#include "vad_feed.h"

namespace {

// Splits "name:a:b" into its parts.
std::vector<std::string> Parts(const std::string& step) {
  std::vector<std::string> parts;
  size_t at = 0;
  for (;;) {
    const size_t colon = step.find(':', at);
    parts.push_back(step.substr(at, colon - at));
    if (colon == std::string::npos) return parts;
    at = colon + 1;
  }
}

bool Number(const std::string& text, uint32_t low, uint32_t high, uint32_t* value) {
  char* end = nullptr;
  const unsigned long parsed = std::strtoul(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || parsed < low || parsed > high) return false;
  *value = static_cast<uint32_t>(parsed);
  return true;
}

class Feeder {
 public:
  bool Open() { return Report("open", feed_.Open()); }

  bool Run(const std::string& step) {
    const std::vector<std::string> parts = Parts(step);
    const std::string& name = parts[0];
    uint32_t a = 0, b = 0, c = 0;
    if (name == "start" && parts.size() == 4 && Number(parts[1], 1000, 384000, &a) &&
        Number(parts[2], 2, 8, &b) && Number(parts[3], 8, 32, &c)) {
      format_ = vad::PcmFormat(a, static_cast<uint16_t>(b), static_cast<uint16_t>(c));
      uint32_t id = 0;
      const bool ok = Report(step, feed_.Start(format_, &id));
      if (ok) std::printf("stream %u\n", id);
      return ok;
    }
    if (name == "play" && parts.size() == 2 && Number(parts[1], 0, 3600000, &a))
      return Play(step, a);
    if (name == "rate" && parts.size() == 2 && Number(parts[1], 1000, 384000, &a)) {
      format_.samples_per_sec = a;
      format_.avg_bytes_per_sec = a * format_.block_align;
      return Report(step, feed_.SetFormat(format_));
    }
    if (name == "format" && parts.size() == 4 && Number(parts[1], 1000, 384000, &a) &&
        Number(parts[2], 2, 8, &b) && Number(parts[3], 8, 32, &c)) {
      format_ = vad::PcmFormat(a, static_cast<uint16_t>(b), static_cast<uint16_t>(c));
      return Report(step, feed_.SetFormat(format_));
    }
    if (name == "pause" && parts.size() == 1) return Report(step, feed_.SetState(VAD_STATE_PAUSED));
    if (name == "resume" && parts.size() == 1) {
      return Report(step, feed_.SetState(VAD_STATE_RUNNING));
    }
    if (name == "stop" && parts.size() == 1) return Report(step, feed_.SetState(VAD_STATE_STOPPED));
    if (name == "wait" && parts.size() == 2 && Number(parts[1], 0, 3600000, &a)) {
      Sleep(a);
      return Report(step, 0);
    }
    if (name == "journal" && parts.size() == 1) return PrintJournal(step);
    std::fprintf(stderr, "vad_feeder: cannot read step \"%s\"\n", step.c_str());
    return false;
  }

 private:
  static bool Report(const std::string& step, DWORD error) {
    if (error) {
      std::fprintf(stderr, "vad_feeder: %s failed (error %lu)\n", step.c_str(), error);
    } else {
      std::printf("%s\n", step.c_str());
    }
    std::fflush(stdout);
    return error == 0;
  }

  bool PrintJournal(const std::string& step) {
    static const char* const kEvents[] = {"?",   "open",    "close", "query",
                                          "map", "confirm", "unmap", "refused"};
    std::vector<VadJournalEntry> entries;
    const DWORD error = feed_.Journal(&entries);
    for (const VadJournalEntry& entry : entries) {
      const char* event =
          entry.event < sizeof kEvents / sizeof *kEvents ? kEvents[entry.event] : "?";
      std::printf("%u %s %u %08x\n", entry.sequence, event, entry.process_id, entry.status);
    }
    return Report(step, error);
  }

  // Writes whatever the clock says is due, every few milliseconds.
  bool Play(const std::string& step, uint32_t ms) {
    if (format_.block_align == 0) {
      std::fprintf(stderr, "vad_feeder: %s before start\n", step.c_str());
      return false;
    }
    const uint64_t total = static_cast<uint64_t>(format_.samples_per_sec) * ms / 1000;
    LARGE_INTEGER frequency, begin, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&begin);
    uint64_t sent = 0;
    std::vector<uint8_t> buffer;
    while (sent < total) {
      QueryPerformanceCounter(&now);
      const uint64_t elapsed_us =
          static_cast<uint64_t>(now.QuadPart - begin.QuadPart) * 1000000 / frequency.QuadPart;
      uint64_t due = elapsed_us * format_.samples_per_sec / 1000000;
      if (due > total) due = total;
      if (due > sent) {
        const uint32_t count = static_cast<uint32_t>(due - sent);
        buffer.resize(static_cast<size_t>(count) * format_.block_align);
        vad::WriteNumberedFrames(format_, next_frame_, count, buffer.data());
        const DWORD error = feed_.Write(buffer.data(), static_cast<DWORD>(buffer.size()));
        if (error) return Report(step, error);
        next_frame_ += count;
        sent = due;
      }
      Sleep(5);
    }
    std::printf("frames %llu\n", static_cast<unsigned long long>(next_frame_));
    return Report(step, 0);
  }

  vad::Feed feed_;
  VadWaveFormat format_{};
  uint64_t next_frame_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: vad_feeder <step>...\n");
    return 1;
  }
  Feeder feeder;
  if (!feeder.Open()) return 1;
  for (int i = 1; i < argc; ++i) {
    if (!feeder.Run(argv[i])) return 1;
  }
  return 0;
}
