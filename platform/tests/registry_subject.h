// The registry the contract tests run against: the simulation on Linux, the real registry
// (through the Windows adapter) under Wine.
#pragma once
#include <memory>

#include "platform/registry.h"

namespace registry_contract {

std::unique_ptr<platform::Registry> MakeRegistry();

// Whether the 32-bit and 64-bit views of HKLM\Software are different trees for this subject
// (any program on 64-bit Windows), or one tree (a 32-bit system).
bool HasSeparate64BitView();

}  // namespace registry_contract
