#ifndef SALARY_RUNTIME_RECDB_WRITER_LOCK_H_
#define SALARY_RUNTIME_RECDB_WRITER_LOCK_H_

#include <memory>

#include "base/value.h"
#include "platform/fs/file_system.h"

namespace sr::recdb {

// The lock that writers of a database file take beyond the record locks of this library: a file
// written anew and put in the file's place, records replaced in place under a journal, or an
// import appending to it. Each writer holds it from its check that the file is still as it was
// read until its change is in place, so that no writer's change falls between another's check
// and its rename. It is the file NAME.lock beside the database, held exclusively; the file stays
// (removing it would let two writers hold two different files), and the system drops the lock
// when its holder ends, however it ends.
class WriterLock {
 public:
  // How long Take waits for another writer by default.
  static constexpr int kDefaultWaitMs = 3000;

  // `target`: the database file, links already followed.
  // REQUIRES: `files` outlives this object.
  WriterLock(fs::FileSystem& files, const Text& target) : files_(files), path_(target + ".lock") {}

  // Takes the lock, waiting up to `wait_ms` while another writer holds it. Returns 0, or
  // kSharingViolation while another writer still holds it, or the file code of the failure.
  int Take(int wait_ms = kDefaultWaitMs);
  // Gives the lock up (also done on destruction).
  void Release() { held_.reset(); }
  bool held() const { return held_ != nullptr; }

 private:
  fs::FileSystem& files_;
  Text path_;
  std::unique_ptr<fs::File> held_;
};

}  // namespace sr::recdb

#endif  // SALARY_RUNTIME_RECDB_WRITER_LOCK_H_
