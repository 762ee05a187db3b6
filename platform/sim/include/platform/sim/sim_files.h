// A file tree a test sets up and inspects. Paths are Windows paths ("C:\\Windows\\inf\\x.inf"),
// compared without regard to letter case; a folder lists its entries in the order they were
// added, which is this model's "file system listing order". Searches accept '*' and '?'
// in the last path element, matched without regard to case as on Windows, against the name
// and against the 8.3 alias of a name that is not a valid 8.3 name ("*.inf" also finds
// "oem1.info" through "OEM1~C2X.INF"). Files always report the archive attribute; a folder
// keeps hidden and system but not read-only. A read-only file cannot be deleted.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"

namespace platform::sim {

struct FileCopy {
  std::string from;
  std::string to_folder;
  bool succeeded = false;
};

class SimFiles : public Files {
 public:
  SimFiles();
  ~SimFiles() override;

  // Defaults: Windows "C:\\Windows", system "C:\\Windows\\system32", current "C:\\",
  // program "C:\\Program\\program.exe". Parent folders are created as needed.
  void AddFile(std::string_view path, std::string_view contents = {},
               uint32_t attributes = kFileAttributeArchive);
  void AddFolder(std::string_view path);
  void SetWindowsDirectory(std::string_view path);
  void SetSystemDirectory(std::string_view path);
  void SetCurrentDirectory(std::string_view path);
  void SetModulePath(std::string_view path);
  // Makes a directory query, a deletion or a listing fail.
  void FailWindowsDirectory();
  void FailDelete(std::string_view path);
  void FailListing(std::string_view folder);
  // Lists every folder sorted by name without regard to case instead, as NTFS and Wine do.
  void SortListings();

  bool Exists(std::string_view path) const;
  std::optional<std::string> Contents(std::string_view path) const;
  // All file paths below a folder (recursively), in listing order.
  std::vector<std::string> FilesBelow(std::string_view folder) const;
  const std::vector<FileCopy>& Copies() const;
  // Every pattern passed to Find, in call order.
  const std::vector<std::string>& Searches() const;

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

  struct Model;

 private:
  std::unique_ptr<Model> model_;
};

}  // namespace platform::sim
