#include "drvsetup/core/inf_qualification.h"

#include <algorithm>

namespace drvsetup {

namespace {

// Chunks are C strings to the search: a zero byte ends the text that is looked at.
std::string_view AsCString(const std::string& chunk) { return std::string_view(chunk.c_str()); }

bool Contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

bool HoldsHardwareId(std::string_view chunk, const InfKind& kind,
                     const std::vector<std::string>& required) {
  if (!Contains(chunk, kind.hardware_id)) return false;
  return required.empty() || std::any_of(required.begin(), required.end(),
                                         [&](const std::string& r) { return Contains(chunk, r); });
}

}  // namespace

bool InfTextQualifies(platform::TextReader& reader, const InfKind& kind,
                      const std::vector<std::string>& required) {
  bool hardware_id_found = false;
  bool class_guid_found = false;
  std::string chunk;
  while (!(hardware_id_found && class_guid_found) && reader.ReadChunk(kInfChunkChars, &chunk)) {
    const std::string_view text = AsCString(chunk);
    hardware_id_found = hardware_id_found || HoldsHardwareId(text, kind, required);
    class_guid_found = class_guid_found || Contains(text, kind.class_guid);
  }
  return hardware_id_found && class_guid_found;
}

bool InfFileQualifies(platform::Files& files, std::string_view path, const InfKind& kind,
                      const std::vector<std::string>& required) {
  if (files.GetAttributes(path) == platform::kInvalidFileAttributes) return false;
  const std::unique_ptr<platform::TextReader> reader = files.OpenText(path);
  return reader && InfTextQualifies(*reader, kind, required);
}

}  // namespace drvsetup
