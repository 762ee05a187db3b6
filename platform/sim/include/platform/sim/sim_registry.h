// A registry a test sets up and inspects: a tree of keys per view, with case-insensitive names,
// typed values, and injected failures. HKEY_CLASSES_ROOT is a tree of its own, not a merged
// view of HKLM\SOFTWARE\Classes.
#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"

namespace platform::sim {

struct SimValue {
  ValueType type = ValueType::kNone;
  std::vector<uint8_t> data;
  // String data written through the wide API is UTF-16; through the 8-bit API, text in the
  // simulated code page (UTF-8). A reader of the other width gets it converted.
  bool wide = false;
};

// The value as a reader of the given width sees it: string types converted when they were
// written through the other width, everything else as stored.
SimValue ValueAsRead(const SimValue& stored, bool wide);

enum class RegistryOperation {
  kCreate,
  kOpen,
  kDeleteKey,
  kEnumSubKey,
  kSetValue,
  kQueryValue,
  kDeleteValue
};

class SimRegistry : public Registry {
 public:
  SimRegistry();
  ~SimRegistry() override;

  // With a separate 64-bit view (a 32-bit process on 64-bit Windows), kDefault and k32Bit
  // paths below HKLM\SOFTWARE go to SOFTWARE\Wow6432Node and k64Bit to SOFTWARE itself.
  // Without it (the default) every view is the same tree, as in a 32-bit system. A key keeps
  // the view it was opened in for the paths given to it.
  void SetSeparate64BitView(bool separate);

  // Model set-up and inspection by full path below a root ("SOFTWARE\\Vendor\\Key"); the
  // path is taken in the given view. Setting a value creates its key.
  void AddKey(RootKey root, std::string_view path, RegistryView view = RegistryView::kDefault);
  void PutValue(RootKey root, std::string_view path, std::string_view name, SimValue value,
                RegistryView view = RegistryView::kDefault);
  void PutString(RootKey root, std::string_view path, std::string_view name, std::string_view value,
                 RegistryView view = RegistryView::kDefault);
  void PutDword(RootKey root, std::string_view path, std::string_view name, uint32_t value,
                RegistryView view = RegistryView::kDefault);
  void PutMultiString(RootKey root, std::string_view path, std::string_view name,
                      const std::vector<std::string>& values,
                      RegistryView view = RegistryView::kDefault);
  // Set-up and inspection in UTF-16, as a program using the wide API sees the registry.
  void PutString(RootKey root, std::u16string_view path, std::u16string_view name,
                 std::u16string_view value, RegistryView view = RegistryView::kDefault);
  std::optional<std::u16string> GetString(RootKey root, std::u16string_view path,
                                          std::u16string_view name,
                                          RegistryView view = RegistryView::kDefault) const;
  bool HasKey(RootKey root, std::u16string_view path,
              RegistryView view = RegistryView::kDefault) const;
  std::vector<std::u16string> SubKeys(RootKey root, std::u16string_view path,
                                      RegistryView view = RegistryView::kDefault) const;
  std::vector<std::u16string> ValueNames(RootKey root, std::u16string_view path,
                                         RegistryView view = RegistryView::kDefault) const;

  bool HasKey(RootKey root, std::string_view path,
              RegistryView view = RegistryView::kDefault) const;
  std::optional<SimValue> GetValue(RootKey root, std::string_view path, std::string_view name,
                                   RegistryView view = RegistryView::kDefault) const;
  // Subkey names in enumeration order (sorted as Windows sorts them, by upper-cased name);
  // value names in the order they were first set.
  std::vector<std::string> SubKeys(RootKey root, std::string_view path,
                                   RegistryView view = RegistryView::kDefault) const;
  std::vector<std::string> ValueNames(RootKey root, std::string_view path,
                                      RegistryView view = RegistryView::kDefault) const;

  // Every later call of that operation on that key (full path, case-insensitive) fails with
  // the error. For value operations the key is the one holding the value.
  void InjectFailure(RegistryOperation operation, RootKey root, std::string_view path,
                     WinError error, RegistryView view = RegistryView::kDefault);

  WinError CreateKey(RootKey root, std::string_view path, uint32_t access, RegistryView view,
                     std::unique_ptr<RegistryKey>* key, bool* created) override;
  WinError OpenKey(RootKey root, std::string_view path, uint32_t access, RegistryView view,
                   std::unique_ptr<RegistryKey>* key) override;
  WinError DeleteKey(RootKey root, std::string_view path, RegistryView view) override;
  WinError CreateKey(RootKey root, std::u16string_view path, uint32_t access, RegistryView view,
                     std::unique_ptr<RegistryKey>* key, bool* created) override;
  WinError OpenKey(RootKey root, std::u16string_view path, uint32_t access, RegistryView view,
                   std::unique_ptr<RegistryKey>* key) override;
  WinError DeleteKey(RootKey root, std::u16string_view path, RegistryView view) override;

  struct Model;

 private:
  std::shared_ptr<Model> model_;  // shared with the key handles, which may outlive this
};

}  // namespace platform::sim
