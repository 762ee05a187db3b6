#include "audio/core/stream_monitor.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <span>

#include "audio/core/ring_reader.h"

namespace audio {

namespace {

bool IsNewStream(const StatusBlock& snapshot, uint32_t stamp, int32_t id) {
  if (stamp <= snapshot.start_stamp) return id < static_cast<int32_t>(snapshot.stream_id);
  return snapshot.stream_state == kStreamRunning;
}

}  // namespace

CStreamMonitor::CStreamMonitor(SharedMemory& memory, PlaybackControl& playback,
                               platform::Sync& sync, platform::Clock& clock)
    : memory_(memory),
      playback_(playback),
      sync_(sync),
      clock_(clock),
      start_stamp_(clock.TickCount()) {}

CStreamMonitor::~CStreamMonitor() { Stop(); }

bool CStreamMonitor::Start() {
  Stop();
  wake_event_ = sync_.CreateEvent(false, false);
  stop_event_ = sync_.CreateEvent(false, false);
  if (!wake_event_ || !stop_event_) return false;
  thread_ = sync_.StartThread([this] { ThreadBody(); }, platform::ThreadPriority::kAboveNormal);
  return thread_ != nullptr;
}

void CStreamMonitor::Stop() {
  if (thread_) {
    stop_event_->Set();
    thread_->Join();
    thread_.reset();
  }
  wake_event_.reset();
  stop_event_.reset();
}

void CStreamMonitor::ThreadBody() {
  const std::array<platform::Event*, 2> events{wake_event_.get(), stop_event_.get()};
  for (;;) {
    const platform::WaitResult woken = sync_.WaitAny(events, kMonitorPollMs);
    const bool poll_now =
        woken.kind == platform::WaitResult::Kind::kTimedOut ||
        (woken.kind == platform::WaitResult::Kind::kSignalled && woken.index == 0);
    if (woken.kind == platform::WaitResult::Kind::kSignalled && woken.index == 1) return;
    if (poll_now && local_sound_enabled_.load() == 1 && !Poll()) return;
  }
}

bool CStreamMonitor::WaitForReady() {
  StatusBlock live;
  memory_.SnapshotStatusBlock(&live);
  while (live.ready == 0) {
    // The driver may never raise it again; the stop event must still end the thread.
    clock_.Sleep(1);
    if (stop_event_) {
      platform::Event* stop = stop_event_.get();
      if (sync_.WaitAny({&stop, 1}, 0).kind == platform::WaitResult::Kind::kSignalled) {
        return false;
      }
    }
    memory_.SnapshotStatusBlock(&live);
  }
  return true;
}

void CStreamMonitor::TakeOver(const StatusBlock& snapshot) {
  const RingRecord& current = CurrentRecord(snapshot);
  const RingRecord& previous = PreviousRecord(snapshot);
  start_stamp_ = snapshot.start_stamp;
  stream_id_ = static_cast<int32_t>(snapshot.stream_id);
  if (primed_ && previous.write_position > seen_position_) AdvanceToWritePosition(previous);
  playback_.StopStream();
  seen_position_ =
      current.write_position >= (uint64_t{current.size} >> 1) ? current.write_position : 0;
  format_ = snapshot.format;
  state_ = snapshot.stream_state;
  playback_.StartStream(FormatBytes(format_), snapshot.stream_id);
  if (state_ == kStreamRunning) playback_.BeginPlayback();
  primed_ = true;
}

bool CStreamMonitor::Poll() {
  StatusBlock snapshot;
  memory_.SnapshotStatusBlock(&snapshot);
  if (snapshot.stream_id == 0) return true;
  if (!WaitForReady()) return false;
  memory_.SnapshotStatusBlock(&snapshot);

  if (IsNewStream(snapshot, start_stamp_, stream_id_)) TakeOver(snapshot);

  if (std::memcmp(&format_, &snapshot.format, sizeof format_) != 0) {
    format_ = snapshot.format;
    if (playback_.HasCurrentSound() && playback_.IsPlaying()) {
      // Only the rate can change under a playing buffer; for any other change it would go on
      // playing the new audio in the old format. It is made again and started.
      if (playback_.ChangeRateInPlace(format_) == platform::kENotImpl) {
        playback_.StartStream(FormatBytes(format_), snapshot.stream_id);
        playback_.BeginPlayback();
      }
    } else {
      playback_.StartStream(FormatBytes(format_), snapshot.stream_id);
    }
  }

  bool ended = false;
  if (state_ != snapshot.stream_state) {
    const uint32_t old_state = state_;
    state_ = snapshot.stream_state;
    if (state_ == kStreamRunning) {
      // An ended stream that runs again must not stop at its old end.
      if (old_state == kStreamStopped && playback_.HasCurrentSound()) playback_.SetDraining(false);
      const bool resumes_playing =
          old_state == kStreamIntermediate && playback_.HasCurrentSound() && playback_.IsPlaying();
      if (!resumes_playing) playback_.BeginPlayback();
    } else if (state_ == kStreamStopped) {
      ended = true;
    }
  }

  const RingRecord& current = CurrentRecord(snapshot);
  if (primed_ && current.write_position > seen_position_) AdvanceToWritePosition(current);

  if (ended && playback_.HasCurrentSound()) {
    playback_.SetDraining(true);
    if (playback_.IsStartPending()) playback_.BeginPlayback();
  }
  return true;
}

void CStreamMonitor::AdvanceToWritePosition(const RingRecord& record) {
  uint32_t remaining =
      static_cast<uint32_t>(record.write_position) - static_cast<uint32_t>(seen_position_);
  if (remaining == 0) return;
  // A region outside the mapping paces nothing; its audio is passed over.
  if (!IsReadableRegion(record, memory_.DataAreaBytes())) {
    seen_position_ += remaining;
    return;
  }
  uint64_t at = seen_position_ % record.size;
  for (uint32_t attempts = 0; remaining > 0; ++attempts) {
    if (attempts == kMaxStartAttemptsPerAdvance || !playback_.IsStartPending()) {
      seen_position_ += remaining;  // the remaining spans would only move the position
      return;
    }
    const auto span = static_cast<uint32_t>(std::min<uint64_t>(remaining, record.size - at));
    playback_.BeginPlayback();
    seen_position_ += span;
    remaining -= span;
    at = 0;
  }
}

}  // namespace audio
