#include "launcher/core/removal_tool_search.h"

#include <optional>
#include <string>

#include "launcher/core/launcher_buffers.h"
#include "platform/paths.h"

namespace launcher {

namespace {

bool IsFolder(const platform::FoundFile& entry) {
  return (entry.attributes & platform::kFileAttributeDirectory) != 0;
}

bool IsSelfOrParent(std::string_view name) { return name == "." || name == ".."; }

// A path that would not fit the program's path buffer is not searched: cut off, it would name
// another folder.
std::optional<std::string> JoinWithinBuffer(std::string_view folder, std::string_view name) {
  std::string path = platform::JoinPath(folder, name);
  if (path.size() >= kPathBufferChars) return std::nullopt;
  return path;
}

std::optional<std::string> SearchFolder(platform::Files& files, const std::string& folder,
                                        std::string_view tool_name) {
  const std::optional<std::string> pattern = JoinWithinBuffer(folder, "*.*");
  if (!pattern) return std::nullopt;
  const auto entries = files.Find(*pattern);
  if (!entries) return std::nullopt;
  for (const platform::FoundFile& entry : *entries) {
    if (IsSelfOrParent(entry.name)) continue;
    // A folder that happens to carry the tool's name is searched, not run.
    if (!IsFolder(entry)) {
      if (entry.name == tool_name) return folder;
      continue;
    }
    const std::optional<std::string> subfolder = JoinWithinBuffer(folder, entry.name);
    if (!subfolder) continue;
    if (auto found = SearchFolder(files, *subfolder, tool_name)) return found;
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> FindRemovalToolFolder(platform::Files& files, std::string_view root,
                                                 std::string_view tool_name) {
  if (root.size() >= kPathBufferChars) return std::nullopt;
  return SearchFolder(files, std::string(root), tool_name);
}

}  // namespace launcher
