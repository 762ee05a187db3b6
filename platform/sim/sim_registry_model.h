// The state shared by a SimRegistry and the key handles it gives out: one key tree per root,
// the 64-bit view switch and the injected failures.
#pragma once
#include <array>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/sim/sim_registry.h"
#include "registry_tree.h"

namespace platform::sim {

struct SimRegistry::Model {
  Model();

  RegistryNode& Root(RootKey root) { return *roots[static_cast<size_t>(root)]; }
  std::shared_ptr<RegistryNode> RootNode(RootKey root) { return roots[static_cast<size_t>(root)]; }

  // The full names, from the root, of the key that `parts` name below `from` in `view`.
  std::vector<std::string> Resolve(RootKey root, const RegistryNode& from,
                                   const std::vector<std::string>& parts, RegistryView view) const;
  // Walks `full` (from the root) starting below `from`, whose own path is a prefix of it.
  static std::shared_ptr<RegistryNode> Find(const std::shared_ptr<RegistryNode>& from,
                                            const std::vector<std::string>& full);
  // As Find, creating what is missing; *created tells whether the last key was new.
  static std::shared_ptr<RegistryNode> FindOrCreate(const std::shared_ptr<RegistryNode>& from,
                                                    const std::vector<std::string>& full,
                                                    bool* created);

  WinError InjectedFailure(RegistryOperation operation, RootKey root,
                           const std::vector<std::string>& full) const;

  struct Failure {
    RegistryOperation operation;
    RootKey root;
    std::vector<std::string> path;
    WinError error;
  };

  // Held by every operation: programs reach the registry from several threads.
  std::mutex mutex;
  std::array<std::shared_ptr<RegistryNode>, 4> roots;
  bool separate_64bit_view = false;
  std::vector<Failure> failures;
};

}  // namespace platform::sim
