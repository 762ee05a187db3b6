// A handle to a key of the simulated registry: the key it was opened on, the rights it was
// opened with and the view its subkey paths are taken in.
#pragma once
#include <memory>

#include "sim_registry_model.h"

namespace platform::sim {

class SimRegistryKey : public RegistryKey {
 public:
  SimRegistryKey(std::shared_ptr<SimRegistry::Model> model, std::shared_ptr<RegistryNode> node,
                 RootKey root, uint32_t access, RegistryView view);

  WinError CreateSubKey(std::string_view path, uint32_t access, std::unique_ptr<RegistryKey>* key,
                        bool* created) override;
  WinError OpenSubKey(std::string_view path, uint32_t access,
                      std::unique_ptr<RegistryKey>* key) override;
  WinError DeleteSubKey(std::string_view path) override;
  WinError EnumSubKey(uint32_t index, std::string* name) override;

  WinError SetValue(std::string_view name, ValueType type, std::span<const uint8_t> data) override;
  WinError QueryValue(std::string_view name, ValueType* type, uint8_t* data,
                      uint32_t* size) override;
  WinError DeleteValue(std::string_view name) override;

  // The simulated code page is UTF-8: wide names are kept as their UTF-8 form.
  WinError CreateSubKey(std::u16string_view path, uint32_t access,
                        std::unique_ptr<RegistryKey>* key, bool* created) override;
  WinError OpenSubKey(std::u16string_view path, uint32_t access,
                      std::unique_ptr<RegistryKey>* key) override;
  WinError DeleteSubKey(std::u16string_view path) override;
  WinError EnumSubKey(uint32_t index, std::u16string* name) override;
  WinError SetValue(std::u16string_view name, ValueType type,
                    std::span<const uint8_t> data) override;
  WinError QueryValue(std::u16string_view name, ValueType* type, uint8_t* data,
                      uint32_t* size) override;
  WinError DeleteValue(std::u16string_view name) override;

 private:
  WinError Store(std::string_view name, SimValue value);
  WinError Query(std::string_view name, bool wide, ValueType* type, uint8_t* data, uint32_t* size);
  // The handle's rights are checked first, then whether its key still exists, as Windows does.
  WinError CheckHandle(uint32_t right) const;
  WinError ResolvePath(std::string_view path, std::vector<std::string>* full) const;
  WinError Injected(RegistryOperation operation) const;
  std::unique_ptr<RegistryKey> NewHandle(std::shared_ptr<RegistryNode> node, uint32_t access) const;

  std::shared_ptr<SimRegistry::Model> model_;
  std::shared_ptr<RegistryNode> node_;
  RootKey root_;
  uint32_t access_;
  RegistryView view_;
};

}  // namespace platform::sim
