#include "upnp/core/name_table.h"

namespace upnp {

void NameTable::Add(std::u16string name, int32_t dispid) {
  entries_.push_back(Entry{std::move(name), dispid});
}

const int32_t* NameTable::Find(std::u16string_view name) const {
  for (auto entry = entries_.rbegin(); entry != entries_.rend(); ++entry) {
    if (entry->name == name) return &entry->dispid;
  }
  return nullptr;
}

bool NameTable::LookUp(std::span<const std::u16string_view> names,
                       std::span<int32_t> dispids) const {
  if (names.size() != dispids.size()) return false;
  for (size_t i = 0; i < names.size(); ++i) {
    const int32_t* dispid = Find(names[i]);
    if (dispid == nullptr) return false;
    dispids[i] = *dispid;
  }
  return true;
}

}  // namespace upnp
