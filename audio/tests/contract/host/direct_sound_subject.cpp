#include "direct_sound_subject.h"

#include "audio/sim/sim_sound_card.h"
#include "platform/sim/sim_sync.h"

namespace audio::testing {
namespace {

class SimDirectSoundSubject : public DirectSoundSubject {
 public:
  DirectSoundSystem& system() override { return card_; }
  platform::Sync& sync() override { return sync_; }
  void Pass(uint32_t milliseconds) override {
    clock_.Advance(milliseconds);
    card_.CatchUp();
  }
  // As Windows answers; Wine takes them.
  platform::HResult NotificationsWhilePlaying() override { return platform::kDsErrInvalidCall; }

 private:
  platform::sim::VirtualClock clock_{1000};
  platform::sim::HostSync sync_;
  sim::SimSoundCard card_{clock_};
};

}  // namespace

std::unique_ptr<DirectSoundSubject> MakeDirectSoundSubject() {
  return std::make_unique<SimDirectSoundSubject>();
}

}  // namespace audio::testing
