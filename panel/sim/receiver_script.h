// Scenario lines that change a ReceiverSimulation, one command a line (UTF-8), so a test can
// drive the stand-in library from outside the panel's process. Fields after the command are
// separated by '|'. Lines starting with '#' and blank lines are ignored.
//
//   add <name>|<web address>|<capability code>   a receiver comes (capability optional)
//   remove <name>            a receiver goes         clear         every receiver goes
//   binding <name>|accept    ZYNOV_ServiceInit for it answers 0 (refuse: nonzero)
//   commands accept          ZYNOV_SetCommand answers 0 (refuse: nonzero)
//   playreports on           accepted play/stop commands are followed by "varPlay" (off)
//   variable <name>|<value>  a variable report (event 10) is queued
//   event <code>             an event with that code is queued (20: search again)
//   initresult <n>           what ZYNOV_LibraryInit answers
//   delay <Function> <ms>    each call of ZYNOV_<Function> takes ms longer (0: no delay)
//   h264 <0|1>  extscreen <0|1>  port <n>  videomode <n>  localaudio <n>
#pragma once
#include <string>
#include <string_view>

#include "panel/sim/receiver_simulation.h"

namespace panel::sim {

// False with *error set for a line that is not understood; the model is then unchanged.
bool ApplyScriptLine(ReceiverSimulation& model, std::string_view line, std::string* error);

}  // namespace panel::sim
