#include "runtime/recdb/tests/test_files.h"

namespace sr::test {
namespace {

struct Block {
  int32_t previous, next, used;
  std::string data;
};

class Chains : public DbTest {
 protected:
  void SetUp() override {
    DbTest::SetUp();
    DbImage image =
        DbImage::Of({{"Note", 12, 0}, {"Blob", 11, 0}}, {Le32(1) + Zeros(8), Le32(2) + Zeros(8)});
    Write("m.dat", image.Bytes());
    data_start_ = image.DataStart();
    Write("m.KDT", CompanionHeaderBytes(1, 0, 0));
    ASSERT_EQ(Open("m.dat"), 0);
  }
  std::string Companion() { return Read("m.KDT"); }
  Block BlockAt(int32_t number) {
    std::string bytes = Companion().substr(512 * number, 512);
    return {At32(bytes, 0), At32(bytes, 4), At32(bytes, 8), bytes.substr(12)};
  }
  // Block count, free count, first free.
  std::vector<int32_t> Header() {
    std::string bytes = Companion();
    return {At32(bytes, 16), At32(bytes, 20), At32(bytes, 24)};
  }
  int32_t Slot(int record, int field) {
    return At32(Read("m.dat"), data_start_ + 12 * record + 4 + 4 * field);
  }
  void WriteNote(int record, const std::string& text) {
    ASSERT_TRUE(table_.GotoRecord(record + 1));
    ASSERT_TRUE(table_.WriteField("Note", Value::FromText(text)));
  }
  static std::string Letters(size_t n) {
    std::string s;
    for (size_t i = 0; i < n; ++i) s.push_back(static_cast<char>('a' + i % 26));
    return s;
  }

  int64_t data_start_ = 0;
};

// A record's memo slot holds a block number of its own companion file: such records can be read
// as bytes but not appended as bytes.
TEST_F(Chains, RecordsWithChainsAreNotAppendedAsBytes) {
  WriteNote(0, "note");
  std::string bytes;
  ASSERT_TRUE(table_.ReadRecordBytes(1, 2, &bytes));
  EXPECT_EQ(At32(bytes, 4), Slot(0, 0));
  const std::string before = Read("m.dat");
  EXPECT_FALSE(table_.AppendRecordBytes(bytes));
  EXPECT_EQ(LastDatabaseError(), -72);
  EXPECT_EQ(table_.GetRecordCount(), 2);
  EXPECT_EQ(Read("m.dat"), before);
}

TEST_F(Chains, A1001ByteMemoTakesThreeBlocks) {
  WriteNote(0, Letters(1001));
  EXPECT_EQ(Slot(0, 0), 1);
  EXPECT_EQ(Header(), (std::vector<int32_t>{4, 0, 0}));
  EXPECT_EQ(Size("m.KDT"), 4 * 512);
  Block b1 = BlockAt(1), b2 = BlockAt(2), b3 = BlockAt(3);
  EXPECT_EQ((std::vector<int32_t>{b1.previous, b1.next, b1.used}),
            (std::vector<int32_t>{0, 2, 500}));
  EXPECT_EQ((std::vector<int32_t>{b2.previous, b2.next, b2.used}),
            (std::vector<int32_t>{1, 3, 500}));
  EXPECT_EQ((std::vector<int32_t>{b3.previous, b3.next, b3.used}),
            (std::vector<int32_t>{2, 0, 1}));
  EXPECT_EQ(b1.data, Letters(500));
  EXPECT_EQ(b3.data, Letters(1001).substr(1000) + Zeros(499));
  EXPECT_EQ(table_.ReadField("Note").text(), Letters(1001));
}

TEST_F(Chains, RewritingShorterFreesTheTailAndTrimsTheFile) {
  WriteNote(0, Letters(1001));
  WriteNote(0, "0123456789");
  EXPECT_EQ(Slot(0, 0), 1);
  EXPECT_EQ(Size("m.KDT"), 1024);
  EXPECT_EQ(Header(), (std::vector<int32_t>{2, 0, 0}));
  Block b1 = BlockAt(1);
  EXPECT_EQ(b1.next, 0);
  EXPECT_EQ(b1.used, 10);
  EXPECT_EQ(b1.data, "0123456789" + Zeros(490));
  EXPECT_EQ(table_.ReadField("Note").text(), "0123456789");
}

TEST_F(Chains, FreedBlocksInTheMiddleAreListedAndReused) {
  WriteNote(0, Letters(1001));  // blocks 1, 2, 3
  WriteNote(1, Letters(600));   // blocks 4, 5
  WriteNote(0, "short");        // releases 2 and 3, which are not at the end
  EXPECT_EQ(Header(), (std::vector<int32_t>{6, 2, 2}));
  Block b2 = BlockAt(2), b3 = BlockAt(3);
  EXPECT_EQ((std::vector<int32_t>{b2.previous, b2.next, b2.used}),
            (std::vector<int32_t>{0, 3, 0}));
  EXPECT_EQ((std::vector<int32_t>{b3.previous, b3.next, b3.used}),
            (std::vector<int32_t>{2, 0, 0}));
  EXPECT_EQ(b3.data, Zeros(500));  // a released block keeps no old bytes

  // A 1001-byte value again: its own block 1, then the free list head 2, then 3.
  WriteNote(0, Letters(1001));
  EXPECT_EQ(Header(), (std::vector<int32_t>{6, 0, 0}));
  EXPECT_EQ(BlockAt(1).next, 2);
  EXPECT_EQ(BlockAt(2).next, 3);
  EXPECT_EQ(BlockAt(3).used, 1);
  EXPECT_EQ(table_.ReadField("Note").text(), Letters(1001));
  ASSERT_TRUE(table_.GotoRecord(2));
  EXPECT_EQ(table_.ReadField("Note").text(), Letters(600));
}

TEST_F(Chains, ReleasedBlocksJoinTheFrontOfTheFreeList) {
  WriteNote(0, Letters(600));  // 1, 2
  WriteNote(1, Letters(600));  // 3, 4
  ASSERT_TRUE(table_.GotoRecord(1));
  ASSERT_TRUE(table_.WriteField("Blob", Value::FromBytes("x")));  // 5
  WriteNote(0, "");            // frees 1, 2
  EXPECT_EQ(Slot(0, 0), 0);
  EXPECT_EQ(Header(), (std::vector<int32_t>{6, 2, 1}));
  WriteNote(1, "");            // frees 3, 4 in front of 1, 2
  EXPECT_EQ(Header(), (std::vector<int32_t>{6, 4, 3}));
  EXPECT_EQ(BlockAt(4).next, 1);
  EXPECT_EQ(BlockAt(1).previous, 4);
}

TEST_F(Chains, TrimUnlinksFreeBlocksAtTheEnd) {
  WriteNote(0, Letters(600));  // 1, 2
  WriteNote(1, Letters(600));  // 3, 4
  WriteNote(0, "");            // free list 1 -> 2
  WriteNote(1, "");            // 3 -> 4 -> 1 -> 2, then all trimmed from the end
  EXPECT_EQ(Header(), (std::vector<int32_t>{1, 0, 0}));
  EXPECT_EQ(Size("m.KDT"), 512);
  WriteNote(0, "again");
  EXPECT_EQ(Slot(0, 0), 1);
  EXPECT_EQ(Header(), (std::vector<int32_t>{2, 0, 0}));
}

TEST_F(Chains, MemoStopsAtNulBytesValueKeepsThem) {
  ASSERT_TRUE(table_.WriteField("Blob", Value::FromBytes(std::string("a\0b", 3))));
  EXPECT_EQ(table_.ReadField("Blob"), Value::FromBytes(std::string("a\0b", 3)));
  ASSERT_TRUE(table_.WriteField("Note", Value::FromText(std::string("a\0b", 3))));
  EXPECT_EQ(table_.ReadField("Note"), Value::FromText("a"));
  EXPECT_FALSE(table_.WriteField("Blob", Value::FromText("text")));
  EXPECT_EQ(LastDatabaseError(), -72);
  EXPECT_EQ(table_.ReadField(2).kind(), Kind::kBytes);
}

TEST_F(Chains, BlocksCutFromTheFileFailTheRead) {
  WriteNote(0, Letters(1001));
  Resize("m.KDT", 512 * 3 + 100);
  EXPECT_EQ(table_.ReadField("Note"), Value::FromText(""));
  EXPECT_EQ(LastDatabaseError(), -59);
}

TEST_F(Chains, ALoopInADamagedChainFailsInsteadOfHanging) {
  WriteNote(0, Letters(1001));
  Patch("m.KDT", 512 * 3 + 4, Le32(1));  // block 3 points back to block 1
  EXPECT_EQ(table_.ReadField("Note"), Value::FromText(""));
  EXPECT_EQ(LastDatabaseError(), -59);
  EXPECT_FALSE(table_.WriteField("Note", Value::FromText("x")));
  EXPECT_EQ(LastDatabaseError(), -59);
}

TEST_F(Chains, ZapEmptiesTheCompanion) {
  WriteNote(0, Letters(1001));
  ASSERT_TRUE(table_.ZapRecords());
  EXPECT_EQ(Size("m.KDT"), 512);
  EXPECT_EQ(Header(), (std::vector<int32_t>{1, 0, 0}));
  EXPECT_EQ(Companion().substr(0, 4), "QKDT");
}

}  // namespace
}  // namespace sr::test
