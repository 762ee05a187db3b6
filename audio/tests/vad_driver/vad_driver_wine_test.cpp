// The stand-in driver under Wine, loaded in winedevice.exe by vad_install: found and opened like
// the shipped program finds it, the four property requests, and the ring the feeder fills, read
// through the caller's own mapping.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "numbered_signal.h"
#include "platform/readable_memory.h"
#include "platform/win32/win32_address_space.h"
#include "vad_client.h"
#include "vad_feed.h"

namespace {

bool IsReadable(uint32_t address) {
  platform::win32::Win32AddressSpace space;
  return platform::ReadableExtent(space, address) > 0;
}

class VadDriverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = vad::FindInterfacePath();
    ASSERT_FALSE(path_.empty()) << "no *VQVADSimple device with an audio interface";
    ASSERT_EQ(client_.Open(path_), 0u);
  }

  void MapOrFail() {
    VadQueryReply reply;
    ASSERT_EQ(client_.Query(&reply), 0u);
    ASSERT_EQ(client_.Map(&addresses_), 0u);
  }

  std::wstring path_;
  vad::Client client_;
  VadSharedAddresses addresses_{};
};

TEST_F(VadDriverTest, QueryNamesTheCallingProcessAndTheLayout) {
  VadQueryReply reply;
  ASSERT_EQ(client_.Query(&reply), 0u);
  EXPECT_EQ(reply.size, sizeof reply);
  EXPECT_EQ(reply.requestor_process_id, GetCurrentProcessId());
  EXPECT_EQ(reply.status_block_size, sizeof(VadStatusBlock));
  EXPECT_EQ(reply.data_area_size, VAD_DATA_AREA_SIZE);
  EXPECT_EQ(reply.region_size, VAD_REGION_SIZE);

  VadQueryReply unsized{};
  unsized.size = 20;
  EXPECT_NE(client_.Property(VAD_PROPID_QUERY, VAD_PROPERTY_GET, &unsized, sizeof unsized), 0u);
}

TEST_F(VadDriverTest, MapGivesReadableLowAddressesInThisProcessUntilUnmap) {
  MapOrFail();
  ASSERT_NE(addresses_.status_block, 0u);
  EXPECT_EQ(addresses_.data_area, addresses_.status_block + VAD_STATUS_PAGE_SIZE);
  EXPECT_TRUE(IsReadable(addresses_.status_block));
  EXPECT_TRUE(IsReadable(addresses_.data_area + VAD_DATA_AREA_SIZE - 1));
  const VadStatusBlock block = vad::Snapshot(addresses_.status_block);
  EXPECT_EQ(block.ready, 1u);
  EXPECT_EQ(block.record[0].offset, 0u);
  EXPECT_EQ(block.record[1].offset, VAD_REGION_SIZE);
  EXPECT_EQ(block.record[1].size, VAD_REGION_SIZE);

  VadSharedAddresses again;
  ASSERT_EQ(client_.Map(&again), 0u);
  EXPECT_EQ(std::memcmp(&again, &addresses_, sizeof again), 0) << "one view per handle";

  EXPECT_EQ(client_.Confirm(addresses_), 0u);
  VadSharedAddresses wrong = addresses_;
  wrong.data_area += 4;
  EXPECT_NE(client_.Confirm(wrong), 0u);
  EXPECT_NE(client_.Unmap(wrong), 0u);
  EXPECT_TRUE(IsReadable(addresses_.status_block)) << "a refused unmap leaves the view";

  ASSERT_EQ(client_.Unmap(addresses_), 0u);
  EXPECT_FALSE(IsReadable(addresses_.status_block));
  EXPECT_NE(client_.Unmap(addresses_), 0u) << "nothing left to unmap";
  EXPECT_NE(client_.Confirm(addresses_), 0u);
}

TEST_F(VadDriverTest, EachHandleHasAViewOfItsOwnOnTheSameMemory) {
  MapOrFail();
  vad::Client second;
  ASSERT_EQ(second.Open(path_), 0u);
  VadSharedAddresses other;
  ASSERT_EQ(second.Map(&other), 0u);
  EXPECT_NE(other.status_block, addresses_.status_block);
  vad::Feed feed;
  ASSERT_EQ(feed.Open(), 0u);
  uint32_t id = 0;
  ASSERT_EQ(feed.Start(vad::PcmFormat(32000, 2, 16), &id), 0u);
  EXPECT_EQ(vad::Snapshot(other.status_block).stream_id, id);
  EXPECT_EQ(vad::Snapshot(addresses_.status_block).stream_id, id);

  ASSERT_EQ(client_.Unmap(addresses_), 0u);
  EXPECT_FALSE(IsReadable(addresses_.status_block));
  EXPECT_TRUE(IsReadable(other.status_block));
  EXPECT_NE(second.Unmap(addresses_), 0u) << "another handle's addresses";
  EXPECT_EQ(second.Unmap(other), 0u);
}

TEST_F(VadDriverTest, MalformedRequestsFailAndTheDriverKeepsAnswering) {
  VadSharedAddresses value{};
  VadQueryReply reply{};
  reply.size = sizeof reply;
  // Unknown id, wrong direction, another property set.
  EXPECT_NE(client_.Property(0x104F, VAD_PROPERTY_GET, &value, sizeof value), 0u);
  EXPECT_NE(client_.Property(VAD_PROPID_MAP, VAD_PROPERTY_SET, &value, sizeof value), 0u);
  EXPECT_NE(client_.Property(VAD_PROPID_UNMAP, VAD_PROPERTY_GET, &value, sizeof value), 0u);
  VadProperty foreign{
      {0x1464EDA5, 0x6A8F, 0x11D1, {0x9A, 0xA7, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}},
      VAD_PROPID_MAP,
      VAD_PROPERTY_GET};
  EXPECT_NE(client_.RawRequest(&foreign, sizeof foreign, &value, sizeof value), 0u);
  // Wrong sizes of the request and of the value.
  VadProperty map{{VAD_PROPSET_DATA1, VAD_PROPSET_DATA2, VAD_PROPSET_DATA3, VAD_PROPSET_DATA4},
                  VAD_PROPID_MAP,
                  VAD_PROPERTY_GET};
  EXPECT_NE(client_.RawRequest(&map, sizeof map - 1, &value, sizeof value), 0u);
  EXPECT_NE(client_.RawRequest(&map, 0, &value, sizeof value), 0u);
  EXPECT_NE(client_.Property(VAD_PROPID_MAP, VAD_PROPERTY_GET, &value, 4), 0u);
  EXPECT_NE(client_.Property(VAD_PROPID_MAP, VAD_PROPERTY_GET, &reply, sizeof reply), 0u);
  EXPECT_NE(client_.Property(VAD_PROPID_QUERY, VAD_PROPERTY_GET, &reply, 8), 0u);
  EXPECT_NE(client_.Property(VAD_PROPID_CONFIRM, VAD_PROPERTY_SET, &value, 0), 0u);
  EXPECT_NE(client_.Property(VAD_PROPID_MAP, VAD_PROPERTY_GET, nullptr, 0), 0u);
  // Another control code on the device.
  DWORD returned = 0;
  EXPECT_FALSE(DeviceIoControl(client_.handle(), 0x002F0007, &map, sizeof map, &value, sizeof value,
                               &returned, nullptr));

  EXPECT_EQ(client_.Query(&reply), 0u);
}

// What a well-behaved program's life looks like from the driver's side, in order: the journal
// names this process for every request, and the unmap comes before the close.
TEST_F(VadDriverTest, JournalRecordsEachRequestOfTheCallerInOrder) {
  vad::Feed feed;
  ASSERT_EQ(feed.Open(), 0u);
  std::vector<VadJournalEntry> before;
  ASSERT_EQ(feed.Journal(&before), 0u);
  const uint32_t mark = before.empty() ? 0 : before.back().sequence;
  {
    vad::Client program;
    ASSERT_EQ(program.Open(path_), 0u);
    VadQueryReply reply;
    VadSharedAddresses addresses;
    ASSERT_EQ(program.Query(&reply), 0u);
    ASSERT_EQ(program.Map(&addresses), 0u);
    ASSERT_EQ(program.Confirm(addresses), 0u);
    EXPECT_NE(program.Property(0x104F, VAD_PROPERTY_GET, &addresses, sizeof addresses), 0u);
    ASSERT_EQ(program.Unmap(addresses), 0u);
  }
  // The close is answered after CloseHandle returns; give the driver a moment.
  std::vector<VadJournalEntry> after;
  for (int i = 0; i < 100; ++i) {
    ASSERT_EQ(feed.Journal(&after), 0u);
    if (!after.empty() && after.back().event == VAD_EVENT_CLOSE) break;
    Sleep(10);
  }
  std::vector<uint32_t> events;
  for (const VadJournalEntry& entry : after) {
    if (entry.sequence <= mark) continue;
    EXPECT_EQ(entry.process_id, GetCurrentProcessId()) << "event " << entry.event;
    EXPECT_EQ(entry.status == 0, entry.event != VAD_EVENT_REFUSED) << "event " << entry.event;
    events.push_back(entry.event);
  }
  EXPECT_EQ(events, (std::vector<uint32_t>{VAD_EVENT_OPEN, VAD_EVENT_QUERY, VAD_EVENT_MAP,
                                           VAD_EVENT_CONFIRM, VAD_EVENT_REFUSED, VAD_EVENT_UNMAP,
                                           VAD_EVENT_CLOSE}));
}

// Run in a child process (see below): maps and ends without unmapping or closing, as a program
// that crashes would.
TEST_F(VadDriverTest, ChildMapsAndExitsWithoutUnmapping) {
  if (GetEnvironmentVariableW(L"VAD_CHILD", nullptr, 0) == 0) GTEST_SKIP() << "child only";
  MapOrFail();
  std::printf("child view %08x\n", addresses_.status_block);
  std::fflush(stdout);
  ExitProcess(0);
}

// A program that ends with its view mapped and its handle open leaves the driver answering, and
// the driver saw its handle close.
TEST_F(VadDriverTest, AProcessThatDiesMappedLeavesTheDriverWorking) {
  vad::Feed feed;
  ASSERT_EQ(feed.Open(), 0u);
  std::vector<VadJournalEntry> before;
  ASSERT_EQ(feed.Journal(&before), 0u);
  const uint32_t mark = before.empty() ? 0 : before.back().sequence;

  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring command = std::wstring(L"\"") + self +
                         L"\" --gtest_filter=VadDriverTest.ChildMapsAndExitsWithoutUnmapping";
  SetEnvironmentVariableW(L"VAD_CHILD", L"1");
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION child{};
  const BOOL started = CreateProcessW(self, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                      nullptr, &startup, &child);
  SetEnvironmentVariableW(L"VAD_CHILD", nullptr);
  ASSERT_TRUE(started);
  ASSERT_EQ(WaitForSingleObject(child.hProcess, 30000), WAIT_OBJECT_0);
  DWORD exit_code = 1;
  GetExitCodeProcess(child.hProcess, &exit_code);
  CloseHandle(child.hThread);
  CloseHandle(child.hProcess);
  EXPECT_EQ(exit_code, 0u);

  std::vector<uint32_t> events;
  for (int i = 0; i < 100 && (events.empty() || events.back() != VAD_EVENT_CLOSE); ++i) {
    Sleep(10);
    std::vector<VadJournalEntry> after;
    ASSERT_EQ(feed.Journal(&after), 0u);
    events.clear();
    for (const VadJournalEntry& entry : after) {
      if (entry.sequence > mark && entry.process_id == child.dwProcessId) {
        events.push_back(entry.event);
      }
    }
  }
  EXPECT_EQ(events, (std::vector<uint32_t>{VAD_EVENT_OPEN, VAD_EVENT_QUERY, VAD_EVENT_MAP,
                                           VAD_EVENT_CLOSE}));
  MapOrFail();
  EXPECT_TRUE(IsReadable(addresses_.status_block));
  EXPECT_EQ(client_.Unmap(addresses_), 0u);
}

class VadStreamTest : public VadDriverTest {
 protected:
  void SetUp() override {
    VadDriverTest::SetUp();
    MapOrFail();
    ASSERT_EQ(feed_.Open(), 0u);
  }
  void TearDown() override {
    if (addresses_.data_area) client_.Unmap(addresses_);
  }

  VadStatusBlock Block() const { return vad::Snapshot(addresses_.status_block); }

  // Bytes of a region as the ring addressing places them: position p at p mod size.
  std::vector<uint8_t> ReadRing(const VadRingRecord& record, uint64_t from, uint32_t length) {
    const auto* region =
        reinterpret_cast<const uint8_t*>(static_cast<uintptr_t>(addresses_.data_area)) +
        record.offset;
    std::vector<uint8_t> bytes(length);
    for (uint32_t i = 0; i < length; ++i) bytes[i] = region[(from + i) % record.size];
    return bytes;
  }

  static std::vector<uint8_t> Numbered(uint32_t first, uint32_t length) {
    std::vector<uint8_t> bytes(length);
    for (uint32_t i = 0; i < length; ++i) bytes[i] = static_cast<uint8_t>((first + i) * 7 + 3);
    return bytes;
  }

  vad::Feed feed_;
};

TEST_F(VadStreamTest, StartWriteAndWrapAreSeenThroughTheCallersMapping) {
  const VadStatusBlock before = Block();
  const VadWaveFormat format = vad::PcmFormat(44100, 2, 16);
  uint32_t id = 0;
  const DWORD tick = GetTickCount();
  ASSERT_EQ(feed_.Start(format, &id), 0u);
  VadStatusBlock block = Block();
  EXPECT_EQ(block.ready, 1u);
  EXPECT_EQ(block.stream_id, id);
  EXPECT_EQ(static_cast<int32_t>(id), static_cast<int32_t>(before.stream_id) + 1);
  EXPECT_EQ(block.stream_state, VAD_STATE_RUNNING);
  EXPECT_LE(block.start_stamp - tick, 1000u) << "stamped with this system's tick count";
  EXPECT_EQ(block.current_record, (before.current_record + 1) & 1);
  EXPECT_EQ(std::memcmp(&block.format, &format, sizeof format), 0);
  const VadRingRecord& previous = block.record[(block.current_record - 1) & 1];
  EXPECT_EQ(previous.write_position, before.record[before.current_record].write_position)
      << "the previous stream's region keeps its position";
  EXPECT_EQ(block.record[block.current_record].write_position, 0u);

  // Three writes that end past one region's size, so the last wraps.
  const uint32_t chunk = 48000;
  uint64_t written = 0;
  for (uint32_t n = 0; n < 3; ++n) {
    const std::vector<uint8_t> bytes = Numbered(static_cast<uint32_t>(written), chunk);
    ASSERT_EQ(feed_.Write(bytes.data(), chunk), 0u);
    written += chunk;
  }
  block = Block();
  const VadRingRecord& current = block.record[block.current_record];
  ASSERT_EQ(current.write_position, written);
  ASSERT_GT(written, current.size);
  const uint64_t from = written - current.size + 64;  // the oldest bytes still in the ring
  EXPECT_EQ(ReadRing(current, from, static_cast<uint32_t>(written - from)),
            Numbered(static_cast<uint32_t>(from), static_cast<uint32_t>(written - from)));
}

TEST_F(VadStreamTest, FormatChangesInPlaceAndStateFollowsTheFeeder) {
  uint32_t id = 0;
  ASSERT_EQ(feed_.Start(vad::PcmFormat(44100, 2, 16), &id), 0u);
  const std::vector<uint8_t> frames = Numbered(0, 4000);
  ASSERT_EQ(feed_.Write(frames.data(), 4000), 0u);

  const VadWaveFormat faster = vad::PcmFormat(48000, 2, 16);
  ASSERT_EQ(feed_.SetFormat(faster), 0u);
  VadStatusBlock block = Block();
  EXPECT_EQ(block.stream_id, id);
  EXPECT_EQ(std::memcmp(&block.format, &faster, sizeof faster), 0);
  EXPECT_EQ(block.record[block.current_record].write_position, 4000u);

  ASSERT_EQ(feed_.SetState(VAD_STATE_PAUSED), 0u);
  EXPECT_EQ(Block().stream_state, VAD_STATE_PAUSED);
  EXPECT_NE(feed_.Write(frames.data(), 4000), 0u) << "no audio while paused";
  ASSERT_EQ(feed_.SetState(VAD_STATE_RUNNING), 0u);
  EXPECT_EQ(feed_.Write(frames.data(), 4000), 0u);
  ASSERT_EQ(feed_.SetState(VAD_STATE_STOPPED), 0u);
  block = Block();
  EXPECT_EQ(block.stream_state, VAD_STATE_STOPPED);
  EXPECT_EQ(block.stream_id, id) << "a stopped stream keeps its id";
  EXPECT_EQ(block.record[block.current_record].write_position, 8000u);
}

TEST_F(VadStreamTest, BadFeedRequestsAreRefused) {
  uint32_t id = 0;
  VadWaveFormat odd = vad::PcmFormat(44100, 2, 16);
  odd.block_align = 3;
  EXPECT_NE(feed_.Start(odd, &id), 0u);
  EXPECT_NE(feed_.Start(vad::PcmFormat(44100, 0, 16), &id), 0u);
  ASSERT_EQ(feed_.Start(vad::PcmFormat(44100, 2, 16), &id), 0u);
  const uint8_t partial[6] = {};
  EXPECT_NE(feed_.Write(partial, sizeof partial), 0u) << "not a whole number of 4-byte frames";
  EXPECT_NE(feed_.SetFormat(odd), 0u);
  EXPECT_NE(feed_.SetState(3), 0u);
  EXPECT_EQ(Block().stream_id, id);
  EXPECT_EQ(Block().record[Block().current_record].write_position, 0u);
}

// The feeder program beside this test, run with the given steps; its process handle.
HANDLE StartFeeder(const std::wstring& steps) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring program = self;
  program = program.substr(0, program.find_last_of(L"\\/") + 1) + L"vad_feeder.exe";
  std::wstring command = L"\"" + program + L"\" " + steps;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return nullptr;
  }
  CloseHandle(process.hThread);
  return process.hProcess;
}

// Follows the feeder's stream through this process's mapping as a reader would, every 10 ms,
// and checks that the numbered frames arrive in order, none lost or repeated.
TEST_F(VadStreamTest, FeederStreamsNumberedFramesAtRealTimePace) {
  const uint32_t last_id = Block().stream_id;
  const DWORD begin = GetTickCount();
  HANDLE feeder = StartFeeder(
      L"start:48000:2:16 play:600 rate:44100 play:300 pause wait:100 resume play:200 stop");
  ASSERT_NE(feeder, nullptr);

  const VadWaveFormat stereo = vad::PcmFormat(48000, 2, 16);
  std::vector<uint32_t> numbers;
  uint64_t seen = 0;
  bool saw_rate_change = false, saw_pause = false, ended = false;
  while (!ended && GetTickCount() - begin < 20000) {
    const VadStatusBlock block = Block();
    if (block.ready && static_cast<int32_t>(block.stream_id) > static_cast<int32_t>(last_id)) {
      const VadRingRecord& record = block.record[block.current_record];
      ASSERT_LE(record.write_position - seen, record.size) << "the reader fell a region behind";
      const std::vector<uint8_t> bytes =
          ReadRing(record, seen, static_cast<uint32_t>(record.write_position - seen));
      for (size_t at = 0; at + 4 <= bytes.size(); at += 4) {
        const auto number = vad::FrameNumber(stereo, bytes.data() + at);
        ASSERT_TRUE(number.has_value()) << "not a numbered frame at " << seen + at;
        numbers.push_back(*number);
      }
      seen = record.write_position;
      saw_rate_change |= block.format.samples_per_sec == 44100;
      saw_pause |= block.stream_state == VAD_STATE_PAUSED;
      ended = block.stream_state == VAD_STATE_STOPPED;
    }
    Sleep(10);
  }
  const DWORD elapsed = GetTickCount() - begin;
  DWORD exit_code = 1;
  WaitForSingleObject(feeder, 10000);
  GetExitCodeProcess(feeder, &exit_code);
  CloseHandle(feeder);
  EXPECT_EQ(exit_code, 0u);
  ASSERT_TRUE(ended);

  const vad::SequenceCheck check = vad::CheckSequence(numbers, 65536);
  EXPECT_EQ(check.numbered, 28800u + 13230u + 8820u);
  EXPECT_EQ(check.lost, 0u);
  EXPECT_EQ(check.repeated, 0u);
  ASSERT_FALSE(numbers.empty());
  EXPECT_EQ(numbers.front(), 0u);
  EXPECT_TRUE(saw_rate_change);
  EXPECT_TRUE(saw_pause);
  EXPECT_GE(elapsed, 1100u) << "1.2 s of steps at real-time pace";
}

}  // namespace
