#include "sim_registry_key.h"

#include <algorithm>
#include <utility>

#include "platform/registry_values.h"
#include "platform/strings.h"

namespace platform::sim {

namespace {

bool IsStringType(ValueType type) {
  return type == ValueType::kString || type == ValueType::kExpandString ||
         type == ValueType::kMultiString;
}

}  // namespace

SimValue ValueAsRead(const SimValue& stored, bool wide) {
  if (stored.wide == wide || !IsStringType(stored.type)) return stored;
  SimValue read{stored.type, {}, wide};
  if (wide) {
    const std::string_view text(reinterpret_cast<const char*>(stored.data.data()),
                                stored.data.size());
    read.data = WideBytes(Utf8ToUtf16(text));
  } else {
    const std::string text = Utf16ToUtf8(WideText(stored.data.data(), stored.data.size()));
    read.data.assign(text.begin(), text.end());
  }
  return read;
}

SimRegistryKey::SimRegistryKey(std::shared_ptr<SimRegistry::Model> model,
                               std::shared_ptr<RegistryNode> node, RootKey root, uint32_t access,
                               RegistryView view)
    : model_(std::move(model)), node_(std::move(node)), root_(root), access_(access), view_(view) {}

WinError SimRegistryKey::CheckHandle(uint32_t right) const {
  if ((access_ & right) != right) return kErrorAccessDenied;
  return node_->deleted() ? kErrorKeyDeleted : kErrorSuccess;
}

WinError SimRegistryKey::ResolvePath(std::string_view path, std::vector<std::string>* full) const {
  const RegistryPath split = SplitRegistryPath(path);
  if (split.leading_separator) return kErrorBadPathname;
  *full = model_->Resolve(root_, *node_, split.parts, view_);
  return kErrorSuccess;
}

WinError SimRegistryKey::Injected(RegistryOperation operation) const {
  return model_->InjectedFailure(operation, root_, node_->PathParts());
}

std::unique_ptr<RegistryKey> SimRegistryKey::NewHandle(std::shared_ptr<RegistryNode> node,
                                                       uint32_t access) const {
  return std::make_unique<SimRegistryKey>(model_, std::move(node), root_, access, view_);
}

// Creating below a handle needs no right on it: Windows checks the parent key's security,
// not the handle, and so does Wine.
WinError SimRegistryKey::CreateSubKey(std::string_view path, uint32_t access,
                                      std::unique_ptr<RegistryKey>* key, bool* created) {
  const std::lock_guard lock(model_->mutex);
  std::vector<std::string> full;
  WinError error = CheckHandle(0);
  if (error == kErrorSuccess) error = ResolvePath(path, &full);
  if (error == kErrorSuccess)
    error = model_->InjectedFailure(RegistryOperation::kCreate, root_, full);
  if (error != kErrorSuccess) return error;
  bool was_created = false;
  *key = NewHandle(SimRegistry::Model::FindOrCreate(node_, full, &was_created), access);
  if (created != nullptr) *created = was_created;
  return kErrorSuccess;
}

WinError SimRegistryKey::OpenSubKey(std::string_view path, uint32_t access,
                                    std::unique_ptr<RegistryKey>* key) {
  const std::lock_guard lock(model_->mutex);
  std::vector<std::string> full;
  WinError error = CheckHandle(0);
  if (error == kErrorSuccess) error = ResolvePath(path, &full);
  if (error == kErrorSuccess)
    error = model_->InjectedFailure(RegistryOperation::kOpen, root_, full);
  if (error != kErrorSuccess) return error;
  std::shared_ptr<RegistryNode> node = SimRegistry::Model::Find(node_, full);
  if (node == nullptr) return kErrorFileNotFound;
  *key = NewHandle(std::move(node), access);
  return kErrorSuccess;
}

WinError SimRegistryKey::DeleteSubKey(std::string_view path) {
  const std::lock_guard lock(model_->mutex);
  std::vector<std::string> full;
  WinError error = CheckHandle(0);
  if (error == kErrorSuccess) error = ResolvePath(path, &full);
  if (error != kErrorSuccess) return error;
  std::shared_ptr<RegistryNode> node = SimRegistry::Model::Find(node_, full);
  if (node == nullptr) return kErrorFileNotFound;
  error = model_->InjectedFailure(RegistryOperation::kDeleteKey, root_, full);
  if (error != kErrorSuccess) return error;
  if (node->is_root() || node->has_subkeys()) return kErrorAccessDenied;
  node->Delete();
  return kErrorSuccess;
}

WinError SimRegistryKey::EnumSubKey(uint32_t index, std::string* name) {
  const std::lock_guard lock(model_->mutex);
  WinError error = CheckHandle(kKeyEnumerateSubKeys);
  if (error == kErrorSuccess) error = Injected(RegistryOperation::kEnumSubKey);
  if (error != kErrorSuccess) return error;
  if (index >= node_->subkeys().size()) return kErrorNoMoreItems;
  *name = node_->subkeys()[index]->name();
  return kErrorSuccess;
}

WinError SimRegistryKey::Store(std::string_view name, SimValue value) {
  const std::lock_guard lock(model_->mutex);
  WinError error = CheckHandle(kKeySetValue);
  if (error == kErrorSuccess) error = Injected(RegistryOperation::kSetValue);
  if (error != kErrorSuccess) return error;
  node_->SetValue(name, std::move(value));
  return kErrorSuccess;
}

WinError SimRegistryKey::SetValue(std::string_view name, ValueType type,
                                  std::span<const uint8_t> data) {
  return Store(name, SimValue{type, std::vector<uint8_t>(data.begin(), data.end()), false});
}

WinError SimRegistryKey::QueryValue(std::string_view name, ValueType* type, uint8_t* data,
                                    uint32_t* size) {
  return Query(name, false, type, data, size);
}

WinError SimRegistryKey::Query(std::string_view name, bool wide, ValueType* type, uint8_t* data,
                               uint32_t* size) {
  const std::lock_guard lock(model_->mutex);
  WinError error = CheckHandle(kKeyQueryValue);
  if (error == kErrorSuccess) error = Injected(RegistryOperation::kQueryValue);
  if (error != kErrorSuccess) return error;
  if (data != nullptr && size == nullptr) return kErrorInvalidParameter;
  const SimValue* found = node_->FindValue(name);
  if (found == nullptr) return kErrorFileNotFound;
  const SimValue read = ValueAsRead(*found, wide);
  const auto stored = static_cast<uint32_t>(read.data.size());
  if (type != nullptr) *type = read.type;
  if (data == nullptr) {
    if (size != nullptr) *size = stored;
    return kErrorSuccess;
  }
  const uint32_t room = *size;
  *size = stored;
  if (room < stored) return kErrorMoreData;
  std::copy(read.data.begin(), read.data.end(), data);
  // Windows ends string data stored without a terminator with one where the buffer has room,
  // without counting it in the size.
  const uint32_t terminator = wide ? 2 : 1;
  if (IsStringType(read.type) && stored >= terminator && room >= stored + terminator &&
      !std::all_of(data + stored - terminator, data + stored, [](uint8_t b) { return b == 0; })) {
    std::fill(data + stored, data + stored + terminator, 0);
  }
  return kErrorSuccess;
}

WinError SimRegistryKey::DeleteValue(std::string_view name) {
  const std::lock_guard lock(model_->mutex);
  WinError error = CheckHandle(kKeySetValue);
  if (error == kErrorSuccess) error = Injected(RegistryOperation::kDeleteValue);
  if (error != kErrorSuccess) return error;
  return node_->RemoveValue(name) ? kErrorSuccess : kErrorFileNotFound;
}

WinError SimRegistryKey::CreateSubKey(std::u16string_view path, uint32_t access,
                                      std::unique_ptr<RegistryKey>* key, bool* created) {
  return CreateSubKey(Utf16ToUtf8(path), access, key, created);
}

WinError SimRegistryKey::OpenSubKey(std::u16string_view path, uint32_t access,
                                    std::unique_ptr<RegistryKey>* key) {
  return OpenSubKey(Utf16ToUtf8(path), access, key);
}

WinError SimRegistryKey::DeleteSubKey(std::u16string_view path) {
  return DeleteSubKey(Utf16ToUtf8(path));
}

WinError SimRegistryKey::EnumSubKey(uint32_t index, std::u16string* name) {
  std::string narrow;
  const WinError error = EnumSubKey(index, &narrow);
  if (error == kErrorSuccess) *name = Utf8ToUtf16(narrow);
  return error;
}

WinError SimRegistryKey::SetValue(std::u16string_view name, ValueType type,
                                  std::span<const uint8_t> data) {
  return Store(Utf16ToUtf8(name),
               SimValue{type, std::vector<uint8_t>(data.begin(), data.end()), true});
}

WinError SimRegistryKey::QueryValue(std::u16string_view name, ValueType* type, uint8_t* data,
                                    uint32_t* size) {
  return Query(Utf16ToUtf8(name), true, type, data, size);
}

WinError SimRegistryKey::DeleteValue(std::u16string_view name) {
  return DeleteValue(Utf16ToUtf8(name));
}

}  // namespace platform::sim
