#include "bench/core/command_line.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "vexmark_world.h"

namespace vexmark {
namespace {

using ::testing::Contains;
using ::testing::Not;

struct Parsed {
  VexmarkOptions options;
  std::vector<std::string> lines;
};

Parsed Parse(const char* command_line) {
  platform::sim::RecordingDebugOutput output;
  DebugLog log(output);
  Parsed parsed;
  vProcessCMDLine(command_line, parsed.options, log);
  parsed.lines = output.Lines();
  return parsed;
}

const char kFreqTime[] = "Freq & Time can not set at the same time. Use Freq option.\n";
const char kUsageHead[] = "Command line usage:\n";

TEST(CommandLine, FrameLimitWinsOverTestTimeInEitherOrder) {
  Parsed time_first = Parse("-t 5 -f 100");
  EXPECT_EQ(time_first.options.bTestFreq, 1);
  EXPECT_EQ(time_first.options.times, 100);
  EXPECT_EQ(time_first.options.bTestTime, 0);
  EXPECT_THAT(time_first.lines, Not(Contains(kFreqTime)));

  Parsed freq_first = Parse("-f 100 -t 5");
  EXPECT_EQ(freq_first.options.bTestFreq, 1);
  EXPECT_EQ(freq_first.options.bTestTime, 0);
  EXPECT_EQ(freq_first.options.secs, 5);
  EXPECT_THAT(freq_first.lines, Contains(kFreqTime));
}

TEST(CommandLine, KernelModeRenderingConflicts) {
  Parsed both = Parse("-x -k");
  EXPECT_EQ(both.options.bUseKMDRenderWDDM1_1, 1);
  EXPECT_EQ(both.options.bUseKMDRenderWDDM1_0, 0);
  EXPECT_THAT(both.lines,
              Contains("Can not enable both WDDM 1.0 & 1.1 kernal-mode rendering! Use 1.1.\n"));

  Parsed judged = Parse("-j -x");
  EXPECT_EQ(judged.options.bJudgeKMDRender, 0);
  EXPECT_EQ(judged.options.bUseKMDRenderWDDM1_0, 1);
  EXPECT_EQ(judged.lines.front(), "==> vProcessCMDLine\n");
  EXPECT_EQ(judged.lines[1], "Options: ------------------------\n");
}

TEST(CommandLine, JoinedLettersPrintUsageKeepEarlierOptionsAndStillDump) {
  Parsed parsed = Parse("-n -cx -e");
  EXPECT_EQ(parsed.lines[1], "\"-n -cx -e\" is not a valid arg string.\n");
  EXPECT_EQ(parsed.lines[2], kUsageHead);
  EXPECT_EQ(parsed.lines[16], "\t\t -b type: Run Benchmark type.\n");
  EXPECT_EQ(parsed.options.bMultiThread, 1);
  EXPECT_EQ(parsed.options.bCaptureOnly, 0);
  EXPECT_EQ(parsed.options.bEncodeOnly, 0);  // the walk stopped before it
  EXPECT_EQ(parsed.lines.back(), "<== vProcessCMDLine\n");
  EXPECT_THAT(parsed.lines, Contains("  \t bMultiThread: 1\n"));
}

TEST(CommandLine, GpuQualityValues) {
  EXPECT_EQ(Parse("-g").options.quality, 80);
  EXPECT_EQ(Parse("-g 50").options.quality, 50);
  Parsed with_threads = Parse("-g -n");
  EXPECT_EQ(with_threads.options.quality, 80);
  EXPECT_EQ(with_threads.options.bMultiThread, 1);
  EXPECT_EQ(with_threads.options.bUseGPUEncoder, 0);
  EXPECT_THAT(with_threads.lines,
              Contains("Multi-thread or CaptureOnly option can not be used with GPUEncoder "
                       "option! Disable GPUEncoder.\n"));
}

TEST(CommandLine, ValuesKeepInnerBlanksAndConvertLikeAtoi) {
  Parsed inner = Parse("-f 10 20 -n");
  EXPECT_EQ(inner.options.times, 10);
  EXPECT_EQ(inner.options.bMultiThread, 1);
  // A value option takes a following switch as its text.
  Parsed swallowed = Parse("-f -n");
  EXPECT_EQ(swallowed.options.bTestFreq, 1);
  EXPECT_EQ(swallowed.options.times, 0);
  EXPECT_EQ(swallowed.options.bMultiThread, 0);
  EXPECT_EQ(Parse("-t abc").options.secs, 0);
  EXPECT_EQ(Parse("-t").options.secs, 10);
  EXPECT_EQ(Parse("/T 7").options.secs, 7);
  EXPECT_EQ(Parse("-i 99999999999999").options.intervalMs, 2147483647);
  std::string long_value = "-b " + std::string(400, '7');
  EXPECT_EQ(Parse(long_value.c_str()).options.benchType, 2147483647);
}

TEST(CommandLine, ConflictRulesInOrder) {
  Parsed parsed = Parse("-i 1000 -n -m");
  EXPECT_EQ(parsed.options.bMultiThread, 0);
  EXPECT_THAT(parsed.lines, Contains("Multi-thread option can not be used with test inteval! Use "
                                     "single thread.\n"));
  Parsed capture = Parse("-c -e -n");
  EXPECT_EQ(capture.options.bEncodeOnly, 0);
  EXPECT_EQ(capture.options.bMultiThread, 0);
  auto encode_rule =
      std::find(capture.lines.begin(), capture.lines.end(),
                "EncodeOnly option can not be used with CaptureOnly option! Use CaptureOnly.\n");
  auto thread_rule = std::find(
      capture.lines.begin(), capture.lines.end(),
      "Multi-thread option can not be used with CaptureOnly option! Use single thread.\n");
  EXPECT_LT(encode_rule, thread_rule);
  EXPECT_NE(thread_rule, capture.lines.end());

  Parsed bench = Parse("-b 1 -c -n");
  EXPECT_EQ(bench.options.bUseGPUEncoder, 1);
  EXPECT_EQ(bench.options.bCaptureOnly, 0);
  EXPECT_EQ(bench.options.bGPUBench, 1);
  EXPECT_EQ(bench.options.benchType, 1);
}

TEST(CommandLine, MissingOrBrokenTextIsSafe) {
  Parsed none = Parse(nullptr);
  EXPECT_EQ(none.lines, std::vector<std::string>{"==> vProcessCMDLine\n"});
  for (const char* text : {"-", "/", "- ", "-q", "--", "x-"}) {
    Parsed parsed = Parse(text);
    EXPECT_EQ(parsed.lines.back(), "<== vProcessCMDLine\n") << text;
  }
  EXPECT_EQ(Parse("-q").lines[2], kUsageHead);
}

TEST(DebugLog, EachLineIsCutToTheBufferWithItsTerminator) {
  platform::sim::RecordingDebugOutput output;
  DebugLog log(output);
  log("%s=%d\n", std::string(600, 'x').c_str(), 7);
  log("%s", std::string(DebugLog::kBufferSize - 1, 'y').c_str());
  ASSERT_EQ(output.Lines().size(), 2u);
  EXPECT_EQ(output.Lines()[0], std::string(DebugLog::kBufferSize - 1, 'x'));
  EXPECT_EQ(output.Lines()[1], std::string(DebugLog::kBufferSize - 1, 'y')) << "fits exactly";
}

}  // namespace
}  // namespace vexmark
