#include "drvsetup/core/oem_inf_files.h"

#include "platform/ascii_case.h"
#include "platform/paths.h"

namespace drvsetup {

using platform::EqualsIgnoringCase;

namespace {

bool HasOemInfForm(std::string_view name) {
  return name.size() >= 7 && EqualsIgnoringCase(name.substr(0, 3), "oem") &&
         EqualsIgnoringCase(name.substr(name.size() - 4), ".inf");
}

bool IsCandidate(const platform::FoundFile& entry, size_t folder_chars) {
  return (entry.attributes & platform::kFileAttributeDirectory) == 0 && HasOemInfForm(entry.name) &&
         folder_chars + entry.name.size() <= kMaxPathChars;
}

}  // namespace

std::optional<OemInfFiles> ListOemInfFiles(platform::Files& files) {
  const std::optional<std::string> windows = files.WindowsDirectory();
  if (!windows) return std::nullopt;
  OemInfFiles result{platform::JoinPath(*windows, "inf\\"), {}};
  if (result.folder.size() + 8 > kMaxPathChars) return std::nullopt;
  const auto entries = files.Find(result.folder + "oem*.inf");
  if (!entries) return std::nullopt;
  for (const platform::FoundFile& entry : *entries) {
    if (IsCandidate(entry, result.folder.size())) result.names.push_back(entry.name);
  }
  return result;
}

std::optional<std::string> CompanionPnfPath(std::string_view inf_path) {
  if (inf_path.size() < 4 || !EqualsIgnoringCase(inf_path.substr(inf_path.size() - 4), ".inf")) {
    return std::nullopt;
  }
  std::string path(inf_path);
  path.replace(path.size() - 4, 4, ".pnf");
  return path;
}

void ForceDelete(platform::Files& files, std::string_view path) {
  files.SetAttributes(path, platform::kFileAttributeNormal);
  files.DeleteFile(path);
}

}  // namespace drvsetup
