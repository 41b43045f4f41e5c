#include "settings/record_snapshot.h"

namespace {

// The records are reached as words here; may_alias keeps the compiler from assuming these stores
// cannot touch the record's own fields, and volatile keeps each one a single 32-bit store rather
// than letting it become a block copy that could split a field.
typedef uint32_t __attribute__((may_alias)) RecordWord;

}  // namespace

void RestoreRecordWords(void* record, const void* saved, size_t wordCount) {
  volatile RecordWord* target = static_cast<volatile RecordWord*>(record);
  const RecordWord* source = static_cast<const RecordWord*>(saved);
  for (size_t i = 0; i < wordCount; ++i) target[i] = source[i];
}
