#include "sim_registry_model.h"

#include <algorithm>

namespace platform::sim {

namespace {

constexpr std::string_view kSoftware = "SOFTWARE";
constexpr std::string_view kWow6432Node = "Wow6432Node";

bool SamePath(const std::vector<std::string>& a, const std::vector<std::string>& b) {
  return std::equal(
      a.begin(), a.end(), b.begin(), b.end(),
      [](const std::string& x, const std::string& y) { return EqualsIgnoringCase(x, y); });
}

}  // namespace

SimRegistry::Model::Model() {
  for (auto& root : roots) root = std::make_shared<RegistryNode>("");
}

// 32-bit programs on 64-bit Windows see HKLM\SOFTWARE\Wow6432Node where they name
// HKLM\SOFTWARE; naming Wow6432Node themselves reaches the same key.
std::vector<std::string> SimRegistry::Model::Resolve(RootKey root, const RegistryNode& from,
                                                     const std::vector<std::string>& parts,
                                                     RegistryView view) const {
  std::vector<std::string> full = from.PathParts();
  const bool redirect =
      separate_64bit_view && root == RootKey::kLocalMachine && view != RegistryView::k64Bit;
  for (const std::string& part : parts) {
    const bool at_redirected = full.size() == 2 && EqualsIgnoringCase(full[0], kSoftware) &&
                               EqualsIgnoringCase(full[1], kWow6432Node);
    if (redirect && at_redirected && EqualsIgnoringCase(part, kWow6432Node)) continue;
    full.push_back(part);
    if (redirect && full.size() == 1 && EqualsIgnoringCase(part, kSoftware)) {
      full.emplace_back(kWow6432Node);
    }
  }
  return full;
}

std::shared_ptr<RegistryNode> SimRegistry::Model::Find(const std::shared_ptr<RegistryNode>& from,
                                                       const std::vector<std::string>& full) {
  std::shared_ptr<RegistryNode> node = from;
  for (size_t i = from->PathParts().size(); i < full.size() && node; ++i) {
    node = node->FindSubKey(full[i]);
  }
  return node;
}

std::shared_ptr<RegistryNode> SimRegistry::Model::FindOrCreate(
    const std::shared_ptr<RegistryNode>& from, const std::vector<std::string>& full,
    bool* created) {
  std::shared_ptr<RegistryNode> node = from;
  *created = false;
  for (size_t i = from->PathParts().size(); i < full.size(); ++i) {
    std::shared_ptr<RegistryNode> next = node->FindSubKey(full[i]);
    *created = next == nullptr;
    node = next ? next : node->AddSubKey(full[i]);
  }
  return node;
}

WinError SimRegistry::Model::InjectedFailure(RegistryOperation operation, RootKey root,
                                             const std::vector<std::string>& full) const {
  for (const Failure& failure : failures) {
    if (failure.operation == operation && failure.root == root && SamePath(failure.path, full)) {
      return failure.error;
    }
  }
  return kErrorSuccess;
}

}  // namespace platform::sim
