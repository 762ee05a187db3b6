// The system code page the strings contract test runs against: the simulation's on Linux, the
// real one (through the Windows adapter) under Wine.
#pragma once
#include <memory>

#include "platform/strings.h"

namespace strings_contract {

std::unique_ptr<platform::SystemCodePage> MakeSystemCodePage();

}  // namespace strings_contract
