// The driver's shared-memory bookkeeping, on plain memory: what a reader of the status block and
// the ring sees after each feeder request.
#include "vad_stream.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

VadWaveFormat Pcm(uint32_t rate, uint16_t channels, uint16_t bits) {
  const uint16_t align = static_cast<uint16_t>(channels * bits / 8);
  return VadWaveFormat{1, channels, rate, rate * align, align, bits, 0};
}

std::vector<uint8_t> Pattern(uint64_t first, uint32_t length) {
  std::vector<uint8_t> bytes(length);
  for (uint32_t i = 0; i < length; ++i) bytes[i] = static_cast<uint8_t>((first + i) * 13 + 5);
  return bytes;
}

class VadStreamLogicTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::memset(&block_, 0xCD, sizeof block_);
    vad_stream_init(&stream_, &block_, data_.data());
  }

  const VadRingRecord& Current() const { return block_.record[block_.current_record]; }

  std::vector<uint8_t> Ring(const VadRingRecord& record, uint64_t from, uint32_t length) const {
    std::vector<uint8_t> bytes(length);
    for (uint32_t i = 0; i < length; ++i) {
      bytes[i] = data_[record.offset + (from + i) % record.size];
    }
    return bytes;
  }

  uint32_t Start(const VadWaveFormat& format, uint32_t stamp = 1000) {
    uint32_t id = 0;
    EXPECT_EQ(vad_stream_start(&stream_, &format, stamp, &id), VAD_OK);
    return id;
  }

  VadStatusBlock block_;
  std::vector<uint8_t> data_ = std::vector<uint8_t>(VAD_DATA_AREA_SIZE);
  VadStream stream_;
};

TEST_F(VadStreamLogicTest, InitClearsTheBlockAndLaysOutTwoRegions) {
  EXPECT_EQ(block_.ready, 1u);
  EXPECT_EQ(block_.stream_id, 0u);
  EXPECT_EQ(block_.stream_state, VAD_STATE_STOPPED);
  EXPECT_EQ(block_.current_record, 0u);
  EXPECT_EQ(block_.record[0].offset, 0u);
  EXPECT_EQ(block_.record[1].offset, VAD_REGION_SIZE);
  EXPECT_EQ(block_.record[0].size + block_.record[1].size, VAD_DATA_AREA_SIZE);
  EXPECT_EQ(block_.reserved1[5], 0u);

  const VadWaveFormat format = Pcm(44100, 2, 16);
  const uint8_t frame[4] = {};
  EXPECT_EQ(vad_stream_write(&stream_, frame, 4), VAD_NO_STREAM);
  EXPECT_EQ(vad_stream_set_format(&stream_, &format), VAD_NO_STREAM);
  EXPECT_EQ(vad_stream_set_state(&stream_, VAD_STATE_RUNNING), VAD_NO_STREAM);
}

TEST_F(VadStreamLogicTest, NewStreamTakesTheOtherRegionAndLeavesThePreviousOneReadable) {
  const uint32_t first = Start(Pcm(44100, 2, 16), 5000);
  EXPECT_EQ(first, 1u);
  EXPECT_EQ(block_.current_record, 1u);
  EXPECT_EQ(block_.start_stamp, 5000u);
  EXPECT_EQ(block_.stream_state, VAD_STATE_RUNNING);
  const std::vector<uint8_t> audio = Pattern(0, 4000);
  ASSERT_EQ(vad_stream_write(&stream_, audio.data(), 4000), VAD_OK);

  const VadWaveFormat mono = Pcm(22050, 1, 8);
  EXPECT_EQ(Start(mono, 6000), 2u);
  EXPECT_EQ(block_.current_record, 0u);
  EXPECT_EQ(Current().write_position, 0u);
  EXPECT_EQ(block_.record[1].write_position, 4000u);
  EXPECT_EQ(Ring(block_.record[1], 0, 4000), audio);
  EXPECT_EQ(std::memcmp(&block_.format, &mono, sizeof mono), 0);
  EXPECT_EQ(block_.ready, 1u);
}

TEST_F(VadStreamLogicTest, StreamIdsStayPositiveWhenTheyRunOut) {
  Start(Pcm(44100, 2, 16));
  block_.stream_id = 0x7FFFFFFF;
  EXPECT_EQ(Start(Pcm(44100, 2, 16)), 1u);
}

TEST_F(VadStreamLogicTest, WritesWrapAtTheRegionEnd) {
  Start(Pcm(48000, 2, 16));
  uint64_t written = 0;
  for (int i = 0; i < 5; ++i) {
    const std::vector<uint8_t> chunk = Pattern(written, 30000);
    ASSERT_EQ(vad_stream_write(&stream_, chunk.data(), 30000), VAD_OK);
    written += 30000;
  }
  ASSERT_EQ(Current().write_position, written);
  const uint64_t oldest = written - VAD_REGION_SIZE;
  EXPECT_EQ(Ring(Current(), oldest, VAD_REGION_SIZE), Pattern(oldest, VAD_REGION_SIZE));
  EXPECT_EQ(block_.record[0].write_position, 0u) << "the other region is untouched";
}

TEST_F(VadStreamLogicTest, AWriteLongerThanTheRegionKeepsItsLastBytesInPlace) {
  Start(Pcm(48000, 2, 16));
  const std::vector<uint8_t> head = Pattern(0, 400);
  ASSERT_EQ(vad_stream_write(&stream_, head.data(), 400), VAD_OK);
  const uint32_t length = VAD_REGION_SIZE + 12000;
  const std::vector<uint8_t> big = Pattern(400, length);
  ASSERT_EQ(vad_stream_write(&stream_, big.data(), length), VAD_OK);
  const uint64_t end = 400 + static_cast<uint64_t>(length);
  EXPECT_EQ(Current().write_position, end);
  EXPECT_EQ(Ring(Current(), end - VAD_REGION_SIZE, VAD_REGION_SIZE),
            Pattern(end - VAD_REGION_SIZE, VAD_REGION_SIZE));
}

TEST_F(VadStreamLogicTest, AudioIsTakenOnlyInWholeFramesWhileRunning) {
  Start(Pcm(44100, 2, 24));  // 6-byte frames
  const std::vector<uint8_t> audio = Pattern(0, 60);
  EXPECT_EQ(vad_stream_write(&stream_, audio.data(), 8), VAD_PARTIAL_FRAME);
  EXPECT_EQ(Current().write_position, 0u);
  EXPECT_EQ(vad_stream_write(&stream_, audio.data(), 12), VAD_OK);

  ASSERT_EQ(vad_stream_set_state(&stream_, VAD_STATE_PAUSED), VAD_OK);
  EXPECT_EQ(block_.stream_state, VAD_STATE_PAUSED);
  EXPECT_EQ(vad_stream_write(&stream_, audio.data(), 12), VAD_NOT_RUNNING);
  ASSERT_EQ(vad_stream_set_state(&stream_, VAD_STATE_STOPPED), VAD_OK);
  EXPECT_EQ(vad_stream_write(&stream_, audio.data(), 12), VAD_NOT_RUNNING);
  ASSERT_EQ(vad_stream_set_state(&stream_, VAD_STATE_RUNNING), VAD_OK);
  EXPECT_EQ(vad_stream_write(&stream_, audio.data(), 12), VAD_OK);
  EXPECT_EQ(Current().write_position, 24u);
  EXPECT_EQ(vad_stream_set_state(&stream_, 3), VAD_BAD_STATE);
  EXPECT_EQ(block_.stream_state, VAD_STATE_RUNNING);
}

TEST_F(VadStreamLogicTest, FormatChangeInPlaceKeepsStreamAndPosition) {
  const uint32_t id = Start(Pcm(44100, 2, 16));
  const std::vector<uint8_t> audio = Pattern(0, 400);
  ASSERT_EQ(vad_stream_write(&stream_, audio.data(), 400), VAD_OK);
  const VadWaveFormat faster = Pcm(48000, 2, 16);
  ASSERT_EQ(vad_stream_set_format(&stream_, &faster), VAD_OK);
  EXPECT_EQ(block_.stream_id, id);
  EXPECT_EQ(block_.format.samples_per_sec, 48000u);
  EXPECT_EQ(Current().write_position, 400u);
  VadWaveFormat broken = faster;
  broken.avg_bytes_per_sec = 1;
  EXPECT_EQ(vad_stream_set_format(&stream_, &broken), VAD_BAD_FORMAT);
  EXPECT_EQ(block_.format.avg_bytes_per_sec, faster.avg_bytes_per_sec);
}

TEST(VadFormatTest, AcceptsPlainPcmAndFloatOnly) {
  VadWaveFormat f = Pcm(44100, 2, 16);
  EXPECT_TRUE(vad_format_is_valid(&f));
  f = Pcm(48000, 2, 32);
  f.format_tag = 3;
  EXPECT_TRUE(vad_format_is_valid(&f));
  f = Pcm(8000, 1, 8);
  EXPECT_TRUE(vad_format_is_valid(&f));

  const auto invalid = [](VadWaveFormat format) { return !vad_format_is_valid(&format); };
  VadWaveFormat g = Pcm(44100, 2, 16);
  g.format_tag = 2;
  EXPECT_TRUE(invalid(g));
  g = Pcm(44100, 2, 16);
  g.extra_size = 22;
  EXPECT_TRUE(invalid(g));
  EXPECT_TRUE(invalid(Pcm(44100, 0, 16)));
  EXPECT_TRUE(invalid(Pcm(44100, 9, 16)));
  EXPECT_TRUE(invalid(Pcm(44100, 2, 12)));
  EXPECT_TRUE(invalid(Pcm(0, 2, 16)));
  g = Pcm(44100, 2, 16);
  g.block_align = 0;
  EXPECT_TRUE(invalid(g));
  g = Pcm(44100, 2, 16);
  g.format_tag = 3;
  EXPECT_TRUE(invalid(g)) << "float samples are 32-bit";
}

}  // namespace
