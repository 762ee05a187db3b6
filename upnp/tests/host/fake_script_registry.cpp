#include "fake_script_registry.h"

namespace upnp::testing {

std::u16string FakeScriptRegistry::Fold(std::u16string_view text) {
  std::u16string folded(text);
  for (char16_t& c : folded) {
    if (c >= u'A' && c <= u'Z') c += u'a' - u'A';
  }
  return folded;
}

void FakeScriptRegistry::Add(std::u16string_view path) { CreateKey(path); }

bool FakeScriptRegistry::Has(std::u16string_view path) const {
  return keys_.count(Fold(path)) != 0;
}

std::set<FakeScriptRegistry::Item> FakeScriptRegistry::Dump() const {
  std::set<Item> items;
  for (const auto& [folded, key] : keys_) {
    if (key.values.count(u"") == 0) items.emplace(key.path, u"", std::nullopt);
    for (const auto& [folded_name, value] : key.values) {
      items.emplace(key.path, value.first, value.second);
    }
  }
  return items;
}

Hresult FakeScriptRegistry::CreateKey(std::u16string_view path) {
  size_t at = 0;
  while (at != std::u16string_view::npos) {
    at = path.find(u'\\', at + 1);
    const std::u16string_view prefix = path.substr(0, at);
    keys_.try_emplace(Fold(prefix), Key{std::u16string(prefix), {}});
  }
  return kSOk;
}

Hresult FakeScriptRegistry::SetString(std::u16string_view path, std::u16string_view name,
                                      std::u16string_view value) {
  if (Failed(set_failure_)) return set_failure_;
  auto key = keys_.find(Fold(path));
  if (key == keys_.end()) return kRegistryKeyNotFound;
  auto& stored = key->second.values[Fold(name)];
  if (stored.first.empty()) stored.first = name;
  stored.second = value;
  return kSOk;
}

Hresult FakeScriptRegistry::SubKeys(std::u16string_view path, std::vector<std::u16string>* names) {
  const std::u16string folded = Fold(path);
  if (keys_.count(folded) == 0) return kRegistryKeyNotFound;
  names->clear();
  const std::u16string prefix = folded + u"\\";
  for (const auto& [other, key] : keys_) {
    if (other.size() > prefix.size() && other.compare(0, prefix.size(), prefix) == 0 &&
        other.find(u'\\', prefix.size()) == std::u16string::npos) {
      names->push_back(key.path.substr(prefix.size()));
    }
  }
  return kSOk;
}

Hresult FakeScriptRegistry::DeleteKey(std::u16string_view path) {
  std::vector<std::u16string> subkeys;
  const Hresult hr = SubKeys(path, &subkeys);
  if (Failed(hr)) return hr;
  if (!subkeys.empty()) return static_cast<Hresult>(0x80070005);  // access denied, as Windows
  keys_.erase(Fold(path));
  return kSOk;
}

}  // namespace upnp::testing
