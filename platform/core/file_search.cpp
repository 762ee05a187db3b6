#include "platform/files.h"

namespace platform {

// An empty folder answers FindFirstFile with ERROR_FILE_NOT_FOUND on Windows and with
// ERROR_NO_MORE_FILES on some systems and file systems; everything else (a missing folder
// gives ERROR_PATH_NOT_FOUND) means the listing failed.
bool SearchFoundNothing(WinError error) {
  return error == kErrorFileNotFound || error == kErrorNoMoreFiles;
}

}  // namespace platform
