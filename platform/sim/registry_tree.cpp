#include "registry_tree.h"

#include <algorithm>

namespace platform::sim {

RegistryPath SplitRegistryPath(std::string_view path) {
  RegistryPath result;
  result.leading_separator = !path.empty() && path.front() == '\\';
  size_t start = 0;
  while (start <= path.size()) {
    const size_t end = std::min(path.find('\\', start), path.size());
    if (end > start) result.parts.emplace_back(path.substr(start, end - start));
    start = end + 1;
  }
  return result;
}

RegistryNode::RegistryNode(std::string name, RegistryNode* parent)
    : name_(std::move(name)), parent_(parent) {}

std::vector<std::string> RegistryNode::PathParts() const {
  std::vector<std::string> parts;
  for (const RegistryNode* node = this; node->parent_ != nullptr; node = node->parent_) {
    parts.push_back(node->name_);
  }
  std::reverse(parts.begin(), parts.end());
  return parts;
}

std::shared_ptr<RegistryNode> RegistryNode::FindSubKey(std::string_view name) const {
  for (const auto& subkey : subkeys_) {
    if (EqualsIgnoringCase(subkey->name_, name)) return subkey;
  }
  return nullptr;
}

std::shared_ptr<RegistryNode> RegistryNode::AddSubKey(std::string_view name) {
  auto node = std::make_shared<RegistryNode>(std::string(name), this);
  const auto position =
      std::upper_bound(subkeys_.begin(), subkeys_.end(), name,
                       [](std::string_view key, const std::shared_ptr<RegistryNode>& n) {
                         return LessIgnoringCase(key, n->name_);
                       });
  subkeys_.insert(position, node);
  return node;
}

void RegistryNode::Delete() {
  if (parent_ != nullptr) {
    auto& siblings = parent_->subkeys_;
    siblings.erase(std::remove_if(siblings.begin(), siblings.end(),
                                  [this](const auto& node) { return node.get() == this; }),
                   siblings.end());
  }
  parent_ = nullptr;
  deleted_ = true;
}

const SimValue* RegistryNode::FindValue(std::string_view name) const {
  for (const auto& [value_name, value] : values_) {
    if (EqualsIgnoringCase(value_name, name)) return &value;
  }
  return nullptr;
}

void RegistryNode::SetValue(std::string_view name, SimValue value) {
  for (auto& [value_name, existing] : values_) {
    if (EqualsIgnoringCase(value_name, name)) {
      existing = std::move(value);
      return;
    }
  }
  values_.emplace_back(std::string(name), std::move(value));
}

bool RegistryNode::RemoveValue(std::string_view name) {
  const auto found = std::find_if(values_.begin(), values_.end(), [name](const auto& entry) {
    return EqualsIgnoringCase(entry.first, name);
  });
  if (found == values_.end()) return false;
  values_.erase(found);
  return true;
}

std::vector<std::string> RegistryNode::ValueNames() const {
  std::vector<std::string> names;
  for (const auto& entry : values_) names.push_back(entry.first);
  return names;
}

}  // namespace platform::sim
