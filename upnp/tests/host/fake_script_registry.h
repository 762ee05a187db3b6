// A registry tree for the script tests: case-insensitive key names, string values, an
// injectable failure, and a flat dump for comparisons.
#pragma once
#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>

#include "upnp/script_registry.h"

namespace upnp::testing {

class FakeScriptRegistry : public ScriptRegistry {
 public:
  // (key path, value name, data) for every value, and (path, "", nullopt) for every key
  // without a default value; paths as first created, compared without letter case.
  using Item = std::tuple<std::u16string, std::u16string, std::optional<std::u16string>>;

  void Add(std::u16string_view path);
  bool Has(std::u16string_view path) const;
  std::set<Item> Dump() const;
  // Every later SetString fails with this result.
  void FailSetString(Hresult hr) { set_failure_ = hr; }

  Hresult CreateKey(std::u16string_view path) override;
  Hresult SetString(std::u16string_view path, std::u16string_view name,
                    std::u16string_view value) override;
  Hresult SubKeys(std::u16string_view path, std::vector<std::u16string>* names) override;
  Hresult DeleteKey(std::u16string_view path) override;

 private:
  struct Key {
    std::u16string path;
    // By lower-case name: the name as first set, and the data.
    std::map<std::u16string, std::pair<std::u16string, std::u16string>> values;
  };
  static std::u16string Fold(std::u16string_view text);
  std::map<std::u16string, Key> keys_;  // by lower-case path
  Hresult set_failure_ = kSOk;
};

}  // namespace upnp::testing
