#include "drvsetup/core/display_class_filters.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <string>
#include <vector>

#include "drvsetup/core/filter_driver_removal.h"
#include "platform/registry_values.h"

namespace drvsetup {

namespace {

bool IsFilterDriverEntry(const std::string& entry) {
  return std::equal(entry.begin(), entry.end(), kFilterDriverName.begin(), kFilterDriverName.end(),
                    [](char a, char b) {
                      return std::tolower(static_cast<unsigned char>(a)) ==
                             std::tolower(static_cast<unsigned char>(b));
                    });
}

platform::WinError WriteBack(platform::RegistryKey& key, const std::vector<std::string>& rest) {
  if (rest.empty()) return key.DeleteValue(kLowerFiltersValue);
  return platform::SetMultiStringValue(key, kLowerFiltersValue, rest);
}

}  // namespace

bool RemoveFromDisplayClassFilters(platform::Registry& registry) {
  std::unique_ptr<platform::RegistryKey> key;
  if (registry.OpenKey(platform::RootKey::kLocalMachine, kDisplayClassKey,
                       platform::kKeyQueryValue | platform::kKeySetValue,
                       platform::RegistryView::kDefault, &key) != platform::kErrorSuccess) {
    return false;
  }
  std::vector<std::string> filters;
  const platform::WinError read =
      platform::QueryMultiStringValue(*key, kLowerFiltersValue, &filters);
  if (read == platform::kErrorFileNotFound) return true;
  if (read != platform::kErrorSuccess) return false;
  const auto kept_end = std::remove_if(filters.begin(), filters.end(), IsFilterDriverEntry);
  if (kept_end == filters.end()) return true;
  filters.erase(kept_end, filters.end());
  return WriteBack(*key, filters) == platform::kErrorSuccess;
}

}  // namespace drvsetup
