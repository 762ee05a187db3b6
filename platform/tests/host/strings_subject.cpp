#include "strings_subject.h"
#include "platform/sim/sim_system_code_page.h"

namespace strings_contract {

std::unique_ptr<platform::SystemCodePage> MakeSystemCodePage() {
  return std::make_unique<platform::sim::SimSystemCodePage>();
}

}  // namespace strings_contract
