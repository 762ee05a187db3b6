// File name matching as the file system does it for directory searches, and the 8.3 alias
// it gives names that are not valid 8.3 names. Letters compare without regard to case
// (ASCII only, which is all the simulated system code page folds).
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "platform/ascii_case.h"

namespace platform::sim {

// '*' matches any run of characters, '?' exactly one; once the name is used up, any '.' and
// '*' left in the pattern are ignored, so "*.*" also matches names without a dot and
// "name.*" matches "name".
bool MatchesFileNamePattern(std::string_view pattern, std::string_view name);

// Orders names as a sorted listing does: by their upper-case form, then byte by byte.
bool ListsBefore(std::string_view a, std::string_view b);

// The short alias ("OEM1~C2X.INF" for "oem1.info"), or nullopt for a name that is a valid
// 8.3 name already (and for "." and "..").
std::optional<std::string> ShortFileName(std::string_view name);

}  // namespace platform::sim
