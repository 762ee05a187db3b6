#include "direct_sound_subject.h"

#include "audio/win32/win32_audio_adapters.h"
#include "platform/win32/win32_sync.h"

namespace audio::testing {
namespace {

class Win32DirectSoundSubject : public DirectSoundSubject {
 public:
  DirectSoundSystem& system() override { return system_; }
  platform::Sync& sync() override { return sync_; }
  void Pass(uint32_t milliseconds) override { clock_.Sleep(milliseconds); }
  // Wine takes them; Windows refuses them with DSERR_INVALIDCALL, as its documentation says.
  platform::HResult NotificationsWhilePlaying() override { return platform::kSOk; }

 private:
  win32::Win32DirectSoundSystem system_;
  platform::win32::Win32Sync sync_;
  platform::win32::Win32Clock clock_;
};

}  // namespace

std::unique_ptr<DirectSoundSubject> MakeDirectSoundSubject() {
  return std::make_unique<Win32DirectSoundSubject>();
}

}  // namespace audio::testing
