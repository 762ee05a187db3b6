#include "sim_file_tree.h"

#include <algorithm>
#include <stdexcept>

#include "platform/sim/file_name_pattern.h"

namespace platform::sim {

namespace {

bool IsDriveLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

void AppendElements(std::string_view rest, std::vector<std::string>* parts) {
  while (!rest.empty()) {
    const size_t end = std::min(rest.find('\\'), rest.size());
    const std::string_view element = rest.substr(0, end);
    rest.remove_prefix(std::min(end + 1, rest.size()));
    if (element.empty() || element == ".") continue;
    if (element == "..") {
      if (parts->size() > 1) parts->pop_back();
      continue;
    }
    parts->emplace_back(element);
  }
}

std::unique_ptr<FileNode> Clone(const FileNode& node) {
  auto copy = std::make_unique<FileNode>();
  copy->name = node.name;
  copy->folder = node.folder;
  copy->attributes = node.attributes;
  copy->contents = node.contents;
  for (const auto& child : node.children) {
    copy->children.push_back(Clone(*child));
    copy->children.back()->parent = copy.get();
  }
  return copy;
}

// An overwritten file takes the new contents but keeps its own hidden and system bits and
// loses read-only, whatever the source has (as Wine's shell copy does it).
void Overwrite(FileNode* target, const FileNode& source) {
  target->contents = source.contents;
  target->attributes &= kFileAttributeHidden | kFileAttributeSystem;
}

}  // namespace

FileTree::FileTree() : current_{"C:"} { root_.folder = true; }

std::optional<std::vector<std::string>> FileTree::Parse(std::string_view path) const {
  std::string text(path);
  std::replace(text.begin(), text.end(), '/', '\\');
  std::string_view rest = text;
  std::vector<std::string> parts;
  if (rest.size() >= 2 && rest[1] == ':' && IsDriveLetter(rest[0])) {
    const std::string drive{UpperAscii(rest[0]), ':'};
    rest.remove_prefix(2);
    const bool relative = rest.empty() || rest[0] != '\\';
    parts = relative && current_[0] == drive ? current_ : std::vector<std::string>{drive};
  } else if (rest.substr(0, 2) == "\\\\") {
    return std::nullopt;
  } else if (!rest.empty() && rest[0] == '\\') {
    parts = {current_[0]};
  } else {
    parts = current_;
  }
  AppendElements(rest, &parts);
  return parts;
}

std::optional<std::string> FileTree::Key(std::string_view path) const {
  const auto parts = Parse(path);
  if (!parts) return std::nullopt;
  std::string key;
  for (const std::string& part : *parts) {
    for (char c : part) key += UpperAscii(c);
    key += '\\';
  }
  return key;
}

FileNode* FileTree::Child(const FileNode& folder, std::string_view name) const {
  for (const auto& child : folder.children) {
    if (EqualsIgnoringCase(child->name, name)) return child.get();
  }
  return nullptr;
}

FileNode* FileTree::Walk(const std::vector<std::string>& parts) const {
  const FileNode* node = &root_;
  for (const std::string& part : parts) {
    if (!node->folder) return nullptr;
    node = Child(*node, part);
    if (node == nullptr) return nullptr;
  }
  return const_cast<FileNode*>(node);
}

FileNode* FileTree::Lookup(std::string_view path) {
  const auto parts = Parse(path);
  return parts ? Walk(*parts) : nullptr;
}

const FileNode* FileTree::Lookup(std::string_view path) const {
  const auto parts = Parse(path);
  return parts ? Walk(*parts) : nullptr;
}

FileNode& FileTree::Insert(FileNode* folder, std::unique_ptr<FileNode> node) {
  node->parent = folder;
  folder->children.push_back(std::move(node));
  return *folder->children.back();
}

FileNode& FileTree::Make(std::string_view path, bool folder) {
  const auto parts = Parse(path);
  if (!parts || parts->size() < 2)
    throw std::invalid_argument("no entry path: " + std::string(path));
  FileNode* node = &root_;
  for (size_t i = 0; i < parts->size(); ++i) {
    const bool last = i + 1 == parts->size();
    FileNode* child = Child(*node, (*parts)[i]);
    if (child == nullptr) {
      auto made = std::make_unique<FileNode>();
      made->name = (*parts)[i];
      made->folder = !last || folder;
      child = &Insert(node, std::move(made));
    }
    if (child->folder != (!last || folder)) {
      throw std::invalid_argument("exists as the other kind: " + std::string(path));
    }
    node = child;
  }
  return *node;
}

void FileTree::Remove(FileNode* node) {
  auto& siblings = node->parent->children;
  siblings.erase(std::find_if(siblings.begin(), siblings.end(),
                              [node](const auto& entry) { return entry.get() == node; }));
}

bool FileTree::Copy(std::string_view from, std::string_view to) {
  std::vector<const FileNode*> sources;
  const size_t slash = from.find_last_of("\\/");
  const std::string_view mask = slash == std::string_view::npos ? from : from.substr(slash + 1);
  if (mask.find_first_of("*?") != std::string_view::npos) {
    const FileNode* folder = Lookup(from.substr(0, slash == std::string_view::npos ? 0 : slash));
    if (folder == nullptr || !folder->folder) return false;
    for (const FileNode* child : Listing(*folder)) {
      if (MatchesFileNamePattern(mask, child->name)) sources.push_back(child);
    }
  } else if (const FileNode* source = Lookup(from); source != nullptr && source->parent != &root_) {
    sources.push_back(source);
  }
  if (sources.empty()) return false;

  // Snapshots first, so that a folder copied into itself does not grow while it is copied.
  std::vector<std::unique_ptr<FileNode>> copies;
  for (const FileNode* source : sources) copies.push_back(Clone(*source));
  FileNode* target = Lookup(to);
  if (target == nullptr) {
    const auto parts = Parse(to);
    if (!parts || parts->size() < 2) return false;
    if (copies.size() == 1) {
      copies[0]->name = parts->back();
      const auto parent_parts = std::vector<std::string>(parts->begin(), parts->end() - 1);
      FileNode* parent = Walk(parent_parts);
      if (parent == nullptr) parent = &Make(to.substr(0, to.find_last_of("\\/")), true);
      if (!parent->folder) return false;
      Insert(parent, std::move(copies[0]));
      return true;
    }
    target = &Make(to, /*folder=*/true);
  }
  if (!target->folder) {
    if (copies.size() != 1 || copies[0]->folder) return false;
    Overwrite(target, *copies[0]);
    return true;
  }
  for (auto& copy : copies) {
    if (FileNode* existing = Child(*target, copy->name)) {
      if (existing->folder || copy->folder) return false;
      Overwrite(existing, *copy);
    } else {
      Insert(target, std::move(copy));
    }
  }
  return true;
}

std::vector<const FileNode*> FileTree::Listing(const FileNode& folder) const {
  std::vector<const FileNode*> entries;
  for (const auto& child : folder.children) entries.push_back(child.get());
  if (sorted) {
    std::stable_sort(entries.begin(), entries.end(), [](const FileNode* a, const FileNode* b) {
      return ListsBefore(a->name, b->name);
    });
  }
  return entries;
}

void FileTree::CollectFiles(const FileNode& folder, const std::string& prefix,
                            std::vector<std::string>* paths) const {
  for (const FileNode* child : Listing(folder)) {
    const std::string path = prefix + "\\" + child->name;
    if (child->folder) {
      CollectFiles(*child, path, paths);
    } else {
      paths->push_back(path);
    }
  }
}

void FileTree::SetCurrent(std::string_view path) {
  auto parts = Parse(path);
  if (!parts) throw std::invalid_argument("not a folder path: " + std::string(path));
  current_ = std::move(*parts);
}

std::string FileTree::Current() const {
  std::string path = current_[0] + "\\";
  for (size_t i = 1; i < current_.size(); ++i) path += (i > 1 ? "\\" : "") + current_[i];
  return path;
}

}  // namespace platform::sim
