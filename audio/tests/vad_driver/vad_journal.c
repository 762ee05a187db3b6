#include "vad_journal.h"

void vad_journal_add(VadJournal* journal, uint32_t event, uint32_t process_id, uint32_t status) {
  VadJournalEntry* entry = &journal->entries[journal->count % VAD_JOURNAL_SIZE];
  ++journal->count;
  entry->sequence = journal->count;
  entry->event = event;
  entry->process_id = process_id;
  entry->status = status;
}

uint32_t vad_journal_copy(const VadJournal* journal, VadJournalEntry* out, uint32_t capacity) {
  const uint32_t kept = journal->count < VAD_JOURNAL_SIZE ? journal->count : VAD_JOURNAL_SIZE;
  const uint32_t copied = kept < capacity ? kept : capacity;
  /* The newest `copied` entries, so a short buffer still shows what happened last. */
  const uint32_t first = journal->count - copied;
  for (uint32_t i = 0; i < copied; ++i) out[i] = journal->entries[(first + i) % VAD_JOURNAL_SIZE];
  return copied;
}
