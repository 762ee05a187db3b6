#include "bench/core/command_line.h"

#include <climits>
#include <cstddef>
#include <string>

namespace vexmark {

namespace {

constexpr std::size_t kMaxValueChars = 259;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsSwitch(char c) { return c == '-' || c == '/'; }

// Decimal conversion as atoi does it (blanks, sign, leading digits), saturating instead of
// overflowing.
int ToInt(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > INT_MAX) {
      value = static_cast<long long>(INT_MAX) + 1;
      break;
    }
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  return static_cast<int>(value);
}

// Collects an option's value starting at pos; pos ends after what was taken.
std::string CollectValue(const char* text, std::size_t& pos, bool stop_at_switch) {
  while (IsBlank(text[pos])) ++pos;
  std::string value;
  while (text[pos] != '\0') {
    if (stop_at_switch && IsSwitch(text[pos])) break;
    if (IsBlank(text[pos])) {
      std::size_t next = pos;
      while (IsBlank(text[next])) ++next;
      if (IsSwitch(text[next])) break;
    }
    if (value.size() < kMaxValueChars) value += text[pos];
    ++pos;
  }
  return value;
}

void PrintUsage(const char* command_line, DebugLog& log) {
  log("\"%s\" is not a valid arg string.\n", command_line);
  log("Command line usage:\n");
  log("vexmark [option]\n");
  log("\t option:\n");
  log("\t\t -c: CaptureOnly.\n");
  log("\t\t -e: EncodeOnly.\n");
  log("\t\t -j: Judge KMD rendering method.\n");
  log("\t\t -k: Use WDDM 1.1 kernal-mode rendering.\n");
  log("\t\t -x: Use WDDM 1.0 kernal-mode rendering.\n");
  log("\t\t -g [quality]: Use GPU JPEG encoding.\n");
  log("\t\t -m: Measure Capture/Encode time.\n");
  log("\t\t -n: New separate threads to Capture/Encode.\n");
  log("\t\t -f freq: Test freq.\n");
  log("\t\t -t time: Test time.\n");
  log("\t\t -i time: Interval time.\n");
  log("\t\t -b type: Run Benchmark type.\n");
}

// Applies the option at text[pos] (the switch character); false when the walk must stop.
bool TakeOption(const char* text, std::size_t& pos, VexmarkOptions& o) {
  char letter = text[pos + 1];
  if (letter == '\0' || !(IsBlank(text[pos + 2]) || text[pos + 2] == '\0')) return false;
  pos += 2;
  auto value_option = [&](int& flag, int& number) {
    flag = 1;
    std::string value = CollectValue(text, pos, false);
    if (!value.empty()) number = ToInt(value);
  };
  switch (letter | 0x20) {
    case 'c':
      o.bCaptureOnly = 1;
      return true;
    case 'e':
      o.bEncodeOnly = 1;
      return true;
    case 'j':
      o.bJudgeKMDRender = 1;
      return true;
    case 'k':
      o.bUseKMDRenderWDDM1_1 = 1;
      return true;
    case 'x':
      o.bUseKMDRenderWDDM1_0 = 1;
      return true;
    case 'm':
      o.bMeasureCETime = 1;
      return true;
    case 'n':
      o.bMultiThread = 1;
      return true;
    case 'g': {
      o.bUseGPUEncoder = 1;
      std::string value = CollectValue(text, pos, true);
      if (!value.empty()) o.quality = ToInt(value);
      return true;
    }
    case 'f':
      value_option(o.bTestFreq, o.times);
      o.bTestTime = 0;
      return true;
    case 't':
      value_option(o.bTestTime, o.secs);
      return true;
    case 'i':
      value_option(o.bTestIntTime, o.intervalMs);
      return true;
    case 'b':
      value_option(o.bGPUBench, o.benchType);
      return true;
    default:
      return false;
  }
}

void ResolveConflicts(VexmarkOptions& o, DebugLog& log) {
  if (o.bTestFreq && o.bTestTime) {
    log("Freq & Time can not set at the same time. Use Freq option.\n");
    o.bTestTime = 0;
  }
  if (o.bUseKMDRenderWDDM1_0 || o.bUseKMDRenderWDDM1_1) {
    o.bJudgeKMDRender = 0;
    if (o.bUseKMDRenderWDDM1_0 && o.bUseKMDRenderWDDM1_1) {
      log("Can not enable both WDDM 1.0 & 1.1 kernal-mode rendering! Use 1.1.\n");
      o.bUseKMDRenderWDDM1_0 = 0;
    }
  }
  if (o.bTestIntTime && o.bMultiThread) {
    log("Multi-thread option can not be used with test inteval! Use single thread.\n");
    o.bMultiThread = 0;
  }
  if (o.bCaptureOnly && o.bEncodeOnly) {
    log("EncodeOnly option can not be used with CaptureOnly option! Use CaptureOnly.\n");
    o.bEncodeOnly = 0;
  }
  if (o.bCaptureOnly && o.bMultiThread) {
    log("Multi-thread option can not be used with CaptureOnly option! Use single thread.\n");
    o.bMultiThread = 0;
  }
  if (o.bMeasureCETime && o.bMultiThread) {
    log("Multi-thread option can not be used with Measure Capture/Encode time option! Use "
        "single thread.\n");
    o.bMultiThread = 0;
  }
  if (o.bGPUBench) {
    log("GPUBench option enabled. Enable GPUEncoder option. Disable Multi-thread and "
        "CaptureOnly option.\n");
    o.bUseGPUEncoder = 1;
    o.bMultiThread = 0;
    o.bCaptureOnly = 0;
  } else if (o.bUseGPUEncoder && (o.bCaptureOnly || o.bMultiThread)) {
    log("Multi-thread or CaptureOnly option can not be used with GPUEncoder option! Disable "
        "GPUEncoder.\n");
    o.bUseGPUEncoder = 0;
  }
}

void DumpOptions(const VexmarkOptions& o, DebugLog& log) {
  log("Options: ------------------------\n");
  log("  \t bCaptureOnly: %d\n", o.bCaptureOnly);
  log("  \t bEncodeOnly: %d\n", o.bEncodeOnly);
  log("  \t bJudgeKMDRender: %d\n", o.bJudgeKMDRender);
  log("  \t bUseKMDRenderWDDM1_0: %d\n", o.bUseKMDRenderWDDM1_0);
  log("  \t bUseKMDRenderWDDM1_1: %d\n", o.bUseKMDRenderWDDM1_1);
  log("  \t bUseGPUEncoder: %d, quality=%d\n", o.bUseGPUEncoder, o.quality);
  log("  \t bMeasureCETime: %d\n", o.bMeasureCETime);
  log("  \t bMultiThread: %d\n", o.bMultiThread);
  log("  \t bTestFreq: %d, %d times\n", o.bTestFreq, o.times);
  log("  \t bTestTime: %d, %d secs\n", o.bTestTime, o.secs);
  log("  \t bTestIntTime: %d, %d ms\n", o.bTestIntTime, o.intervalMs);
  log("  \t bGPUBench: %d, type %d\n", o.bGPUBench, o.benchType);
  log("<== vProcessCMDLine\n");
}

}  // namespace

void vProcessCMDLine(const char* command_line, VexmarkOptions& options, DebugLog& log) {
  log("==> vProcessCMDLine\n");
  if (command_line == nullptr) return;
  std::size_t pos = 0;
  while (command_line[pos] != '\0') {
    if (!IsSwitch(command_line[pos])) {
      ++pos;
      continue;
    }
    if (!TakeOption(command_line, pos, options)) {
      PrintUsage(command_line, log);
      break;
    }
  }
  ResolveConflicts(options, log);
  DumpOptions(options, log);
}

}  // namespace vexmark
