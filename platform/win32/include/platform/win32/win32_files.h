// The files port on FindFirstFileA, the attribute and deletion calls, the shell's file copy
// (SHFileOperationA), the C runtime's text reading and the well-known folder queries.
#pragma once
#include "platform/files.h"

namespace platform::win32 {

class Win32Files : public Files {
 public:
  std::optional<std::vector<FoundFile>> Find(std::string_view pattern) override;
  uint32_t GetAttributes(std::string_view path) override;
  bool SetAttributes(std::string_view path, uint32_t attributes) override;
  bool DeleteFile(std::string_view path) override;
  bool CopyFile(std::string_view from, std::string_view to_folder) override;
  std::unique_ptr<TextReader> OpenText(std::string_view path) override;
  std::optional<std::string> CurrentDirectory() override;
  std::optional<std::string> WindowsDirectory() override;
  std::optional<std::string> SystemDirectory() override;
  std::optional<std::string> ModulePath() override;
};

}  // namespace platform::win32
