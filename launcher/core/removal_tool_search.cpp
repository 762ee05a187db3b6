#include "core/removal_tool_search.h"

#include <optional>
#include <string>

#include "core/bounded_format.h"
#include "core/launcher_buffers.h"

namespace launcher {

namespace {

bool IsFolder(const platform::FoundFile& entry) {
  return (entry.attributes & platform::kFileAttributeDirectory) != 0;
}

bool IsSelfOrParent(std::string_view name) { return name == "." || name == ".."; }

// "%s\%s", without doubling the separator after a drive root such as "C:\".
std::optional<std::string> JoinPath(std::string_view folder, std::string_view name) {
  std::string_view format = folder.ends_with('\\') ? "%s%s" : "%s\\%s";
  return FormatBounded(kPathBufferChars, format, {folder, name});
}

std::optional<std::string> SearchFolder(platform::Files& files, const std::string& folder,
                                        std::string_view tool_name) {
  const std::optional<std::string> pattern = JoinPath(folder, "*.*");
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
    const std::optional<std::string> subfolder = JoinPath(folder, entry.name);
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
