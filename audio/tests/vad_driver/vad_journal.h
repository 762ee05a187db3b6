/* The last VAD_JOURNAL_SIZE requests the driver answered, for tests that check order (for
 * example that a program unmaps before it closes its handle). */
#ifndef VAD_JOURNAL_H
#define VAD_JOURNAL_H

#include "vad_layout.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct VadJournal {
  VadJournalEntry entries[VAD_JOURNAL_SIZE];
  uint32_t count; /* entries ever added */
} VadJournal;

void vad_journal_add(VadJournal* journal, uint32_t event, uint32_t process_id, uint32_t status);
/* Copies the kept entries, oldest first, up to `capacity`; returns how many. */
uint32_t vad_journal_copy(const VadJournal* journal, VadJournalEntry* out, uint32_t capacity);

#ifdef __cplusplus
}
#endif

#endif
