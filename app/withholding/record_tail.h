#ifndef SALARY_APP_WITHHOLDING_RECORD_TAIL_H_
#define SALARY_APP_WITHHOLDING_RECORD_TAIL_H_

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/value.h"
#include "platform/fs/file_system.h"
#include "runtime/recdb/format.h"
#include "runtime/recdb/writer_lock.h"

// The last records of a record database of the withholding room replaced in place: a month
// appended to the year's ledger, or its last month written again, changes a few megabytes at
// the end of the file instead of writing the whole file anew.
namespace sr::app {

enum class TailWrite {
  kWritten,     // the file now ends in the new records
  kNotInPlace,  // nothing was changed: no such file, or not one this can change in place
  kFailed,      // nothing was changed (or a journal puts it back), *message says why
};

// Replaces the records from index `first` (0-based) on of the file at `path` (links followed)
// by `records`, whose serial numbers this fills in, crash-safely (see RollbackJournal). The
// file must be what WriteStoredRecords writes for `fields` and still what the caller read:
// created at `created` (so not written anew since), `count` records, of which those from `first`
// on are `old_tail`.
// The file is then byte for byte what WriteStoredRecords writes for its first `first` records
// followed by `records` (the creation time kept). A file that is missing, laid out otherwise or
// no longer as read gives kNotInPlace; one that cannot be opened for writing, kFailed.
// REQUIRES: a journal left by a kill has been rolled back (RecoverRecordFile).
TailWrite ReplaceTailRecords(fs::FileSystem& files, const Text& path,
                             const std::vector<recdb::FieldDescriptor>& fields, double created,
                             int32_t count, int32_t first, std::string_view old_tail,
                             std::string records, Text* message);

// Rolls back a change of the file at `path` that a kill cut short (links followed). False
// with a message naming the file when a journal lies beside it that cannot be rolled back.
bool RecoverRecordFile(fs::FileSystem& files, const Text& path, Text* message);

// Takes the writer lock of the file at `path` (links followed; see recdb::WriterLock), waiting
// a while for another writer, then rolls back a change that a kill cut short. Every writer of
// the file holds it from its check that the file is as it read it until its change is in
// place. Null with a message naming the file when another program keeps holding it, or as
// RecoverRecordFile.
std::unique_ptr<recdb::WriterLock> LockForWriting(fs::FileSystem& files, const Text& path,
                                                  Text* message);

}  // namespace sr::app

#endif  // SALARY_APP_WITHHOLDING_RECORD_TAIL_H_
