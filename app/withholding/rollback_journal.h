#ifndef SALARY_APP_WITHHOLDING_ROLLBACK_JOURNAL_H_
#define SALARY_APP_WITHHOLDING_ROLLBACK_JOURNAL_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/value.h"
#include "platform/fs/file_system.h"

namespace sr::app {

// Changes a file in place without ever leaving it half changed. Before the first change, the
// file's length and the bytes about to be overwritten go into a journal beside it, which is
// made durable and only then takes its name; the journal is removed once the changed file is
// durable. A journal found beside the file (a change cut short by a kill) puts the old bytes
// and length back: the file is then exactly as it was before that change.
//
// Use: Recover; open the file; Begin with the ranges to be overwritten; change the file;
// Commit. After a failed change, RollBack. Every call returns 0, a file code (sr::fs::Code) or
// kDamagedJournal.
class RollbackJournal {
 public:
  // Bytes of the file as they are before the change, at `offset`.
  struct Range {
    int64_t offset = 0;
    std::string_view bytes;
  };

  // `target`: the file changed, links already followed.
  // REQUIRES: `files` outlives this object.
  RollbackJournal(fs::FileSystem& files, const Text& target);

  // Rolls back a change that a journal beside the file records, and removes a journal that
  // never took its name. Nothing to do gives 0; a journal that is not whole, kDamagedJournal (the
  // file and the journal are then left as they are).
  int Recover();
  // Saves the file's `length` and its bytes in `ranges`, durably.
  // REQUIRES: the file is `length` bytes long and holds the bytes of `ranges`.
  int Begin(int64_t length, const std::vector<Range>& ranges);
  // Makes the changed file durable, then removes the journal: the change is done.
  int Commit(fs::File& file);
  // Puts the old bytes back into `file` and removes the journal. When that fails, the journal
  // stays for the next Recover.
  int RollBack(fs::File& file);

 private:
  int Restore(fs::File& file, const std::string& journal);

  fs::FileSystem& files_;
  Text target_;
  Text journal_;
  Text writing_;
  std::string saved_;  // the journal's bytes since Begin
};

// What Recover gives for a journal that is not whole: no file code, a file code would name
// another cause.
inline constexpr int kDamagedJournal = 1;

// The journal beside `target`.
Text JournalPath(const Text& target);

}  // namespace sr::app

#endif  // SALARY_APP_WITHHOLDING_ROLLBACK_JOURNAL_H_
