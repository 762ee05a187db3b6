#include "platform/sim/sim_files.h"

#include <algorithm>
#include <stdexcept>

#include "platform/sim/file_name_pattern.h"
#include "sim_file_tree.h"
#include "sim_text_reader.h"

namespace platform::sim {

namespace {

bool HasWildcard(std::string_view text) {
  return text.find_first_of("*?") != std::string_view::npos;
}

// Splits "C:\dir\pattern" into the folder and the last element.
std::pair<std::string_view, std::string_view> SplitLast(std::string_view path) {
  const size_t slash = path.find_last_of("\\/");
  if (slash == std::string_view::npos) return {std::string_view(), path};
  // "C:\x" keeps the root's backslash so the folder stays the root, not the drive-relative "C:".
  const size_t folder_end = slash == 2 && path[1] == ':' ? 3 : slash;
  return {path.substr(0, folder_end), path.substr(slash + 1)};
}

bool Matches(std::string_view pattern, const FileNode& node) {
  if (MatchesFileNamePattern(pattern, node.name)) return true;
  const auto alias = ShortFileName(node.name);
  return alias && MatchesFileNamePattern(pattern, *alias);
}

uint32_t ReportedAttributes(const FileNode& node) {
  // Files always carry the archive bit and folders never keep read-only, as Wine reports them.
  return node.folder ? kFileAttributeDirectory | node.attributes
                     : kFileAttributeArchive | node.attributes;
}

}  // namespace

struct SimFiles::Model {
  FileTree tree;
  std::string windows_directory = "C:\\Windows";
  std::string system_directory = "C:\\Windows\\system32";
  std::string module_path = "C:\\Program\\program.exe";
  bool fail_windows_directory = false;
  std::vector<std::string> failing_deletes;
  std::vector<std::string> failing_listings;
  std::vector<FileCopy> copies;
  std::vector<std::string> searches;

  bool IsListed(const std::vector<std::string>& paths, std::string_view path) const {
    const auto key = tree.Key(path);
    return key && std::find(paths.begin(), paths.end(), *key) != paths.end();
  }
  void Remember(std::vector<std::string>* paths, std::string_view path) const {
    const auto key = tree.Key(path);
    if (!key) throw std::invalid_argument("not a path: " + std::string(path));
    paths->push_back(*key);
  }
};

SimFiles::SimFiles() : model_(std::make_unique<Model>()) {}
SimFiles::~SimFiles() = default;

void SimFiles::AddFile(std::string_view path, std::string_view contents, uint32_t attributes) {
  FileNode& node = model_->tree.Make(path, /*folder=*/false);
  node.contents = contents;
  node.attributes = attributes & kSettableFileAttributes;
}

void SimFiles::AddFolder(std::string_view path) { model_->tree.Make(path, /*folder=*/true); }
void SimFiles::SetWindowsDirectory(std::string_view path) { model_->windows_directory = path; }
void SimFiles::SetSystemDirectory(std::string_view path) { model_->system_directory = path; }
void SimFiles::SetCurrentDirectory(std::string_view path) { model_->tree.SetCurrent(path); }
void SimFiles::SetModulePath(std::string_view path) { model_->module_path = path; }
void SimFiles::FailWindowsDirectory() { model_->fail_windows_directory = true; }
void SimFiles::FailDelete(std::string_view path) {
  model_->Remember(&model_->failing_deletes, path);
}
void SimFiles::FailListing(std::string_view folder) {
  model_->Remember(&model_->failing_listings, folder);
}
void SimFiles::SortListings() { model_->tree.sorted = true; }

bool SimFiles::Exists(std::string_view path) const { return model_->tree.Lookup(path) != nullptr; }

std::optional<std::string> SimFiles::Contents(std::string_view path) const {
  const FileNode* node = model_->tree.Lookup(path);
  if (node == nullptr || node->folder) return std::nullopt;
  return node->contents;
}

std::vector<std::string> SimFiles::FilesBelow(std::string_view folder) const {
  std::vector<std::string> paths;
  const FileNode* node = model_->tree.Lookup(folder);
  if (node != nullptr && node->folder)
    model_->tree.CollectFiles(*node, std::string(folder), &paths);
  return paths;
}

const std::vector<FileCopy>& SimFiles::Copies() const { return model_->copies; }
const std::vector<std::string>& SimFiles::Searches() const { return model_->searches; }

std::optional<std::vector<FoundFile>> SimFiles::Find(std::string_view pattern) {
  model_->searches.emplace_back(pattern);
  const auto [folder_path, mask] = SplitLast(pattern);
  if (pattern.empty() || HasWildcard(folder_path)) return std::nullopt;
  const FileNode* folder = model_->tree.Lookup(folder_path);
  if (folder == nullptr || !folder->folder ||
      model_->IsListed(model_->failing_listings, folder_path)) {
    return std::nullopt;
  }
  std::vector<FoundFile> found;
  if (folder->parent != nullptr && folder->parent->parent != nullptr) {
    // Every folder but a drive's root lists itself and its parent first.
    for (const char* dots : {".", ".."}) {
      if (MatchesFileNamePattern(mask, dots)) found.push_back({dots, kFileAttributeDirectory});
    }
  }
  for (const FileNode* child : model_->tree.Listing(*folder)) {
    if (Matches(mask, *child)) found.push_back({child->name, ReportedAttributes(*child)});
  }
  return found;
}

uint32_t SimFiles::GetAttributes(std::string_view path) {
  const FileNode* node = model_->tree.Lookup(path);
  return node == nullptr ? kInvalidFileAttributes : ReportedAttributes(*node);
}

bool SimFiles::SetAttributes(std::string_view path, uint32_t attributes) {
  FileNode* node = model_->tree.Lookup(path);
  if (node == nullptr) return false;
  const uint32_t kept =
      node->folder ? kSettableFileAttributes & ~kFileAttributeReadOnly : kSettableFileAttributes;
  node->attributes = attributes & kept;
  return true;
}

bool SimFiles::DeleteFile(std::string_view path) {
  FileNode* node = model_->tree.Lookup(path);
  if (node == nullptr || node->folder || (node->attributes & kFileAttributeReadOnly) != 0 ||
      model_->IsListed(model_->failing_deletes, path)) {
    return false;
  }
  model_->tree.Remove(node);
  return true;
}

bool SimFiles::CopyFile(std::string_view from, std::string_view to_folder) {
  const bool copied = model_->tree.Copy(from, to_folder);
  model_->copies.push_back({std::string(from), std::string(to_folder), copied});
  return copied;
}

std::unique_ptr<TextReader> SimFiles::OpenText(std::string_view path) {
  const FileNode* node = model_->tree.Lookup(path);
  if (node == nullptr || node->folder) return nullptr;
  return std::make_unique<SimTextReader>(node->contents);
}

std::optional<std::string> SimFiles::CurrentDirectory() { return model_->tree.Current(); }

std::optional<std::string> SimFiles::WindowsDirectory() {
  if (model_->fail_windows_directory) return std::nullopt;
  return model_->windows_directory;
}

std::optional<std::string> SimFiles::SystemDirectory() { return model_->system_directory; }
std::optional<std::string> SimFiles::ModulePath() { return model_->module_path; }

}  // namespace platform::sim
