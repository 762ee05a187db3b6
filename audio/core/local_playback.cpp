#include "audio/core/local_playback.h"

#include <array>
#include <cstring>
#include <mutex>

#include "audio/core/wide_text.h"

namespace audio {

namespace {

constexpr uint32_t kStreamingBufferFlags = kDsbCapsCtrlFrequency | kDsbCapsCtrlPositionNotify |
                                           kDsbCapsGlobalFocus | kDsbCapsGetCurrentPosition2;

constexpr WaveFormatEx kPrimaryFormat{kWaveFormatPcm, 2, 44100, 176400, 4, 16, 0};

}  // namespace

LocalPlayback::LocalPlayback(DirectSoundSystem& sound, SharedMemory& memory, platform::Sync& sync,
                             platform::Clock& clock)
    : direct_sound_system_(sound),
      memory_(memory),
      sync_(sync),
      clock_(clock),
      restore_stop_(sync.CreateEvent(true, false)) {}

LocalPlayback::~LocalPlayback() { CloseLocalPlayback(); }

std::optional<platform::Guid> LocalPlayback::FindLocalDevice(std::u16string_view name) {
  devices_.clear();
  direct_sound_system_.EnumerateDevices([this](const SoundDeviceEntry& entry) {
    if (entry.guid && devices_.size() < kMaxLocalDevices) {
      devices_.push_back({*entry.guid, CutToBuffer(entry.description, kDeviceTextChars),
                          CutToBuffer(entry.module, kDeviceTextChars)});
    }
    return true;
  });
  // An empty name would match any device, and the virtual device is never the local one:
  // playing into it would feed the driver its own output.
  if (name.empty()) return std::nullopt;
  for (const LocalDeviceEntry& device : devices_) {
    if (ContainsIgnoringCase(device.description, kVirtualDeviceMark)) continue;
    if (device.description.find(name) != std::u16string::npos) return device.guid;
  }
  return std::nullopt;
}

platform::HResult LocalPlayback::OpenLocalPlayback(const platform::Guid* device) {
  CloseLocalPlayback();
  std::unique_ptr<DirectSoundDevice> direct_sound;
  if (platform::Failed(direct_sound_system_.Create(device, &direct_sound)) || !direct_sound)
    return platform::kEFail;

  WindowHandle window = direct_sound_system_.ForegroundWindow();
  if (window == 0) window = direct_sound_system_.DesktopWindow();
  platform::HResult result = direct_sound->SetCooperativeLevel(window, kDsSclPriority);
  if (platform::Failed(result)) return result;

  std::unique_ptr<SoundBuffer> primary;
  BufferDescription description;
  description.flags = kDsbCapsPrimaryBuffer;
  result = direct_sound->CreateSoundBuffer(description, &primary);
  if (platform::Failed(result)) return result;
  result = primary->SetFormat(FormatBytes(kPrimaryFormat));
  primary.reset();
  if (platform::Failed(result)) return result;

  direct_sound_ = std::move(direct_sound);
  notification_event_ = sync_.CreateEvent(false, false);
  stop_event_ = sync_.CreateEvent(false, false);
  if (!notification_event_ || !stop_event_) {
    CloseLocalPlayback();
    return platform::kEOutOfMemory;
  }
  StartNotificationThread();
  return platform::kSOk;
}

void LocalPlayback::CloseLocalPlayback() {
  StopStream();
  StopNotificationThread();
  notification_event_.reset();
  stop_event_.reset();
  direct_sound_.reset();
}

void LocalPlayback::StartNotificationThread() {
  if (notification_thread_ || !notification_event_ || !stop_event_) return;
  notification_thread_ = sync_.StartThread([this] { NotificationThreadBody(); },
                                           platform::ThreadPriority::kAboveNormal);
}

void LocalPlayback::StopNotificationThread() {
  if (!notification_thread_) return;
  stop_event_->Set();
  notification_thread_->Join();
  notification_thread_.reset();
  notification_event_->Reset();
  stop_event_->Reset();
}

void LocalPlayback::NotificationThreadBody() {
  std::array<platform::Event*, 2> events{notification_event_.get(), stop_event_.get()};
  for (;;) {
    const platform::WaitResult woken = sync_.WaitAny(events, platform::kWaitInfinite);
    if (woken.kind != platform::WaitResult::Kind::kSignalled) continue;
    if (woken.index == 1) return;
    if (platform::Failed(HandleNotification())) return;
  }
}

platform::HResult LocalPlayback::HandleNotification() {
  std::lock_guard hold(sound_lock_);
  if (!sound_) return platform::kSFalse;
  const platform::HResult result = sound_->HandleNotification();
  // Nobody refills the buffer after a failure: looping on, it would repeat its last 150 ms.
  if (platform::Failed(result)) sound_->Buffer().Stop();
  return result;
}

platform::HResult LocalPlayback::StartStream(std::span<const uint8_t> format, uint32_t stream_id) {
  if (format.size() < sizeof(WaveFormatEx)) return platform::kEInvalidArg;
  if (!direct_sound_) return platform::kCoENotInitialized;
  StopStream();
  StartNotificationThread();

  WaveFormatEx base;
  std::memcpy(&base, format.data(), sizeof base);
  const uint32_t notify_size = NotifySize(base);
  // A format without a block alignment, or too slow for one frame in 50 ms, has no blocks.
  if (notify_size == 0) return platform::kEInvalidArg;

  auto source = std::make_unique<CWaveSource>(memory_);
  platform::HResult result = source->Open(format, stream_id);
  if (platform::Failed(result)) return result;

  BufferDescription description;
  description.flags = kStreamingBufferFlags;
  description.bytes = kBlocksPerBuffer * notify_size;
  description.format = source->FormatBytes();
  std::unique_ptr<SoundBuffer> buffer;
  result = direct_sound_->CreateSoundBuffer(description, &buffer);
  if (platform::Failed(result)) return result;

  const std::array<uint32_t, kBlocksPerBuffer> positions{notify_size - 1, 2 * notify_size - 1,
                                                         3 * notify_size - 1};
  result = buffer->SetNotificationPositions(positions, notification_event_.get());
  if (platform::Failed(result)) return result;

  auto sound = std::make_unique<CStreamingSound>(std::move(source), std::move(buffer), notify_size,
                                                 clock_, sync_, restore_stop_.get());
  std::lock_guard hold(sound_lock_);
  sound_ = std::move(sound);
  return platform::kSOk;
}

platform::HResult LocalPlayback::StopStream() {
  // A restore of a lost buffer that holds the lock gives up now.
  if (restore_stop_) restore_stop_->Set();
  {
    std::lock_guard hold(sound_lock_);
    if (sound_) {
      sound_->Buffer().Stop();
      sound_->Reset();
    }
  }
  // The thread may be waiting for the lock inside a refill: it is stopped without holding it.
  StopNotificationThread();
  std::lock_guard hold(sound_lock_);
  sound_.reset();
  if (restore_stop_) restore_stop_->Reset();
  return platform::kSOk;
}

platform::HResult LocalPlayback::BeginPlayback() {
  std::lock_guard hold(sound_lock_);
  if (!sound_) return platform::kEFail;
  const platform::HResult prefilled = sound_->Prefill();
  if (platform::Failed(prefilled)) return prefilled;
  const platform::HResult started = sound_->StartGate();
  return platform::Failed(started) ? started : platform::kSOk;
}

platform::HResult LocalPlayback::ChangeRateInPlace(const WaveFormatEx& format) {
  std::lock_guard hold(sound_lock_);
  if (!sound_) return platform::kSFalse;
  CWaveSource& source = sound_->Source();
  if (!source.HasFormat()) return platform::kEFail;
  const WaveFormatEx& current = source.Format();
  if (format.format_tag != current.format_tag || format.channels != current.channels ||
      format.block_align != current.block_align ||
      format.bits_per_sample != current.bits_per_sample) {
    return platform::kENotImpl;
  }
  const platform::HResult result = sound_->Buffer().SetFrequency(format.samples_per_sec);
  if (platform::Failed(result)) return result;
  source.SetBaseFormat(format);
  return platform::kSOk;
}

bool LocalPlayback::IsPlaying() {
  std::lock_guard hold(sound_lock_);
  return sound_ && sound_->IsPlaying();
}

bool LocalPlayback::HasCurrentSound() {
  std::lock_guard hold(sound_lock_);
  return sound_ != nullptr;
}

bool LocalPlayback::IsStartPending() {
  std::lock_guard hold(sound_lock_);
  return sound_ && sound_->start_pending();
}

void LocalPlayback::SetDraining(bool draining) {
  std::lock_guard hold(sound_lock_);
  if (sound_) sound_->set_draining(draining);
}

}  // namespace audio
