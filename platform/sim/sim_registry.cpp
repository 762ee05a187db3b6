#include "platform/sim/sim_registry.h"

#include "platform/registry_values.h"
#include "platform/strings.h"
#include "sim_registry_key.h"
#include "sim_registry_model.h"

namespace platform::sim {

namespace {

// Set-up and inspection take paths as a test writes them, so a leading backslash is ignored.
std::vector<std::string> FullPath(const SimRegistry::Model& model, RootKey root,
                                  std::string_view path, RegistryView view) {
  const auto& root_node = *model.roots[static_cast<size_t>(root)];
  return model.Resolve(root, root_node, SplitRegistryPath(path).parts, view);
}

}  // namespace

SimRegistry::SimRegistry() : model_(std::make_shared<Model>()) {}
SimRegistry::~SimRegistry() = default;

void SimRegistry::SetSeparate64BitView(bool separate) {
  const std::lock_guard lock(model_->mutex);
  model_->separate_64bit_view = separate;
}

void SimRegistry::AddKey(RootKey root, std::string_view path, RegistryView view) {
  const std::lock_guard lock(model_->mutex);
  bool created = false;
  Model::FindOrCreate(model_->RootNode(root), FullPath(*model_, root, path, view), &created);
}

void SimRegistry::PutValue(RootKey root, std::string_view path, std::string_view name,
                           SimValue value, RegistryView view) {
  const std::lock_guard lock(model_->mutex);
  bool created = false;
  Model::FindOrCreate(model_->RootNode(root), FullPath(*model_, root, path, view), &created)
      ->SetValue(name, std::move(value));
}

void SimRegistry::PutString(RootKey root, std::string_view path, std::string_view name,
                            std::string_view value, RegistryView view) {
  SimValue stored{ValueType::kString, std::vector<uint8_t>(value.begin(), value.end())};
  stored.data.push_back(0);
  PutValue(root, path, name, std::move(stored), view);
}

void SimRegistry::PutDword(RootKey root, std::string_view path, std::string_view name,
                           uint32_t value, RegistryView view) {
  SimValue stored{ValueType::kDword, std::vector<uint8_t>(4)};
  for (size_t i = 0; i < 4; ++i) stored.data[i] = static_cast<uint8_t>(value >> (8 * i));
  PutValue(root, path, name, std::move(stored), view);
}

void SimRegistry::PutMultiString(RootKey root, std::string_view path, std::string_view name,
                                 const std::vector<std::string>& values, RegistryView view) {
  PutValue(root, path, name, SimValue{ValueType::kMultiString, EncodeMultiString(values)}, view);
}

void SimRegistry::PutString(RootKey root, std::u16string_view path, std::u16string_view name,
                            std::u16string_view value, RegistryView view) {
  std::u16string text(value);
  text.push_back(u'\0');
  SimValue stored{ValueType::kString, WideBytes(text), true};
  PutValue(root, Utf16ToUtf8(path), Utf16ToUtf8(name), std::move(stored), view);
}

std::optional<std::u16string> SimRegistry::GetString(RootKey root, std::u16string_view path,
                                                     std::u16string_view name,
                                                     RegistryView view) const {
  const std::optional<SimValue> value = GetValue(root, Utf16ToUtf8(path), Utf16ToUtf8(name), view);
  if (!value || value->type != ValueType::kString) return std::nullopt;
  const SimValue wide = ValueAsRead(*value, true);
  const std::u16string text = WideText(wide.data.data(), wide.data.size());
  return text.substr(0, text.find(u'\0'));
}

bool SimRegistry::HasKey(RootKey root, std::u16string_view path, RegistryView view) const {
  return HasKey(root, Utf16ToUtf8(path), view);
}

std::vector<std::u16string> SimRegistry::SubKeys(RootKey root, std::u16string_view path,
                                                 RegistryView view) const {
  std::vector<std::u16string> names;
  for (const std::string& name : SubKeys(root, Utf16ToUtf8(path), view)) {
    names.push_back(Utf8ToUtf16(name));
  }
  return names;
}

std::vector<std::u16string> SimRegistry::ValueNames(RootKey root, std::u16string_view path,
                                                    RegistryView view) const {
  std::vector<std::u16string> names;
  for (const std::string& name : ValueNames(root, Utf16ToUtf8(path), view)) {
    names.push_back(Utf8ToUtf16(name));
  }
  return names;
}

bool SimRegistry::HasKey(RootKey root, std::string_view path, RegistryView view) const {
  const std::lock_guard lock(model_->mutex);
  return Model::Find(model_->RootNode(root), FullPath(*model_, root, path, view)) != nullptr;
}

std::optional<SimValue> SimRegistry::GetValue(RootKey root, std::string_view path,
                                              std::string_view name, RegistryView view) const {
  const std::lock_guard lock(model_->mutex);
  const auto node = Model::Find(model_->RootNode(root), FullPath(*model_, root, path, view));
  const SimValue* value = node ? node->FindValue(name) : nullptr;
  if (value == nullptr) return std::nullopt;
  return *value;
}

std::vector<std::string> SimRegistry::SubKeys(RootKey root, std::string_view path,
                                              RegistryView view) const {
  const std::lock_guard lock(model_->mutex);
  std::vector<std::string> names;
  const auto node = Model::Find(model_->RootNode(root), FullPath(*model_, root, path, view));
  if (node == nullptr) return names;
  for (const auto& subkey : node->subkeys()) names.push_back(subkey->name());
  return names;
}

std::vector<std::string> SimRegistry::ValueNames(RootKey root, std::string_view path,
                                                 RegistryView view) const {
  const std::lock_guard lock(model_->mutex);
  const auto node = Model::Find(model_->RootNode(root), FullPath(*model_, root, path, view));
  return node ? node->ValueNames() : std::vector<std::string>{};
}

void SimRegistry::InjectFailure(RegistryOperation operation, RootKey root, std::string_view path,
                                WinError error, RegistryView view) {
  const std::lock_guard lock(model_->mutex);
  model_->failures.push_back({operation, root, FullPath(*model_, root, path, view), error});
}

WinError SimRegistry::CreateKey(RootKey root, std::string_view path, uint32_t access,
                                RegistryView view, std::unique_ptr<RegistryKey>* key,
                                bool* created) {
  SimRegistryKey root_key(model_, model_->RootNode(root), root, kKeyAllAccess, view);
  return root_key.CreateSubKey(path, access, key, created);
}

WinError SimRegistry::OpenKey(RootKey root, std::string_view path, uint32_t access,
                              RegistryView view, std::unique_ptr<RegistryKey>* key) {
  SimRegistryKey root_key(model_, model_->RootNode(root), root, kKeyAllAccess, view);
  return root_key.OpenSubKey(path, access, key);
}

WinError SimRegistry::DeleteKey(RootKey root, std::string_view path, RegistryView view) {
  SimRegistryKey root_key(model_, model_->RootNode(root), root, kKeyAllAccess, view);
  return root_key.DeleteSubKey(path);
}

WinError SimRegistry::CreateKey(RootKey root, std::u16string_view path, uint32_t access,
                                RegistryView view, std::unique_ptr<RegistryKey>* key,
                                bool* created) {
  return CreateKey(root, Utf16ToUtf8(path), access, view, key, created);
}

WinError SimRegistry::OpenKey(RootKey root, std::u16string_view path, uint32_t access,
                              RegistryView view, std::unique_ptr<RegistryKey>* key) {
  return OpenKey(root, Utf16ToUtf8(path), access, view, key);
}

WinError SimRegistry::DeleteKey(RootKey root, std::u16string_view path, RegistryView view) {
  return DeleteKey(root, Utf16ToUtf8(path), view);
}

}  // namespace platform::sim
