// Names of the Win32 status codes the filter driver's control device answers with.
#pragma once
#include <cstdint>
#include <string>

namespace vexmark {

// "ERROR_ACCESS_DENIED" and the like; codes without a name as a decimal number ("0").
std::string KmdStatusName(std::uint32_t status);

}  // namespace vexmark
