// Drives the stand-in library's receiver model from outside the process.
//
// OMBRIVUE_SIM_SCRIPT names a scenario file: a test appends lines (see sim/receiver_script.h)
// while the panel runs; each library call first applies the complete lines added since the
// last call. OMBRIVUE_SIM_LOG names a file that gets one line per library call, in order
// ("ServiceInit(0)", "SetCommand(0,SetPlay,1_0_1_8554_0_0"), ...), and a line "error: ..." for
// each scenario line that was not understood.
// Without OMBRIVUE_SIM_SCRIPT, a file "OmbrivueSim.txt" beside the library is the script; when
// there is none, two demonstration receivers are present.
#pragma once
#include <windows.h>

#include <string>

#include "panel/sim/receiver_simulation.h"

namespace panel::standin {

class ScenarioFeed {
 public:
  explicit ScenarioFeed(sim::ReceiverSimulation& model);
  // Applies new script lines; writes new call records to the log.
  void Pump();
  void Log();

 private:
  void ApplyNewLines();
  void AppendToLog(const std::string& text);

  sim::ReceiverSimulation& model_;
  std::wstring script_path_;
  std::wstring log_path_;
  uint64_t script_offset_ = 0;
  std::string partial_line_;
  size_t calls_logged_ = 0;
};

}  // namespace panel::standin
