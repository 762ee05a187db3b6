// The request journal keeps the newest entries in order once it has wrapped.
#include "vad_journal.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(VadJournalTest, KeepsTheNewestEntriesOldestFirst) {
  VadJournal journal{};
  std::vector<VadJournalEntry> out(VAD_JOURNAL_SIZE + 4);
  EXPECT_EQ(vad_journal_copy(&journal, out.data(), static_cast<uint32_t>(out.size())), 0u);

  vad_journal_add(&journal, VAD_EVENT_OPEN, 7, 0);
  vad_journal_add(&journal, VAD_EVENT_MAP, 7, 0xC0000001u);
  ASSERT_EQ(vad_journal_copy(&journal, out.data(), static_cast<uint32_t>(out.size())), 2u);
  EXPECT_EQ(out[0].sequence, 1u);
  EXPECT_EQ(out[0].event, static_cast<uint32_t>(VAD_EVENT_OPEN));
  EXPECT_EQ(out[1].status, 0xC0000001u);
  EXPECT_EQ(out[1].process_id, 7u);

  for (uint32_t i = 0; i < VAD_JOURNAL_SIZE + 10; ++i) {
    vad_journal_add(&journal, VAD_EVENT_QUERY, i, 0);
  }
  const uint32_t total = VAD_JOURNAL_SIZE + 12;
  ASSERT_EQ(vad_journal_copy(&journal, out.data(), static_cast<uint32_t>(out.size())),
            VAD_JOURNAL_SIZE);
  EXPECT_EQ(out[0].sequence, total - VAD_JOURNAL_SIZE + 1);
  EXPECT_EQ(out[VAD_JOURNAL_SIZE - 1].sequence, total);

  ASSERT_EQ(vad_journal_copy(&journal, out.data(), 3), 3u) << "a short buffer gets the newest";
  EXPECT_EQ(out[2].sequence, total);
  EXPECT_EQ(out[0].sequence, total - 2);
}

}  // namespace
