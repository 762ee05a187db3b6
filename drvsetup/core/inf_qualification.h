// Whether an INF text belongs to one of the system's drivers.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "drvsetup/core/inf_kinds.h"
#include "platform/files.h"

namespace drvsetup {

// Lines are read in chunks of this many characters at most; a text split across two chunks
// is not found.
inline constexpr size_t kInfChunkChars = 255;

// True when one chunk holds the kind's hardware id (together with one of the required
// strings, when any are given) and one chunk holds the kind's class GUID. Reading stops as
// soon as both are found.
bool InfTextQualifies(platform::TextReader& reader, const InfKind& kind,
                      const std::vector<std::string>& required);

// The same for a file: it must exist and open for reading.
bool InfFileQualifies(platform::Files& files, std::string_view path, const InfKind& kind,
                      const std::vector<std::string>& required);

}  // namespace drvsetup
