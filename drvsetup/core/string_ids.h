// Ids of the string table entries this program uses.
#pragma once

namespace drvsetup {

inline constexpr unsigned kIdsRemoved = 109;
inline constexpr unsigned kIdsRemovedOnReboot = 110;
inline constexpr unsigned kIdsRemoveFailed = 111;

inline constexpr unsigned kIdsUsageArguments = 10001;
inline constexpr unsigned kIdsUsageHeading = 10002;
inline constexpr unsigned kIdsUsageHelp = 10003;
inline constexpr unsigned kIdsUsageQuiet = 10010;
inline constexpr unsigned kIdsUninstallCompleted = 10029;
inline constexpr unsigned kIdsUnsupportedPlatform = 10031;
inline constexpr unsigned kIdsRunX64Uninstall = 10033;
inline constexpr unsigned kIdsRemovingDriver = 10040;

// The message buffer all shown texts are loaded into.
inline constexpr size_t kMessageBufferChars = 260;
inline constexpr size_t kStatusTextChars = 80;

}  // namespace drvsetup
