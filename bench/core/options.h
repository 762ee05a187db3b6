// The benchmark's options, as the command line sets them.
#pragma once

namespace vexmark {

struct VexmarkOptions {
  int bCaptureOnly = 0;
  int bEncodeOnly = 0;
  int bJudgeKMDRender = 0;
  int bUseKMDRenderWDDM1_0 = 0;
  int bUseKMDRenderWDDM1_1 = 0;
  int bUseGPUEncoder = 0;
  int quality = 80;
  int bMeasureCETime = 0;
  int bMultiThread = 0;
  int bTestFreq = 0;
  int times = 0;
  int bTestTime = 1;
  int secs = 10;
  int bTestIntTime = 0;
  int intervalMs = 0;
  int bGPUBench = 0;
  int benchType = 0;
};

}  // namespace vexmark
