// The key tree behind the simulated registry: nodes with case-insensitive names, subkeys kept
// in the order Windows enumerates them, values in the order they were first set.
#pragma once
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/ascii_case.h"
#include "platform/sim/sim_registry.h"

namespace platform::sim {

struct RegistryPath {
  std::vector<std::string> parts;
  bool leading_separator = false;  // Windows refuses such paths with ERROR_BAD_PATHNAME
};
// Empty parts (doubled or trailing backslashes) are skipped, as Windows does.
RegistryPath SplitRegistryPath(std::string_view path);

class RegistryNode {
 public:
  explicit RegistryNode(std::string name, RegistryNode* parent = nullptr);

  const std::string& name() const { return name_; }
  bool deleted() const { return deleted_; }
  bool is_root() const { return parent_ == nullptr && !deleted_; }
  // Names from the root down to this node, the root's own (empty) name excluded.
  std::vector<std::string> PathParts() const;

  std::shared_ptr<RegistryNode> FindSubKey(std::string_view name) const;
  std::shared_ptr<RegistryNode> AddSubKey(std::string_view name);
  bool has_subkeys() const { return !subkeys_.empty(); }
  const std::vector<std::shared_ptr<RegistryNode>>& subkeys() const { return subkeys_; }
  // Detaches this node from its parent; handles still holding it see a deleted key.
  void Delete();

  const SimValue* FindValue(std::string_view name) const;
  void SetValue(std::string_view name, SimValue value);
  bool RemoveValue(std::string_view name);
  std::vector<std::string> ValueNames() const;

 private:
  std::string name_;
  RegistryNode* parent_;
  bool deleted_ = false;
  std::vector<std::shared_ptr<RegistryNode>> subkeys_;
  std::vector<std::pair<std::string, SimValue>> values_;
};

}  // namespace platform::sim
