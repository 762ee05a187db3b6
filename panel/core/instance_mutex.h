// The single-instance mutex "Quandle.exe".
#pragma once
#include <memory>
#include <string_view>

namespace panel {

inline constexpr char16_t kInstanceMutexName[] = u"Quandle.exe";

class InstanceMutex {
 public:
  virtual ~InstanceMutex() = default;
  // OpenMutex with full access (0x1F0001): true when a mutex of that name exists. The opened
  // handle is closed again at once.
  virtual bool Exists(std::u16string_view name) = 0;

  enum class CreateResult { kCreated, kAlreadyExisted, kFailed };
  // CreateMutex, unowned, default security. The created handle stays open for the life of
  // the process (it is the instance marker).
  virtual CreateResult Create(std::u16string_view name) = 0;

  // Opens the mutex by name, releases it and closes that handle.
  virtual void OpenReleaseClose(std::u16string_view name) = 0;
};

}  // namespace panel
