// Where skin files come from: a folder (SetResourcePath) and, when set, a zip archive in it
// (SetResourceZip) that then holds every file.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/ui_ports.h"
#include "ui/zip_archive.h"

namespace ui {

// Skin files are small; anything larger is not one and is not read.
inline constexpr uint64_t kLargestSkinFileBytes = uint64_t{64} << 20;

class SkinResources {
 public:
  explicit SkinResources(ResourceFiles& files) : files_(files) {}

  // The folder, ending with a separator ("...\skin\").
  void SetResourcePath(std::u16string path);
  const std::u16string& GetResourcePath() const { return path_; }
  // The archive's file name inside the folder; read at the first Load.
  void SetResourceZip(std::u16string name);

  // The file's bytes, or nullopt with LastError() saying why.
  std::optional<std::vector<uint8_t>> Load(std::u16string_view name);
  const std::string& LastError() const { return error_; }

 private:
  bool OpenArchive();

  ResourceFiles& files_;
  std::u16string path_;
  std::u16string zip_name_;
  std::optional<ZipArchive> archive_;
  std::string error_;
};

}  // namespace ui
