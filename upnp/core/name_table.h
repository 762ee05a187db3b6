// Member names of the service interface and their DISPIDs, as read from its type
// information, for the dispatch name lookup.
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace upnp {

class NameTable {
 public:
  void Add(std::u16string name, int32_t dispid);

  // Exact, case-sensitive match, scanning from the last entry to the first.
  const int32_t* Find(std::u16string_view name) const;

  // Fills dispids (same size as names) when every name is in the table; false otherwise,
  // and the caller hands the whole request to the type information.
  bool LookUp(std::span<const std::u16string_view> names, std::span<int32_t> dispids) const;

 private:
  struct Entry {
    std::u16string name;
    int32_t dispid;
  };
  std::vector<Entry> entries_;
};

}  // namespace upnp
