#include "runtime/recdb/chain_audit.h"

#include "runtime/recdb/database.h"
#include "runtime/recdb/tests/test_files.h"

namespace sr::test {
namespace {

using Kind = recdb::ChainFinding::Kind;

// Three records with a memo each; companion blocks: 1-2 (record 1), 3 (record 2), 4-5 free,
// 6 (record 3).
class Audit : public DbTest {
 protected:
  void SetUp() override {
    DbTest::SetUp();
    DbImage image =
        DbImage::Of({{"N", 3, 0}, {"Note", 12, 0}}, {Record(1, 1), Record(2, 3), Record(3, 6)});
    data_start_ = image.DataStart();
    Write("a.dat", image.Bytes());
    std::string companion = CompanionHeaderBytes(7, 2, 4);
    companion += Block(0, 2, "first half ") + Block(1, 0, "second half") + Block(0, 0, "two");
    companion += Block(0, 5, "") + Block(4, 0, "") + Block(0, 0, "three");
    Write("a.KDT", companion);
  }
  static std::string Record(int32_t serial, int32_t first) {
    return Le32(serial) + Le32(serial * 10) + Le32(first);
  }
  static std::string Block(int32_t previous, int32_t next, const std::string& data) {
    return Le32(previous) + Le32(next) + Le32(static_cast<int32_t>(data.size())) + data +
           Zeros(500 - data.size());
  }
  void PointRecordAt(int record, int32_t block) {
    Patch("a.dat", data_start_ + 12 * record + 8, Le32(block));
  }
  recdb::ChainAudit Run(OpenOptions options = {.read_only = 1}) {
    recdb::ChainAudit audit;
    EXPECT_EQ(Open("a.dat", "", options), 0);
    EXPECT_EQ(recdb::AuditChains(*table_.current(), &audit), 0);
    return audit;
  }

  int64_t data_start_ = 0;
};

TEST_F(Audit, ASoundFileHasNoFindings) {
  recdb::ChainAudit audit = Run();
  EXPECT_TRUE(audit.findings.empty());
  EXPECT_EQ(audit.block_count, 7);
  EXPECT_EQ(audit.chained_blocks, 4);
  EXPECT_EQ(audit.free_blocks, 2);
}

TEST_F(Audit, FindsEveryKindOfSecondOwner) {
  PointRecordAt(1, 2);  // record 2 points into record 1's chain
  PointRecordAt(2, 5);  // record 3 points at a free block
  recdb::ChainAudit audit = Run();
  ASSERT_EQ(audit.findings.size(), 2u);
  EXPECT_EQ(audit.Count(Kind::kCrossLinked), 1u);
  EXPECT_EQ(audit.findings[0].block, 2);
  EXPECT_EQ(audit.findings[0].owner.record, 0);
  EXPECT_EQ(audit.findings[0].other.record, 1);
  EXPECT_EQ(audit.findings[0].other.field, 1);
  EXPECT_EQ(audit.Count(Kind::kFreeAndChained), 1u);
  EXPECT_EQ(audit.findings[1].block, 5);
  EXPECT_EQ(audit.findings[1].owner.record, 2);
}

TEST_F(Audit, AFreeListRunningIntoAChainIsFound) {
  Patch("a.KDT", 512 * 5 + 4, Le32(6));  // the free list's last block links record 3's block
  recdb::ChainAudit audit = Run();
  ASSERT_EQ(audit.findings.size(), 1u);
  EXPECT_EQ(audit.findings[0].kind, Kind::kFreeAndChained);
  EXPECT_EQ(audit.findings[0].block, 6);
}

TEST_F(Audit, LoopsAndBlocksPastTheEndAreFound) {
  Patch("a.KDT", 512 * 2 + 4, Le32(1));  // record 1's chain loops back to its first block
  PointRecordAt(2, 9);                   // record 3 points past the last block
  recdb::ChainAudit audit = Run();
  ASSERT_EQ(audit.findings.size(), 2u);
  EXPECT_EQ(audit.findings[0].kind, Kind::kDamaged);
  EXPECT_EQ(audit.findings[0].code, 0);
  EXPECT_EQ(audit.findings[1].kind, Kind::kPastEnd);
  EXPECT_EQ(audit.findings[1].block, 9);
}

TEST_F(Audit, AuditsRecordsStillWaitingInTheCache) {
  ASSERT_EQ(Open("a.dat", "", {.share_mode = 4}), 0);
  ASSERT_TRUE(table_.AppendBlankRecord());
  ASSERT_TRUE(table_.WriteField("Note", Value::FromText("new")));
  recdb::ChainAudit audit;
  ASSERT_EQ(recdb::AuditChains(*table_.current(), &audit), 0);
  EXPECT_TRUE(audit.findings.empty());
  EXPECT_EQ(audit.chained_blocks, 5);
}

// The companion was cut after block 4: records 1 and 3 reach past its end, and so does the
// free list.
TEST_F(Audit, RepairEmptiesWhatReachesPastACutCompanion) {
  Resize("a.KDT", 512 * 5);
  ASSERT_EQ(Open("a.dat", "", {.read_only = 1}), -37);
  ASSERT_EQ(Open("a.dat", "", {.share_mode = 4}), 0);  // lowers the block count to 5
  std::vector<recdb::ChainFinding> emptied;
  ASSERT_EQ(recdb::EmptyChainsPastEnd(*table_.current(), &emptied), 0);
  ASSERT_EQ(emptied.size(), 1u);  // record 1's chain ends inside; record 3 starts past the end
  EXPECT_EQ(emptied[0].owner.record, 2);
  EXPECT_EQ(emptied[0].block, 6);
  ASSERT_TRUE(table_.GotoRecord(3));
  EXPECT_EQ(table_.ReadField("Note").text(), "");
  ASSERT_TRUE(table_.GotoRecord(1));
  EXPECT_EQ(table_.ReadField("Note").text(), "first half second half");
  table_.CloseAllDatabases();

  // The free list keeps block 4 only, so the file opens and new values take fresh blocks.
  std::string companion = Read("a.KDT");
  EXPECT_EQ(At32(companion, 16), 5);
  EXPECT_EQ(At32(companion, 20), 1);
  EXPECT_EQ(At32(companion, 24), 4);
  EXPECT_EQ(At32(companion, 512 * 4 + 4), 0);
  ASSERT_EQ(Open("a.dat"), 0);
  ASSERT_TRUE(table_.AppendBlankRecord());
  ASSERT_TRUE(table_.WriteField("Note", Value::FromText(std::string(1200, 'z'))));
  table_.CloseAllDatabases();
  recdb::ChainAudit audit = Run();
  EXPECT_TRUE(audit.findings.empty());
  EXPECT_EQ(audit.chained_blocks, 6);
}

TEST_F(Audit, RepairLeavesASoundFileAlone) {
  const std::string db = Read("a.dat"), companion = Read("a.KDT");
  ASSERT_EQ(Open("a.dat", "", {.share_mode = 4}), 0);
  std::vector<recdb::ChainFinding> emptied;
  ASSERT_EQ(recdb::EmptyChainsPastEnd(*table_.current(), &emptied), 0);
  EXPECT_TRUE(emptied.empty());
  table_.CloseAllDatabases();
  EXPECT_EQ(Read("a.dat"), db);
  EXPECT_EQ(Read("a.KDT"), companion);
}

}  // namespace
}  // namespace sr::test
