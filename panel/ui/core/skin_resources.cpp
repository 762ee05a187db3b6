#include "ui/skin_resources.h"

#include "platform/strings.h"

namespace ui {

void SkinResources::SetResourcePath(std::u16string path) { path_ = std::move(path); }

void SkinResources::SetResourceZip(std::u16string name) {
  zip_name_ = std::move(name);
  archive_.reset();
}

bool SkinResources::OpenArchive() {
  if (archive_) return true;
  auto bytes = files_.ReadFile(path_ + zip_name_, kLargestSkinFileBytes);
  if (!bytes) {
    error_ = "cannot read the resource archive " + platform::Utf16ToUtf8(path_ + zip_name_);
    return false;
  }
  std::string why;
  archive_ = ZipArchive::Open(std::move(*bytes), &why);
  if (!archive_) {
    error_ = "resource archive " + platform::Utf16ToUtf8(zip_name_) + ": " + why;
    return false;
  }
  return true;
}

std::optional<std::vector<uint8_t>> SkinResources::Load(std::u16string_view name) {
  if (zip_name_.empty()) {
    auto bytes = files_.ReadFile(path_ + std::u16string(name), kLargestSkinFileBytes);
    if (!bytes)
      error_ = "cannot read " + platform::Utf16ToUtf8(path_) + platform::Utf16ToUtf8(name);
    return bytes;
  }
  if (!OpenArchive()) return std::nullopt;
  return archive_->Read(platform::Utf16ToUtf8(name), &error_);
}

}  // namespace ui
