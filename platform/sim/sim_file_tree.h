// The simulated file system's tree: drives below an unnamed root, folders listing their
// entries in the order they were added (or sorted by name, as NTFS and Wine list them).
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"

namespace platform::sim {

// What a file or folder keeps of the attributes set on it.
inline constexpr uint32_t kSettableFileAttributes =
    kFileAttributeReadOnly | kFileAttributeHidden | kFileAttributeSystem;

struct FileNode {
  std::string name;
  bool folder = false;
  uint32_t attributes = 0;  // only kSettableFileAttributes bits
  std::string contents;
  FileNode* parent = nullptr;
  std::vector<std::unique_ptr<FileNode>> children;
};

class FileTree {
 public:
  FileTree();

  // The path's elements, the drive ("C:") first, resolved against the current folder with
  // "." and ".." taken out; nullopt for paths the model cannot express (UNC names).
  std::optional<std::vector<std::string>> Parse(std::string_view path) const;
  // A case-folded form for comparing paths.
  std::optional<std::string> Key(std::string_view path) const;

  FileNode* Lookup(std::string_view path);
  const FileNode* Lookup(std::string_view path) const;
  // The entry at the path, made with its parent folders where missing; throws
  // std::invalid_argument when the path is unusable or the entry exists as the other kind.
  FileNode& Make(std::string_view path, bool folder);
  void Remove(FileNode* node);
  // The shell's copy of a file, a folder or a pattern's matches into a folder; a single
  // entry whose target does not exist is copied under the target's name.
  bool Copy(std::string_view from, std::string_view to);

  std::vector<const FileNode*> Listing(const FileNode& folder) const;
  void CollectFiles(const FileNode& folder, const std::string& prefix,
                    std::vector<std::string>* paths) const;

  void SetCurrent(std::string_view path);
  std::string Current() const;

  bool sorted = false;

 private:
  FileNode* Walk(const std::vector<std::string>& parts) const;
  FileNode* Child(const FileNode& folder, std::string_view name) const;
  FileNode& Insert(FileNode* folder, std::unique_ptr<FileNode> node);

  FileNode root_;
  std::vector<std::string> current_;
};

}  // namespace platform::sim
