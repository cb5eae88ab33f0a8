#include "runtime/recdb/database.h"
#include "runtime/recdb/page_cipher.h"
#include "runtime/recdb/tests/test_files.h"

namespace sr::test {
namespace {

// Fields: Key text(4), Num int, Note memo. Record size 16.
class Structure : public DbTest {
 protected:
  void SetUp() override {
    DbTest::SetUp();
    image_.fields = {{"Key", 10, 4}, {"Num", 3, 0}, {"Note", 12, 0}};
    Write("s.KDT", CompanionHeaderBytes(1, 0, 0));
  }
  void AddRecord(int32_t serial, const std::string& key, int32_t num) {
    image_.records.push_back(Le32(serial) + key + Zeros(4 - key.size()) + Le32(num) + Le32(0));
    image_.record_count = static_cast<int32_t>(image_.records.size());
    image_.next_serial = image_.record_count + 1;
  }
  void OpenSource(OpenOptions options = {}) {
    Write("s.dat", image_.Bytes());
    ASSERT_EQ(Open("s.dat", "src", options), 0);
  }
  // Key text and number of each record of a file written by the sort.
  std::vector<std::string> Keys(const std::string& name) {
    std::string bytes = Read(name);
    std::vector<std::string> keys;
    for (size_t at = image_.DataStart(); at + 16 <= bytes.size(); at += 16) {
      std::string key = bytes.substr(at + 4, 4);
      keys.push_back(std::to_string(At32(bytes, at)) + ":" + key.substr(0, key.find('\0')) +
                     ":" + std::to_string(At32(bytes, at + 8)));
    }
    return keys;
  }

  DbImage image_;
};

TEST_F(Structure, RenameNeedsExclusiveAccess) {
  OpenSource();
  EXPECT_FALSE(table_.RenameField(2, "Count"));
  EXPECT_EQ(LastDatabaseError(), -74);
  // The whole-database lock is as good as an exclusive share mode.
  ASSERT_TRUE(table_.HoldWholeDatabase());
  EXPECT_TRUE(table_.RenameField(2, "Count"));
  ASSERT_TRUE(table_.ReleaseWholeDatabase());
  EXPECT_EQ(table_.GetFieldName(2), "Count");
}

TEST_F(Structure, RenameRewritesTheSeventeenNameBytes) {
  OpenSource({.share_mode = 4});
  std::string before = Read("s.dat");
  EXPECT_TRUE(table_.RenameField("num", "工资Ab"));
  std::string after = Read("s.dat");
  const size_t at = 116 + 72;
  Text expected = "工资Ab";
  expected += Zeros(17 - expected.size());
  EXPECT_EQ(after.substr(at, 17), expected);
  EXPECT_EQ(after.substr(0, at) + after.substr(at + 17), before.substr(0, at) + before.substr(at + 17));
  EXPECT_EQ(table_.GetFieldName(2), "工资Ab");

  EXPECT_TRUE(table_.RenameField(2, "工资Ab"));  // the same name: nothing to write
  EXPECT_FALSE(table_.RenameField(2, std::string(17, 'x')));
  EXPECT_EQ(LastDatabaseError(), -18);
  EXPECT_TRUE(table_.RenameField(2, std::string(16, 'x')));
  EXPECT_FALSE(table_.RenameField(2, "KEY"));
  EXPECT_EQ(LastDatabaseError(), -20);
  EXPECT_TRUE(table_.RenameField(1, "KEY"));  // its own name in another case
  EXPECT_FALSE(table_.RenameField(9, "x"));
  EXPECT_EQ(LastDatabaseError(), -61);
  table_.CloseAllDatabases();
  EXPECT_FALSE(table_.RenameField(1, "x"));
  EXPECT_EQ(LastDatabaseError(), -67);
}

TEST_F(Structure, CopyStructureTakesTheNamedFieldsInOrder) {
  OpenSource();
  EXPECT_TRUE(table_.CopyStructure(Path("copy.dat"), {"num", "nothing", "Key"}));
  DbImage expected;
  expected.fields = {{"Num", 3, 0}, {"Key", 10, 4}};
  EXPECT_EQ(Read("copy.dat"), expected.Bytes());
  EXPECT_FALSE(Exists("copy.KDT"));
  EXPECT_EQ(table_.current()->alias(), "src");
  EXPECT_EQ(table_.open_count(), 1u);
}

TEST_F(Structure, CopyStructureWithoutNamesTakesEverythingAndMakesTheCompanion) {
  OpenSource();
  EXPECT_TRUE(table_.CopyStructure(Path("all")));
  DbImage expected;
  expected.fields = image_.fields;
  EXPECT_EQ(Read("all.KDB"), expected.Bytes());
  EXPECT_EQ(Read("all.KDT"), CompanionHeaderBytes(1, 0, 0));
  EXPECT_FALSE(table_.CopyStructure(""));
  EXPECT_EQ(LastDatabaseError(), -3);
}

TEST_F(Structure, CopyOntoTheOpenSourceIsRefusedAndHarmless) {
  AddRecord(1, "a", 1);
  OpenSource();
  std::string before = Read("s.dat");
  EXPECT_FALSE(table_.CopyStructure(Path("s.dat")));
  EXPECT_EQ(LastDatabaseError(), -12);
  EXPECT_FALSE(table_.SortToFile(Path("s.dat"), {"Key"}));
  EXPECT_EQ(LastDatabaseError(), -12);
  EXPECT_TRUE(Read("s.dat") == before);
  EXPECT_EQ(table_.ReadField("Key").text(), "a");
}

TEST_F(Structure, SortOrdersTextByBytes) {
  AddRecord(1, "b", 1);
  AddRecord(2, "A", 2);
  AddRecord(3, "a", 3);
  OpenSource();
  ASSERT_TRUE(table_.GotoRecord(2));
  EXPECT_TRUE(table_.SortToFile(Path("sorted.dat"), {"Key"}));
  EXPECT_EQ(Keys("sorted.dat"), (std::vector<std::string>{"1:A:2", "2:a:3", "3:b:1"}));
  std::string bytes = Read("sorted.dat");
  EXPECT_EQ(At32(bytes, 16), 3);
  EXPECT_EQ(At32(bytes, 20), 4);
  EXPECT_EQ(table_.current()->current_record(), 1);  // restored
  EXPECT_EQ(table_.open_count(), 1u);
}

TEST_F(Structure, SortDescendingSecondKeysAndSigns) {
  AddRecord(1, "x", 5);
  AddRecord(-2, "y", 7);  // a marked record keeps its mark
  AddRecord(3, "x", 9);
  AddRecord(4, "y", -1);
  OpenSource();
  EXPECT_TRUE(table_.SortToFile(Path("d.dat"), {"Key", "Num"}, {.ascending = {true, false}}));
  EXPECT_EQ(Keys("d.dat"),
            (std::vector<std::string>{"1:x:9", "2:x:5", "-3:y:7", "4:y:-1"}));
  // A single flag applies to the first key only.
  EXPECT_TRUE(table_.SortToFile(Path("e.dat"), {"Num"}, {.ascending = {false}}));
  EXPECT_EQ(Keys("e.dat"), (std::vector<std::string>{"1:x:9", "-2:y:7", "3:x:5", "4:y:-1"}));
}

TEST_F(Structure, SortConditionReadsTheRecordUnderTest) {
  for (int n = 1; n <= 6; ++n) AddRecord(n, std::string(1, static_cast<char>('g' - n)), n);
  OpenSource();
  int calls = 0;
  SortOptions options;
  options.condition = [&] {
    ++calls;
    return table_.ReadField("Num").integer() % 2 == 0;
  };
  EXPECT_TRUE(table_.SortToFile(Path("even.dat"), {"Key"}, options));
  EXPECT_EQ(calls, 6);
  EXPECT_EQ(Keys("even.dat"), (std::vector<std::string>{"1:a:6", "2:c:4", "3:e:2"}));
}

TEST_F(Structure, SortOfAnEmptyDatabaseMakesAnEmptyFile) {
  OpenSource();
  EXPECT_TRUE(table_.SortToFile(Path("none.dat"), {"Num"}));
  DbImage expected;
  expected.fields = image_.fields;
  EXPECT_EQ(Read("none.dat"), expected.Bytes());
}

TEST_F(Structure, SortRefusesMemoAndUnknownKeys) {
  OpenSource();
  EXPECT_FALSE(table_.SortToFile(Path("x.dat"), {"Note"}));
  EXPECT_EQ(LastDatabaseError(), -71);
  EXPECT_FALSE(table_.SortToFile(Path("x.dat"), {"Missing"}));
  EXPECT_EQ(LastDatabaseError(), -71);
  EXPECT_FALSE(Exists("x.dat"));
}

TEST_F(Structure, SortCopiesMemosIntoTheNewCompanion) {
  AddRecord(1, "b", 1);
  AddRecord(2, "a", 2);
  OpenSource();
  ASSERT_TRUE(table_.GotoRecord(1));
  ASSERT_TRUE(table_.WriteField("Note", Value::FromText(std::string(700, 'b'))));
  ASSERT_TRUE(table_.GotoRecord(2));
  ASSERT_TRUE(table_.WriteField("Note", Value::FromText("memo of a")));
  EXPECT_TRUE(table_.SortToFile(Path("m.dat"), {"Key"}, {.fields = {"Note", "Key"}}));
  ASSERT_TRUE(table_.OpenDatabase(Path("m.dat"), "m"));
  EXPECT_EQ(table_.GetFieldName(1), "Note");
  EXPECT_EQ(table_.ReadField("Key").text(), "a");
  EXPECT_EQ(table_.ReadField("Note").text(), "memo of a");
  ASSERT_TRUE(table_.Skip());
  EXPECT_EQ(table_.ReadField("Note").text(), std::string(700, 'b'));
  EXPECT_EQ(At32(Read("m.KDT"), 16), 4);  // header block, one block for a, two for b
}

TEST_F(Structure, ProtectedSourceGivesProtectedCopies) {
  image_.magic = "QCDB";
  image_.digest = recdb::PasswordDigestText("pw");
  AddRecord(1, "z", 1);
  AddRecord(2, "y", 2);
  std::string plain = image_.Bytes();
  std::string scrambled = plain;
  recdb::PageCipher("pw").Apply(0, reinterpret_cast<uint8_t*>(scrambled.data()), scrambled.size());
  std::string companion = CompanionHeaderBytes(1, 0, 0);
  recdb::PageCipher("pw").Apply(0, reinterpret_cast<uint8_t*>(companion.data()), 512);
  Write("s.dat", scrambled);
  Write("s.KDT", companion);
  ASSERT_EQ(Open("s.dat", "src", {.password = "pw"}), 0);
  ASSERT_TRUE(table_.WriteField("Note", Value::FromText("secret memo")));
  EXPECT_EQ(Read("s.KDT").substr(0, 4), "QKDT");
  EXPECT_EQ(Read("s.KDT").find("secret"), std::string::npos);
  EXPECT_TRUE(table_.SortToFile(Path("p.dat"), {"Key"}));
  std::string copy = Read("p.dat");
  EXPECT_EQ(copy.substr(0, 4), "QCDB");
  EXPECT_EQ(Open("p.dat", "p"), -78);
  ASSERT_EQ(Open("p.dat", "p", {.password = "pw"}), 0);
  EXPECT_EQ(table_.ReadField("Key").text(), "y");
  ASSERT_TRUE(table_.Skip());
  EXPECT_EQ(table_.ReadField("Note").text(), "secret memo");
  // Unscrambled, the copy's header carries the source's digest.
  recdb::PageCipher("pw").Apply(0, reinterpret_cast<uint8_t*>(copy.data()), copy.size());
  EXPECT_EQ(copy.substr(28, 32), image_.digest);
}

}  // namespace
}  // namespace sr::test
