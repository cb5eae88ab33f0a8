#include <algorithm>
#include <random>

#include "platform/fs/fault_injecting_file_system.h"
#include "runtime/recdb/database.h"
#include "runtime/recdb/tests/test_files.h"

namespace sr::test {
namespace {

// A register-like table: two names, 19 amounts, a note. Record size 4 + 20 + 20 + 152 + 4.
DbImage Register() {
  DbImage image;
  image.fields = {{"Id", 10, 20}, {"Name", 10, 20}};
  for (int n = 0; n < 19; ++n) image.fields.push_back({"M" + std::to_string(n), 6, 0});
  image.fields.push_back({"Note", 12, 0});
  return image;
}

// Large files are compared by the first differing offset, not printed whole.
::testing::AssertionResult SameBytes(const std::string& a, const std::string& b) {
  if (a == b) return ::testing::AssertionSuccess();
  size_t at = 0;
  while (at < a.size() && at < b.size() && a[at] == b[at]) ++at;
  return ::testing::AssertionFailure() << "sizes " << a.size() << " and " << b.size()
                                       << ", first difference at " << at;
}

enum class Mode { kShared, kWholeLock, kExclusive };

class Batching : public DbTest {
 protected:
  void SetUp() override {
    DbTest::SetUp();
    Write("reg.dat", Register().Bytes());
    Write("reg.KDT", CompanionHeaderBytes(1, 0, 0));
  }
  // Saves `records` rows as the program does: zap, then append and write every field.
  void Save(Mode mode, int records) {
    Write("reg.dat", Register().Bytes());
    Write("reg.KDT", CompanionHeaderBytes(1, 0, 0));
    ASSERT_EQ(Open("reg.dat", "reg", {.share_mode = mode == Mode::kExclusive ? 4 : 1}), 0);
    if (mode == Mode::kWholeLock) {
      ASSERT_TRUE(table_.HoldWholeDatabase());
    }
    ASSERT_TRUE(table_.ZapRecords());
    for (int r = 0; r < records; ++r) {
      ASSERT_TRUE(table_.AppendBlankRecord());
      ASSERT_TRUE(table_.WriteField(1, Value::FromText("id" + std::to_string(r))));
      ASSERT_TRUE(table_.WriteField(2, Value::FromText("name " + std::to_string(r))));
      for (int n = 0; n < 19; ++n) ASSERT_TRUE(table_.WriteField(3 + n, Value::Double(r + n / 4.0)));
      if (r % 7 == 0) {
        ASSERT_TRUE(table_.WriteField(22, Value::FromText(std::string(r + 1, 'm'))));
      }
    }
    // Go back and change an early record, as editing would.
    ASSERT_TRUE(table_.GotoRecord(2));
    ASSERT_TRUE(table_.WriteField("m0", Value::Int(-5)));
    EXPECT_EQ(table_.ReadField("m0"), Value::Double(-5));
    EXPECT_EQ(table_.GetRecordCount(), records);
    if (mode == Mode::kWholeLock) {
      ASSERT_TRUE(table_.ReleaseWholeDatabase());
    }
    table_.CloseAllDatabases();
    ASSERT_EQ(LastDatabaseError(), 0);
  }
  void CheckReadBack(int records) {
    DatabaseTable reader(files_);
    ASSERT_TRUE(reader.OpenDatabase(Path("reg.dat"), "r", {.read_only = 1}));
    ASSERT_EQ(reader.GetRecordCount(), records);
    reader.GoFirst();
    for (int r = 0; r < records; ++r) {
      ASSERT_EQ(reader.ReadField(1).text(), "id" + std::to_string(r));
      ASSERT_EQ(reader.ReadField(21), Value::Double(r + 18 / 4.0));
      reader.Skip();
    }
  }
};

TEST_F(Batching, PrivateModesWriteTheSameBytesAsFieldByFieldWrites) {
  Save(Mode::kShared, 120);
  std::string shared_db = Read("reg.dat"), shared_memo = Read("reg.KDT");
  Save(Mode::kWholeLock, 120);
  EXPECT_TRUE(SameBytes(Read("reg.dat"), shared_db));
  EXPECT_TRUE(SameBytes(Read("reg.KDT"), shared_memo));
  Save(Mode::kExclusive, 120);
  EXPECT_TRUE(SameBytes(Read("reg.dat"), shared_db));
  EXPECT_TRUE(SameBytes(Read("reg.KDT"), shared_memo));
  CheckReadBack(120);
}

TEST_F(Batching, ManyRecordsCrossTheCacheWindows) {
  Save(Mode::kWholeLock, 5000);
  EXPECT_EQ(Size("reg.dat"), Register().DataStart() + 5000 * 200);
  CheckReadBack(5000);
  // And read back under the whole lock, through the cache.
  ASSERT_EQ(Open("reg.dat", "reg"), 0);
  ASSERT_TRUE(table_.HoldWholeDatabase());
  ASSERT_TRUE(table_.GotoRecord(4999));
  EXPECT_EQ(table_.ReadField(2).text(), "name 4998");
  ASSERT_TRUE(table_.Skip(-4004));
  EXPECT_EQ(table_.ReadField(2).text(), "name 994");
  EXPECT_EQ(table_.ReadField(22).text(), std::string(995, 'm'));
  ASSERT_TRUE(table_.ReleaseWholeDatabase());
}

TEST_F(Batching, OthersSeeTheRecordsWhenTheWholeLockEnds) {
  ASSERT_EQ(Open("reg.dat", "reg"), 0);
  DatabaseTable other(files_);
  other.set_count_lock_wait(0);
  other.set_lock_wait(0);
  ASSERT_TRUE(other.OpenDatabase(Path("reg.dat"), "other"));
  ASSERT_TRUE(table_.HoldWholeDatabase());
  ASSERT_TRUE(table_.AppendBlankRecord());
  ASSERT_TRUE(table_.WriteField(1, Value::FromText("pending")));
  EXPECT_EQ(other.GetRecordCount(), 0);
  EXPECT_EQ(LastDatabaseError(), -13);
  ASSERT_TRUE(table_.ReleaseWholeDatabase());
  EXPECT_EQ(other.GetRecordCount(), 1);
  EXPECT_EQ(other.ReadField(1).text(), "pending");
}

TEST_F(Batching, ExclusiveModeWritesAtFlushAndClose) {
  ASSERT_EQ(Open("reg.dat", "reg", {.share_mode = 4}), 0);
  ASSERT_TRUE(table_.AppendBlankRecord());
  ASSERT_TRUE(table_.WriteField(1, Value::FromText("x")));
  EXPECT_TRUE(table_.FlushDatabase());
  EXPECT_EQ(At32(Read("reg.dat"), 16), 1);
  ASSERT_TRUE(table_.AppendBlankRecord());
  table_.CloseDatabase();
  EXPECT_EQ(LastDatabaseError(), 0);
  EXPECT_EQ(At32(Read("reg.dat"), 16), 2);
  EXPECT_EQ(Size("reg.dat"), Register().DataStart() + 2 * 200);
}

TEST_F(Batching, ReadOnlyPrivateDatabaseRefusesWritesAtOnce) {
  Save(Mode::kShared, 3);
  std::string before = Read("reg.dat");
  ASSERT_EQ(Open("reg.dat", "reg", {.read_only = 1, .share_mode = 4}), 0);
  EXPECT_EQ(table_.ReadField(2).text(), "name 0");
  EXPECT_FALSE(table_.WriteField(2, Value::FromText("x")));
  EXPECT_EQ(LastDatabaseError(), -6);
  EXPECT_FALSE(table_.AppendBlankRecord());
  EXPECT_EQ(LastDatabaseError(), -6);
  EXPECT_EQ(table_.ReadField(2).text(), "name 0");
  table_.CloseDatabase();
  EXPECT_EQ(LastDatabaseError(), 0);
  EXPECT_TRUE(Read("reg.dat") == before);
}

// The same random walk of appends, moves, writes and reads in a shared mode and under the whole
// lock must read the same values and leave the same bytes.
std::vector<std::string> RandomWalk(DatabaseTable& table, bool private_access) {
  std::vector<std::string> seen;
  std::mt19937 random(7);
  if (private_access) table.HoldWholeDatabase();
  for (int step = 0; step < 3000; ++step) {
    int32_t count = table.GetRecordCount();
    switch (random() % 5) {
      case 0:
        table.AppendBlankRecord();
        break;
      case 1:
        table.GotoRecord(static_cast<int32_t>(random() % (count + 2)));
        break;
      case 2: {
        int field = 1 + static_cast<int>(random() % 21);
        Value value = field <= 2 ? Value::FromText(std::to_string(random() % 1000))
                                 : Value::Double(static_cast<double>(random() % 1000) / 8);
        table.WriteField(field, value);
        break;
      }
      case 3:
        // Reaches past either end too, so the failure codes are compared as well.
        table.Skip(static_cast<int32_t>(random() % 5) - 2);
        break;
      default: {
        Value value = table.ReadField(1 + static_cast<int>(random() % 21));
        seen.push_back(value.is_text() ? value.text() : std::to_string(value.floating()));
      }
    }
    seen.push_back(std::to_string(LastDatabaseError()));
    if (step == 1500 && private_access) {
      // Let go in the middle and take the lock again: the cache must start afresh.
      table.ReleaseWholeDatabase();
      table.HoldWholeDatabase();
    }
  }
  if (private_access) table.ReleaseWholeDatabase();
  return seen;
}

TEST_F(Batching, RandomWalkReadsAndWritesTheSameInEveryMode) {
  ASSERT_EQ(Open("reg.dat", "reg"), 0);
  std::vector<std::string> shared = RandomWalk(table_, false);
  table_.CloseAllDatabases();
  std::string shared_bytes = Read("reg.dat");
  Write("reg.dat", Register().Bytes());
  Write("reg.KDT", CompanionHeaderBytes(1, 0, 0));
  ASSERT_EQ(Open("reg.dat", "reg"), 0);
  std::vector<std::string> cached = RandomWalk(table_, true);
  table_.CloseAllDatabases();
  EXPECT_TRUE(shared == cached);
  EXPECT_TRUE(SameBytes(Read("reg.dat"), shared_bytes));
  EXPECT_GT(At32(shared_bytes, 16), 400);
  for (const char* code : {"-10", "-26", "-60"}) {
    EXPECT_NE(std::find(shared.begin(), shared.end(), code), shared.end()) << code;
  }
}

TEST_F(Batching, WholeLockSeesWhatOthersAppendedBefore) {
  ASSERT_EQ(Open("reg.dat", "reg"), 0);
  DatabaseTable other(files_);
  ASSERT_TRUE(other.OpenDatabase(Path("reg.dat"), "other"));
  ASSERT_TRUE(other.AppendBlankRecord());
  ASSERT_TRUE(other.WriteField(1, Value::FromText("theirs")));
  ASSERT_TRUE(table_.HoldWholeDatabase());
  EXPECT_EQ(table_.GetRecordCount(), 1);
  EXPECT_EQ(table_.ReadField(1).text(), "theirs");
  ASSERT_TRUE(table_.AppendBlankRecord());
  ASSERT_TRUE(table_.ReleaseWholeDatabase());
  EXPECT_EQ(other.GetRecordCount(), 2);
  EXPECT_EQ(At32(Read("reg.dat"), Register().DataStart() + 200), 2);
}

TEST_F(Batching, AFailedFlushIsReportedNotSwallowed) {
  fs::FaultInjectingFileSystem disk(files_);
  DatabaseTable table(disk);
  ASSERT_TRUE(table.OpenDatabase(Path("reg.dat"), "reg"));
  ASSERT_TRUE(table.HoldWholeDatabase());
  for (int r = 0; r < 10; ++r) {
    ASSERT_TRUE(table.AppendBlankRecord());
    ASSERT_TRUE(table.WriteField(3, Value::Double(r)));
  }
  disk.LimitRoom(0);
  EXPECT_FALSE(table.ReleaseWholeDatabase());
  EXPECT_EQ(LastDatabaseError(), -14);
  disk.ClearFaults();
  EXPECT_EQ(At32(Read("reg.dat"), 16), 0);  // nothing claims records that are not there
}

TEST_F(Batching, AFailedWriteInSharedModeIsReported) {
  fs::FaultInjectingFileSystem disk(files_);
  DatabaseTable table(disk);
  ASSERT_TRUE(table.OpenDatabase(Path("reg.dat"), "reg"));
  disk.LimitRoom(0);
  EXPECT_FALSE(table.AppendBlankRecord());
  EXPECT_EQ(LastDatabaseError(), -14);
  EXPECT_EQ(table.GetRecordCount(), 0);
}

}  // namespace
}  // namespace sr::test
