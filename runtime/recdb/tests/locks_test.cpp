#include <unistd.h>

#include <thread>

#include "runtime/recdb/cipher_file.h"
#include "runtime/recdb/database.h"
#include "runtime/recdb/range_locks.h"
#include "runtime/recdb/tests/test_files.h"

namespace sr::test {
namespace {

class Locks : public DbTest {
 protected:
  void SetUp() override {
    DbTest::SetUp();
    DbImage image;
    image.fields = {{"A", 3, 0}};
    image.record_count = 2;
    image.next_serial = 3;
    image.records = {Le32(1) + Le32(11), Le32(2) + Le32(22)};
    Write("l.dat", image.Bytes());
    other_.set_count_lock_wait(0);
    other_.set_lock_wait(0);
  }
  std::unique_ptr<fs::File> RawHandle() {
    std::unique_ptr<fs::File> file;
    EXPECT_EQ(files_.Open(Path("l.dat"), fs::Access::kReadWrite, fs::Share::kDenyNone,
                          fs::Disposition::kOpenExisting, &file),
              0);
    return file;
  }

  DatabaseTable other_{files_};  // a second handle on the same file, as another process would have
};

TEST_F(Locks, HoldCountsReleaseTheByteOnTheLastUnlock) {
  recdb::CipherFile mine(RawHandle(), nullptr);
  std::unique_ptr<fs::File> theirs = RawHandle();
  recdb::RangeLocks locks(&mine, false);
  EXPECT_EQ(locks.Lock(300), 0);
  EXPECT_EQ(locks.Lock(300), 0);
  EXPECT_EQ(locks.Unlock(300), 0);
  EXPECT_EQ(theirs->Lock(300, 1), fs::kLockViolation);
  EXPECT_EQ(locks.Unlock(300), 0);
  EXPECT_EQ(theirs->Lock(300, 1), 0);
  EXPECT_EQ(theirs->Unlock(300, 1), 0);
  EXPECT_EQ(locks.Unlock(300), -29);
  EXPECT_EQ(locks.Lock(-1), -28);
  EXPECT_EQ(locks.Unlock(-1), -29);
}

TEST_F(Locks, WholeLockCoversEverythingAroundHeldBytes) {
  recdb::CipherFile mine(RawHandle(), nullptr);
  std::unique_ptr<fs::File> theirs = RawHandle();
  recdb::RangeLocks locks(&mine, false);
  ASSERT_EQ(locks.Lock(16), 0);
  ASSERT_EQ(locks.HoldWhole(), 0);
  ASSERT_EQ(locks.HoldWhole(), 0);
  for (int64_t byte : {0, 15, 16, 17, 100000, 2147483646}) {
    EXPECT_EQ(theirs->Lock(byte, 1), fs::kLockViolation) << byte;
  }
  // Single-byte locks are skipped under the whole lock.
  EXPECT_EQ(locks.Lock(500), 0);
  EXPECT_EQ(locks.Unlock(500), 0);
  EXPECT_EQ(locks.ReleaseWhole(), 0);
  EXPECT_EQ(theirs->Lock(100000, 1), fs::kLockViolation);  // still one hold
  EXPECT_EQ(locks.ReleaseWhole(), 0);
  EXPECT_EQ(theirs->Lock(100000, 1), 0);
  EXPECT_EQ(theirs->Lock(16, 1), fs::kLockViolation);  // the count byte is still ours
  EXPECT_EQ(locks.Unlock(16), 0);
  EXPECT_EQ(theirs->Lock(16, 1), 0);
  EXPECT_EQ(locks.ReleaseWhole(), -29);
}

TEST_F(Locks, WholeLockIsRefusedWhileAnotherHandleHoldsARecord) {
  std::unique_ptr<fs::File> theirs = RawHandle();
  ASSERT_EQ(Open("l.dat"), 0);
  int64_t record1 = 116 + 72 + 8;
  ASSERT_EQ(theirs->Lock(record1, 1), 0);
  EXPECT_FALSE(table_.ZapRecords());
  EXPECT_EQ(LastDatabaseError(), -13);
  EXPECT_EQ(table_.GetRecordCount(), 2);  // nothing was removed, nothing stays locked
  EXPECT_TRUE(table_.GotoRecord(2));
  EXPECT_EQ(table_.ReadField(1), Value::Int(0));
  EXPECT_EQ(LastDatabaseError(), -13);
  EXPECT_TRUE(table_.GotoRecord(1));
  EXPECT_EQ(table_.ReadField(1), Value::Int(11));
}

TEST_F(Locks, AnotherHoldersWholeLockStopsCountsAppendsAndFields) {
  ASSERT_EQ(Open("l.dat"), 0);
  ASSERT_TRUE(other_.OpenDatabase(Path("l.dat"), "other"));
  ASSERT_TRUE(other_.HoldWholeDatabase());
  EXPECT_EQ(table_.GetRecordCount(), 0);
  EXPECT_EQ(LastDatabaseError(), -13);
  EXPECT_FALSE(table_.AppendBlankRecord());
  EXPECT_EQ(LastDatabaseError(), -13);
  EXPECT_FALSE(table_.WriteField(1, Value::Int(5)));
  EXPECT_EQ(LastDatabaseError(), -13);
  EXPECT_FALSE(table_.Skip());
  EXPECT_EQ(LastDatabaseError(), -13);
  ASSERT_TRUE(other_.ReleaseWholeDatabase());
  EXPECT_TRUE(table_.AppendBlankRecord());
  EXPECT_EQ(other_.GetRecordCount(), 3);  // counts are read from the file every time
}

// Another process's open holds the whole file for a moment; locks that meet it wait for it.
TEST_F(Locks, RefusedLocksAreTriedAgainForABoundedTime) {
  std::unique_ptr<fs::File> theirs = RawHandle();
  const int64_t record1 = 116 + 72;
  DatabaseTable waiting(files_);
  waiting.set_lock_wait(5000);
  ASSERT_TRUE(waiting.OpenDatabase(Path("l.dat"), ""));
  for (int attempt = 0; attempt < 2; ++attempt) {
    ASSERT_EQ(theirs->Lock(0, 2147483647), 0);  // as an open validating
    std::thread release([&] {
      usleep(150000);
      theirs->Unlock(0, 2147483647);
    });
    const bool written =
        attempt == 0 ? waiting.WriteField(1, Value::Int(77)) : waiting.ZapRecords();
    release.join();
    EXPECT_TRUE(written) << attempt << ": " << LastDatabaseError();
  }
  EXPECT_EQ(At32(Read("l.dat"), 16), 0);
  EXPECT_TRUE(waiting.AppendBlankRecord());
  waiting.CloseAllDatabases();

  // A lock that stays refused gives up with the lock violation.
  DatabaseTable brief(files_);
  brief.set_lock_wait(60);
  ASSERT_TRUE(brief.OpenDatabase(Path("l.dat"), ""));
  ASSERT_EQ(theirs->Lock(record1, 1), 0);
  EXPECT_FALSE(brief.WriteField(1, Value::Int(5)));
  EXPECT_EQ(LastDatabaseError(), -13);
  EXPECT_FALSE(brief.ZapRecords());
  EXPECT_EQ(LastDatabaseError(), -13);
}

TEST_F(Locks, ShareModesKeepOthersOut) {
  ASSERT_EQ(Open("l.dat", "", {.share_mode = 4}), 0);
  EXPECT_FALSE(other_.OpenDatabase(Path("l.dat"), ""));
  EXPECT_EQ(LastDatabaseError(), -12);
  table_.CloseAllDatabases();
  ASSERT_EQ(Open("l.dat", "", {.share_mode = 3}), 0);  // others may only read
  EXPECT_FALSE(other_.OpenDatabase(Path("l.dat"), ""));
  EXPECT_EQ(LastDatabaseError(), -12);
  EXPECT_TRUE(other_.OpenDatabase(Path("l.dat"), "", {.read_only = 1}));
}

TEST_F(Locks, ReadOnlyOpenCannotWrite) {
  ASSERT_EQ(Open("l.dat", "", {.read_only = 1}), 0);
  EXPECT_EQ(table_.ReadField(1), Value::Int(11));
  EXPECT_FALSE(table_.WriteField(1, Value::Int(5)));
  EXPECT_NE(LastDatabaseError(), 0);
  EXPECT_EQ(At32(Read("l.dat"), 116 + 72 + 4), 11);
}

}  // namespace
}  // namespace sr::test
