// A process that dies between two writes: every prefix of an operation's writes must leave a
// file whose companion blocks each have one owner at most.
#include "platform/fs/fault_injecting_file_system.h"
#include "runtime/recdb/chain_audit.h"
#include "runtime/recdb/database.h"
#include "runtime/recdb/tests/test_files.h"

namespace sr::test {
namespace {

std::string Letters(size_t n, char first) {
  std::string s;
  for (size_t i = 0; i < n; ++i) s.push_back(static_cast<char>(first + i % 26));
  return s;
}

enum class Mode { kShared, kWholeLock, kExclusive };

class CrashPoints : public DbTest, public ::testing::WithParamInterface<Mode> {
 protected:
  // Four records whose memos take 3, 1, 2 and 0 blocks, and a free list of two blocks.
  void MakeFile() {
    std::vector<std::string> records;
    for (int r = 0; r < 4; ++r) records.push_back(Le32(r + 1) + Zeros(12));
    DbImage image = DbImage::Of({{"N", 3, 0}, {"Note", 12, 0}, {"Blob", 11, 0}}, records);
    Write("c.dat", image.Bytes());
    Write("c.KDT", CompanionHeaderBytes(1, 0, 0));
    DatabaseTable setup(files_);
    ASSERT_TRUE(setup.OpenDatabase(Path("c.dat"), ""));
    const size_t lengths[] = {1400, 300, 900, 0};
    for (int r = 0; r < 4; ++r) {
      ASSERT_TRUE(setup.GotoRecord(r + 1));
      ASSERT_TRUE(setup.WriteField("Note", Value::FromText(Letters(lengths[r], 'a'))));
    }
    ASSERT_TRUE(setup.GotoRecord(4));
    ASSERT_TRUE(setup.WriteField("Blob", Value::FromBytes(Letters(1100, 'A'))));
    ASSERT_TRUE(setup.WriteField("Blob", Value::FromBytes("x")));  // frees two blocks
  }

  // Every kind of chain change, in one batch of the mode under test.
  void Churn(DatabaseTable& table) {
    const bool exclusive = GetParam() == Mode::kExclusive;
    if (!table.OpenDatabase(Path("c.dat"), "", {.share_mode = exclusive ? 4 : 1})) return;
    if (GetParam() == Mode::kWholeLock) table.HoldWholeDatabase();
    auto note = [&](int record, const std::string& text) {
      table.GotoRecord(record);
      table.WriteField("Note", Value::FromText(text));
    };
    note(1, "");                  // empties a three-block memo
    note(2, Letters(1200, 'k'));  // grows from the free list, then past the end
    note(3, "short");             // shrinks, releasing a block
    table.AppendBlankRecord();    // a record not yet in the file
    table.WriteField("Note", Value::FromText(Letters(700, 'p')));
    table.WriteField("Note", Value::FromText(""));
    table.WriteField("Blob", Value::FromBytes(Letters(600, 'q')));
    note(4, Letters(520, 'r'));  // the free list again
    note(2, "");                 // frees blocks at the end: the file is trimmed
    if (GetParam() == Mode::kWholeLock) table.ReleaseWholeDatabase();
    table.CloseAllDatabases();
  }

  // Opens the file read-only, as a checker would, and audits its chains.
  ::testing::AssertionResult Sound(int allowed) {
    DatabaseTable reader(files_);
    if (!reader.OpenDatabase(Path("c.dat"), "", {.read_only = 1})) {
      return ::testing::AssertionFailure()
             << "after " << allowed << " changes the file opens with " << LastDatabaseError();
    }
    recdb::ChainAudit audit;
    int code = recdb::AuditChains(*reader.current(), &audit);
    if (code != 0 || !audit.findings.empty()) {
      const auto& f = audit.findings.empty() ? recdb::ChainFinding() : audit.findings[0];
      return ::testing::AssertionFailure()
             << "after " << allowed << " changes: code " << code << ", " << audit.findings.size()
             << " findings, the first of kind " << static_cast<int>(f.kind) << " at block "
             << f.block << " of record " << f.owner.record;
    }
    return ::testing::AssertionSuccess();
  }
};

TEST_P(CrashPoints, EveryPrefixOfTheWritesLeavesEachBlockOneOwner) {
  MakeFile();
  const std::string db = Read("c.dat"), companion = Read("c.KDT");
  int total = 0;
  {
    fs::FaultInjectingFileSystem disk(files_);
    DatabaseTable table(disk);
    Churn(table);
    total = disk.changes();
  }
  ASSERT_TRUE(Sound(total));
  ASSERT_GT(total, 20);
  for (int allowed = 0; allowed < total; ++allowed) {
    Write("c.dat", db);
    Write("c.KDT", companion);
    {
      // The process dies after `allowed` changes: later writes and cuts never reach the files.
      fs::FaultInjectingFileSystem disk(files_);
      disk.StopAfter(allowed);
      DatabaseTable table(disk);
      table.set_lock_wait(0);
      Churn(table);
    }
    EXPECT_TRUE(Sound(allowed));
  }
}

INSTANTIATE_TEST_SUITE_P(Modes, CrashPoints,
                         ::testing::Values(Mode::kShared, Mode::kWholeLock, Mode::kExclusive));

}  // namespace
}  // namespace sr::test
