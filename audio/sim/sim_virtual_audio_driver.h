// A model of the virtual audio driver: it answers the four property requests, maps a status
// block and a data area with two ring regions, and writes the audio of its streams into the
// ring at the stream's byte rate as the clock advances. It can be told to misbehave.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "audio/core/driver_records.h"
#include "audio/core/shared_memory_port.h"
#include "platform/devices.h"
#include "platform/sync.h"

namespace audio::sim {

// The audio a stream plays: every frame carries its number, so a loss, a repeat or a
// reordering shows in what the sound card played. 16-bit samples: the first channel holds the
// frame number's low 16 bits, the second the stream id's low byte and bits 16 to 23 of the
// number. Other sample sizes hold the low bits of the number.
void WriteNumberedFrame(const WaveFormatEx& format, uint32_t stream_id, uint32_t frame,
                        uint8_t* destination);

// The inverse for a 16-bit stereo frame (4 bytes): the stream id's low byte and the frame
// number's low 24 bits. Silence reads as stream 0, number 0.
struct NumberedFrame {
  uint32_t stream;
  uint32_t number;
};
NumberedFrame ReadNumberedFrame(const uint8_t* frame);

struct DriverFaults {
  bool ready_stuck = false;                // the ready field stays 0
  bool record_outside_data = false;        // the current record's region reaches past the data area
  bool ring_size_zero = false;             // the current record's size reads 0
  uint32_t id_change_after_snapshots = 0;  // 0: never; else the id changes after that many reads
  bool fail_query = false;
  bool fail_map = false;
  bool mapping_unconfirmed = false;  // the system does not show the mapping as readable memory
};

struct DriverRequests {
  uint32_t query = 0;
  uint32_t map = 0;
  uint32_t confirm = 0;
  uint32_t unmap = 0;
  SharedAddresses last_unmap{};
};

// It is the program's shared-memory resolver too: the addresses it hands out name only its
// own memory.
class SimVirtualAudioDriver : public SharedMemoryResolver {
 public:
  // The addresses the driver hands out; they name nothing in this process.
  static constexpr uint32_t kStatusBlockAddress = 0x00110000;
  static constexpr uint32_t kDataAreaAddress = 0x00120000;

  SimVirtualAudioDriver(platform::Clock& clock, uint32_t region_bytes);

  // A new stream: a new id and start stamp, the other ring record, write position 0.
  void StartStream(const WaveFormatEx& format, uint32_t state = kStreamRunning);
  void SetState(uint32_t state);  // 0 stopped, 1 intermediate (no audio written), 2 running
  void ChangeFormat(const WaveFormatEx& format);
  // Writes the audio due up to the clock's present time.
  void CatchUp();

  DriverFaults& faults() { return faults_; }
  const DriverRequests& requests() const { return requests_; }
  uint32_t stream_id() const { return stream_id_; }
  // How long the ready field stays 0 after each change of stream, state or format.
  void set_ready_low_ms(uint32_t ms) { ready_low_ms_ = ms; }
  // When each frame of the stream was written: frame counts at each update.
  struct WriteMark {
    uint32_t tick;
    uint32_t stream_id;
    uint64_t frames;
  };
  const std::vector<WriteMark>& write_marks() const { return write_marks_; }

  // The driver's answer to a property request on its device file.
  bool HandleProperty(const KsProperty& property, void* value, uint32_t value_bytes);
  // The device file of the driver.
  std::unique_ptr<platform::DeviceFile> OpenFile();
  // Resolves the addresses the driver handed out while mapped.
  std::unique_ptr<SharedMemory> Resolve(const SharedAddresses& addresses) override;

  // Shared-memory reads, as the resolved mapping performs them.
  void Snapshot(StatusBlock* block);
  uint64_t DataAreaBytes() const { return data_.size(); }
  void CopyData(uint64_t offset, void* destination, size_t length);

 private:
  void CatchUpLocked();
  void PublishLocked();

  platform::Clock& clock_;
  mutable std::mutex mutex_;
  std::vector<uint8_t> data_;
  StatusBlock block_{};
  DriverFaults faults_;
  DriverRequests requests_;
  bool mapped_ = false;
  uint32_t ready_low_ms_ = 0;
  uint32_t published_at_ = 0;
  uint32_t snapshots_ = 0;

  uint32_t stream_id_ = 0;
  WaveFormatEx format_{};
  uint32_t state_ = kStreamStopped;
  uint32_t current_record_ = 1;
  uint64_t frames_written_ = 0;
  uint32_t running_since_ = 0;  // tick from which frames_at_running_since_ grows
  uint64_t frames_at_running_since_ = 0;
  std::vector<WriteMark> write_marks_;
};

}  // namespace audio::sim
