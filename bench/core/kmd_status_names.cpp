#include "bench/core/kmd_status_names.h"

namespace vexmark {

std::string KmdStatusName(std::uint32_t status) {
  switch (status) {
    case 1:
      return "ERROR_INVALID_FUNCTION";
    case 5:
      return "ERROR_ACCESS_DENIED";
    case 8:
      return "ERROR_NOT_ENOUGH_MEMORY";
    case 31:
      return "ERROR_GEN_FAILURE";
    case 50:
      return "ERROR_NOT_SUPPORTED";
    case 55:
      return "ERROR_DEV_NOT_EXIST";
    case 87:
      return "ERROR_INVALID_PARAMETER";
    case 122:
      return "ERROR_INSUFFICIENT_BUFFER";
    case 123:
      return "ERROR_INVALID_NAME";
    case 170:
      return "ERROR_BUSY";
    case 234:
      return "ERROR_MORE_DATA";
    case 1246:
      return "ERROR_CONTINUE";
    case 1248:
      return "ERROR_NO_MORE_DEVICES";
    case 1610:
      return "ERROR_BAD_CONFIGURATION";
    default:
      return std::to_string(status);
  }
}

}  // namespace vexmark
