// DirectSound buffers as local playback uses them: the sizes a buffer may have, two-part locks,
// the cursors while playing and stopped, the status bits and the position notifications.
#include <gtest/gtest.h>

#include <vector>

#include "audio/core/driver_records.h"
#include "direct_sound_subject.h"

namespace audio::testing {
namespace {

constexpr platform::HResult kDsErrInvalidParam = platform::kEInvalidArg;
constexpr uint32_t kDsbStatusLooping = 0x4;
constexpr uint32_t kStreamingFlags =
    kDsbCapsCtrlPositionNotify | kDsbCapsGetCurrentPosition2 | kDsbCapsGlobalFocus;
constexpr uint32_t kWaitStepMs = 10;
constexpr uint32_t kWaitLimitMs = 5000;

const WaveFormatEx kStereo48k{1, 2, 48000, 48000 * 4, 4, 16, 0};

class SonaroDirectSoundContractTest : public ::testing::Test {
 protected:
  void SetUp() override {
    subject_ = MakeDirectSoundSubject();
    ASSERT_EQ(subject_->system().Create(nullptr, &device_), platform::kSOk);
    ASSERT_EQ(device_->SetCooperativeLevel(subject_->system().DesktopWindow(), kDsSclPriority),
              platform::kSOk);
  }

  platform::HResult MakeBuffer(uint32_t bytes, std::unique_ptr<SoundBuffer>* buffer) {
    BufferDescription description;
    description.flags = kStreamingFlags;
    description.bytes = bytes;
    description.format = FormatBytes(kStereo48k);
    return device_->CreateSoundBuffer(description, buffer);
  }

  // Lets time pass until the condition holds; false when it did not within the limit.
  template <typename Condition>
  bool PassUntil(Condition condition) {
    for (uint32_t waited = 0; waited < kWaitLimitMs; waited += kWaitStepMs) {
      if (condition()) return true;
      subject_->Pass(kWaitStepMs);
    }
    return condition();
  }

  uint32_t Status(SoundBuffer& buffer) {
    uint32_t status = 0xFFFFFFFF;
    EXPECT_EQ(buffer.GetStatus(&status), platform::kSOk);
    return status;
  }

  std::unique_ptr<DirectSoundSubject> subject_;
  std::unique_ptr<DirectSoundDevice> device_;
};

TEST_F(SonaroDirectSoundContractTest, BufferSizesAreCheckedAndLocksWrapAround) {
  std::unique_ptr<SoundBuffer> buffer;
  EXPECT_EQ(MakeBuffer(0, &buffer), kDsErrInvalidParam);
  EXPECT_EQ(MakeBuffer(2, &buffer), kDsErrInvalidParam);
  EXPECT_EQ(MakeBuffer(0x10000000, &buffer), kDsErrInvalidParam);
  EXPECT_EQ(MakeBuffer(8 << 20, &buffer), platform::kSOk);
  // A size that is no whole number of frames grows to the next whole frame.
  ASSERT_EQ(MakeBuffer(4098, &buffer), platform::kSOk);
  LockedParts parts;
  ASSERT_EQ(buffer->Lock(4000, 200, &parts), platform::kSOk);
  EXPECT_EQ(parts.first_bytes, 100u);
  EXPECT_EQ(parts.second_bytes, 100u);
  EXPECT_EQ(parts.second + 4000, parts.first);
  EXPECT_EQ(buffer->Unlock(parts), platform::kSOk);
  ASSERT_EQ(buffer->Lock(0, 4100, &parts), platform::kSOk);
  EXPECT_EQ(parts.first_bytes, 4100u);
  EXPECT_EQ(parts.second_bytes, 0u);
  EXPECT_EQ(buffer->Unlock(parts), platform::kSOk);
  EXPECT_EQ(buffer->Lock(4100, 4, &parts), kDsErrInvalidParam);
  EXPECT_EQ(buffer->Lock(0, 4101, &parts), kDsErrInvalidParam);
  ASSERT_EQ(buffer->Lock(0, 0, &parts), platform::kSOk);
  EXPECT_EQ(parts.first_bytes + parts.second_bytes, 0u);
  EXPECT_EQ(buffer->Unlock(parts), platform::kSOk);
}

TEST_F(SonaroDirectSoundContractTest, CursorsMoveWhilePlayingAndHoldWhenStopped) {
  std::unique_ptr<SoundBuffer> buffer;
  const uint32_t size = kStereo48k.avg_bytes_per_sec;  // one second
  ASSERT_EQ(MakeBuffer(size, &buffer), platform::kSOk);
  uint32_t play = 1, write = 1;
  ASSERT_EQ(buffer->GetCurrentPosition(&play, &write), platform::kSOk);
  EXPECT_EQ(play, 0u);
  EXPECT_EQ(write, 0u);  // no lead while stopped
  EXPECT_EQ(Status(*buffer), 0u);

  ASSERT_EQ(buffer->Play(kDsbPlayLooping), platform::kSOk);
  EXPECT_EQ(Status(*buffer), kDsbStatusPlaying | kDsbStatusLooping);
  EXPECT_TRUE(PassUntil([&] {
    buffer->GetCurrentPosition(&play, &write);
    return play != 0;
  }));
  // While playing, the write cursor leads the play cursor, by less than the buffer.
  EXPECT_NE(write, play);
  EXPECT_LT(write, size);

  ASSERT_EQ(buffer->Stop(), platform::kSOk);
  EXPECT_EQ(Status(*buffer), 0u);
  ASSERT_EQ(buffer->GetCurrentPosition(&play, &write), platform::kSOk);
  const uint32_t stopped_at = play;
  EXPECT_EQ(write, play);
  subject_->Pass(50);
  ASSERT_EQ(buffer->GetCurrentPosition(&play, &write), platform::kSOk);
  EXPECT_EQ(play, stopped_at);

  ASSERT_EQ(buffer->SetCurrentPosition(1000), platform::kSOk);
  ASSERT_EQ(buffer->GetCurrentPosition(&play, &write), platform::kSOk);
  EXPECT_EQ(play, 1000u);
  // A buffer that was never lost restores at once.
  EXPECT_EQ(buffer->Restore(), platform::kSOk);
}

TEST_F(SonaroDirectSoundContractTest, NotificationsFireAsTheBufferPlays) {
  std::unique_ptr<SoundBuffer> buffer;
  const uint32_t size = kStereo48k.avg_bytes_per_sec / 10;  // 100 ms
  ASSERT_EQ(MakeBuffer(size, &buffer), platform::kSOk);
  auto event = subject_->sync().CreateEvent(false, false);
  platform::Event* events[] = {event.get()};
  // An offset past the buffer is taken; it never fires.
  const std::vector<uint32_t> outside = {size};
  EXPECT_EQ(buffer->SetNotificationPositions(outside, event.get()), platform::kSOk);
  const std::vector<uint32_t> positions = {size / 4, size * 3 / 4};
  ASSERT_EQ(buffer->SetNotificationPositions(positions, event.get()), platform::kSOk);

  ASSERT_EQ(buffer->Play(kDsbPlayLooping), platform::kSOk);
  for (int round = 0; round < 3; ++round) {
    EXPECT_TRUE(PassUntil([&] {
      return subject_->sync().WaitAny(events, 0).kind == platform::WaitResult::Kind::kSignalled;
    })) << "round "
        << round;
  }
  EXPECT_EQ(buffer->SetNotificationPositions(positions, event.get()),
            subject_->NotificationsWhilePlaying());
  ASSERT_EQ(buffer->Stop(), platform::kSOk);

  // Played once through, a buffer stops by itself, its play cursor back at the start.
  ASSERT_EQ(buffer->SetCurrentPosition(0), platform::kSOk);
  ASSERT_EQ(buffer->Play(0), platform::kSOk);
  EXPECT_TRUE(PassUntil([&] { return Status(*buffer) == 0; }));
  uint32_t play = 1, write = 1;
  ASSERT_EQ(buffer->GetCurrentPosition(&play, &write), platform::kSOk);
  EXPECT_EQ(play, 0u);
}

}  // namespace
}  // namespace audio::testing
