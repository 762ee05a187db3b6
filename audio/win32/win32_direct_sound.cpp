#include <windows.h>

// The wave format, which the lean Windows header leaves out, before DirectSound.
#include <mmsystem.h>

#include <dsound.h>

#include <cstring>
#include <utility>
#include <vector>

#include "audio/win32/win32_audio_adapters.h"
#include "platform/com_ptr.h"
#include "platform/win32/native_guid.h"
#include "platform/win32/win32_sync.h"

namespace audio::win32 {

namespace {

// {B0210783-89CD-11D0-AF08-00A0C925CD16}
constexpr GUID kIidDirectSoundNotify{
    0xB0210783, 0x89CD, 0x11D0, {0xAF, 0x08, 0x00, 0xA0, 0xC9, 0x25, 0xCD, 0x16}};

using platform::win32::FromGuid;
using platform::win32::ToGuid;

// The wave format in properly aligned memory, as DirectSound reads it.
std::vector<WORD> FormatCopy(std::span<const uint8_t> format) {
  std::vector<WORD> copy((format.size() + 1) / 2);
  std::memcpy(copy.data(), format.data(), format.size());
  return copy;
}

class Win32SoundBuffer : public SoundBuffer {
 public:
  explicit Win32SoundBuffer(platform::ComPtr<IDirectSoundBuffer> buffer)
      : buffer_(std::move(buffer)) {}

  platform::HResult SetFormat(std::span<const uint8_t> format) override {
    const std::vector<WORD> copy = FormatCopy(format);
    return buffer_->SetFormat(reinterpret_cast<const WAVEFORMATEX*>(copy.data()));
  }
  platform::HResult GetStatus(uint32_t* status) override {
    DWORD value = 0;
    const HRESULT result = buffer_->GetStatus(&value);
    *status = value;
    return result;
  }
  platform::HResult Restore() override { return buffer_->Restore(); }
  platform::HResult Lock(uint32_t offset, uint32_t bytes, LockedParts* parts) override {
    void* first = nullptr;
    void* second = nullptr;
    DWORD first_bytes = 0;
    DWORD second_bytes = 0;
    const HRESULT result =
        buffer_->Lock(offset, bytes, &first, &first_bytes, &second, &second_bytes, 0);
    *parts = {static_cast<uint8_t*>(first), first_bytes, static_cast<uint8_t*>(second),
              second_bytes};
    return result;
  }
  platform::HResult Unlock(const LockedParts& parts) override {
    return buffer_->Unlock(parts.first, parts.first_bytes, parts.second, parts.second_bytes);
  }
  platform::HResult Play(uint32_t flags) override { return buffer_->Play(0, 0, flags); }
  platform::HResult Stop() override { return buffer_->Stop(); }
  platform::HResult SetCurrentPosition(uint32_t position) override {
    return buffer_->SetCurrentPosition(position);
  }
  platform::HResult GetCurrentPosition(uint32_t* play, uint32_t* write) override {
    DWORD play_cursor = 0;
    DWORD write_cursor = 0;
    const HRESULT result = buffer_->GetCurrentPosition(&play_cursor, &write_cursor);
    *play = play_cursor;
    *write = write_cursor;
    return result;
  }
  platform::HResult SetFrequency(uint32_t samples_per_sec) override {
    return buffer_->SetFrequency(samples_per_sec);
  }
  platform::HResult SetNotificationPositions(std::span<const uint32_t> offsets,
                                             platform::Event* event) override {
    platform::ComPtr<IDirectSoundNotify> notify;
    HRESULT result = buffer_.As(kIidDirectSoundNotify, &notify);
    if (FAILED(result)) return result;
    std::vector<DSBPOSITIONNOTIFY> positions;
    for (uint32_t offset : offsets) {
      positions.push_back({offset, static_cast<HANDLE>(platform::win32::NativeEventHandle(event))});
    }
    return notify->SetNotificationPositions(static_cast<DWORD>(positions.size()), positions.data());
  }

 private:
  platform::ComPtr<IDirectSoundBuffer> buffer_;
};

class Win32DirectSoundDevice : public DirectSoundDevice {
 public:
  explicit Win32DirectSoundDevice(platform::ComPtr<IDirectSound8> object)
      : object_(std::move(object)) {}

  platform::HResult SetCooperativeLevel(WindowHandle window, uint32_t level) override {
    return object_->SetCooperativeLevel(reinterpret_cast<HWND>(window), level);
  }

  platform::HResult CreateSoundBuffer(const BufferDescription& description,
                                      std::unique_ptr<SoundBuffer>* buffer) override {
    std::vector<WORD> format = FormatCopy(description.format);
    DSBUFFERDESC desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = description.flags;
    desc.dwBufferBytes = description.bytes;
    desc.lpwfxFormat = format.empty() ? nullptr : reinterpret_cast<WAVEFORMATEX*>(format.data());
    desc.guid3DAlgorithm = ToGuid(description.algorithm_3d);
    platform::ComPtr<IDirectSoundBuffer> made;
    const HRESULT result = object_->CreateSoundBuffer(&desc, made.put(), nullptr);
    if (FAILED(result)) return result;
    *buffer = std::make_unique<Win32SoundBuffer>(std::move(made));
    return result;
  }

 private:
  platform::ComPtr<IDirectSound8> object_;
};

BOOL CALLBACK EnumerateOne(LPGUID guid, LPCWSTR description, LPCWSTR module, LPVOID context) {
  const auto& callback = *static_cast<const std::function<bool(const SoundDeviceEntry&)>*>(context);
  const platform::Guid device = guid ? FromGuid(*guid) : platform::Guid{};
  const std::u16string_view text(
      reinterpret_cast<const char16_t*>(description ? description : L""));
  const std::u16string_view name(reinterpret_cast<const char16_t*>(module ? module : L""));
  return callback({guid ? &device : nullptr, text, name}) ? TRUE : FALSE;
}

}  // namespace

platform::HResult Win32DirectSoundSystem::EnumerateDevices(
    const std::function<bool(const SoundDeviceEntry&)>& callback) {
  auto context = callback;
  return DirectSoundEnumerateW(EnumerateOne, &context);
}

platform::HResult Win32DirectSoundSystem::Create(const platform::Guid* device,
                                                 std::unique_ptr<DirectSoundDevice>* object) {
  GUID guid{};
  if (device) guid = ToGuid(*device);
  platform::ComPtr<IDirectSound8> made;
  const HRESULT result = DirectSoundCreate8(device ? &guid : nullptr, made.put(), nullptr);
  if (FAILED(result)) return result;
  *object = std::make_unique<Win32DirectSoundDevice>(std::move(made));
  return result;
}

WindowHandle Win32DirectSoundSystem::ForegroundWindow() {
  return reinterpret_cast<WindowHandle>(GetForegroundWindow());
}

WindowHandle Win32DirectSoundSystem::DesktopWindow() {
  return reinterpret_cast<WindowHandle>(GetDesktopWindow());
}

}  // namespace audio::win32
