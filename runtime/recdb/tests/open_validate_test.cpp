#include "runtime/recdb/database.h"
#include "runtime/recdb/page_cipher.h"
#include "runtime/recdb/tests/test_files.h"

namespace sr::test {
namespace {

DbImage TwoFields() {
  DbImage image;
  image.fields = {{"Name", 10, 6}, {"Pay", 6, 0}};
  return image;
}

std::string Record(int32_t serial, const std::string& name, double pay) {
  return Le32(serial) + name + Zeros(6 - name.size()) + LeDouble(pay);
}

using OpenCheck = DbTest;

TEST_F(OpenCheck, EmptyOrMissingNamesAreNotFound) {
  table_.OpenDatabase("", "");
  EXPECT_EQ(LastDatabaseError(), -3);
  EXPECT_EQ(Open("missing.dat"), -3);
  EXPECT_EQ(table_.open_count(), 0u);
}

TEST_F(OpenCheck, HeaderProblemsAreNotADatabaseFile) {
  Write("short.dat", TwoFields().Bytes().substr(0, 111));
  EXPECT_EQ(Open("short.dat"), -22);
  DbImage magic = TwoFields();
  magic.magic = "QKDX";
  Write("magic.dat", magic.Bytes());
  EXPECT_EQ(Open("magic.dat"), -22);
  for (int spoil = 0; spoil < 3; ++spoil) {
    DbImage image = TwoFields();
    if (spoil == 0) image.record_size = 0;
    if (spoil == 1) image.record_count = -1;
    if (spoil == 2) image.next_serial = 0;
    image.version = 65537;  // the -22 checks come before the version check
    Write("spoiled.dat", image.Bytes());
    EXPECT_EQ(Open("spoiled.dat"), -22) << "spoil " << spoil;
  }
  EXPECT_EQ(table_.open_count(), 0u);
}

TEST_F(OpenCheck, NewerVersionIsRefusedOlderAccepted) {
  DbImage image = TwoFields();
  image.version = 65537;
  Write("new.dat", image.Bytes());
  EXPECT_EQ(Open("new.dat"), -23);
  image.version = 65535;
  Write("old.dat", image.Bytes());
  EXPECT_EQ(Open("old.dat"), 0);
}

TEST_F(OpenCheck, PasswordAgainstMagic) {
  Write("plain.dat", TwoFields().Bytes());
  EXPECT_EQ(Open("plain.dat", "", {.password = "x"}), -78);
  EXPECT_EQ(Open("plain.dat"), 0);

  // A protected file: the plain image with the digest, scrambled from byte 4 on.
  DbImage image = TwoFields();
  image.magic = "QCDB";
  image.digest = "727fe1287d3f96d6b04fd23c98500190";  // of "abc", in upper case below
  for (char& c : image.digest) c = static_cast<char>(std::toupper(c));
  std::string bytes = image.Bytes();
  recdb::PageCipher("abc").Apply(0, reinterpret_cast<uint8_t*>(bytes.data()), bytes.size());
  Write("locked.dat", bytes);
  EXPECT_EQ(Open("locked.dat"), -78);
  EXPECT_EQ(Open("locked.dat", "", {.password = "ABC"}), -78);
  EXPECT_EQ(Open("locked.dat", "", {.password = "abd"}), -78);
  // The digest comparison ignores the case of the hexadecimal letters.
  EXPECT_EQ(Open("locked.dat", "", {.password = "abc"}), 0);
  EXPECT_EQ(table_.GetFieldName(2), "Pay");
}

TEST_F(OpenCheck, FieldCountAndDescriptors) {
  DbImage none = TwoFields();
  std::string bytes = none.Bytes();
  bytes.replace(112, 4, Le32(0));
  Write("none.dat", bytes);
  EXPECT_EQ(Open("none.dat"), -22);
  Write("cut.dat", TwoFields().Bytes().substr(0, 116 + 100));
  EXPECT_EQ(Open("cut.dat"), -22);
  Write("nocount.dat", TwoFields().Bytes().substr(0, 114));
  EXPECT_EQ(Open("nocount.dat"), -22);

  struct Spoil {
    size_t offset;
    std::string bytes;
  };
  // Second descriptor (at 188): name without NUL, type 0, type 13, negative offset; first
  // descriptor: text width 0.
  for (const Spoil& spoil : {Spoil{188, std::string(17, 'n')}, Spoil{188 + 20, Le32(0)},
                             Spoil{188 + 20, Le32(13)}, Spoil{188 + 24, Le32(-1)},
                             Spoil{116 + 28, Le32(0)}}) {
    std::string image = TwoFields().Bytes();
    image.replace(spoil.offset, spoil.bytes.size(), spoil.bytes);
    Write("field.dat", image);
    EXPECT_EQ(Open("field.dat"), -22) << "at " << spoil.offset;
  }
}

TEST_F(OpenCheck, FieldReachingPastTheRecordIsRefused) {
  DbImage image = TwoFields();
  image.record_size = 17;  // the double at offset 10 needs 18 bytes
  Write("over.dat", image.Bytes());
  EXPECT_EQ(Open("over.dat"), -22);
}

TEST_F(OpenCheck, EmptyDatabaseOpensWithNoRecords) {
  Write("empty.dat", TwoFields().Bytes());
  EXPECT_EQ(Size("empty.dat"), 116 + 72 * 2);
  EXPECT_EQ(Open("empty.dat"), 0);
  EXPECT_EQ(table_.GetRecordCount(), 0);
  EXPECT_EQ(table_.current()->current_record(), 0);
}

TEST_F(OpenCheck, TruncatedFileFailsReadOnlyAndIsRepairedWritable) {
  DbImage image = TwoFields();
  image.record_count = 5;
  image.next_serial = 6;
  for (int r = 1; r <= 3; ++r) image.records.push_back(Record(r, "n", r));
  std::string bytes = image.Bytes() + "xyz";  // and a partial fourth record
  Write("short.dat", bytes);
  EXPECT_EQ(Open("short.dat", "", {.read_only = 1}), -48);
  EXPECT_EQ(Open("short.dat", "", {.read_only = 2}), -48);
  EXPECT_EQ(Read("short.dat"), bytes);
  EXPECT_EQ(Open("short.dat"), 0);
  std::string repaired = Read("short.dat");
  EXPECT_EQ(repaired.size(), static_cast<size_t>(image.DataStart() + 3 * 18));
  EXPECT_EQ(At32(repaired, 16), 3);
  EXPECT_EQ(At32(repaired, 20), 6);
  EXPECT_EQ(table_.GetRecordCount(), 3);
}

TEST_F(OpenCheck, ExtraBytesAreCutWritableAndKeptReadOnly) {
  DbImage image = TwoFields();
  image.record_count = 1;
  image.next_serial = 2;
  image.records = {Record(1, "a", 1), "extra"};
  Write("extra.dat", image.Bytes());
  EXPECT_EQ(Open("extra.dat", "ro", {.read_only = 1}), 0);
  table_.CloseDatabase();
  EXPECT_EQ(Size("extra.dat"), image.DataStart() + 18 + 5);
  EXPECT_EQ(Open("extra.dat"), 0);
  EXPECT_EQ(Size("extra.dat"), image.DataStart() + 18);
}

class CompanionCheck : public DbTest {
 protected:
  void WriteMemoDatabase() {
    DbImage image;
    image.fields = {{"Note", 12, 0}};
    Write("memo.dat", image.Bytes());
  }
};

TEST_F(CompanionCheck, MissingOrDamagedCompanionIs35) {
  WriteMemoDatabase();
  EXPECT_EQ(Open("memo.dat"), -35);
  Write("memo.KDT", "QKDT");
  EXPECT_EQ(Open("memo.dat"), -35);
  std::string bad_magic = CompanionHeaderBytes(1, 0, 0);
  bad_magic[3] = 'X';
  Write("memo.KDT", bad_magic);
  EXPECT_EQ(Open("memo.dat"), -35);
  Write("memo.KDT", CompanionHeaderBytes(0, 0, 0));
  EXPECT_EQ(Open("memo.dat"), -35);
  Write("memo.KDT", CompanionHeaderBytes(2, 2, 0));
  EXPECT_EQ(Open("memo.dat"), -35);
  Write("memo.KDT", CompanionHeaderBytes(2, 0, 2));
  EXPECT_EQ(Open("memo.dat"), -35);
  // -35 checks come before the version check.
  Write("memo.KDT", CompanionHeaderBytes(2, 0, 2, 7));
  EXPECT_EQ(Open("memo.dat"), -35);
  Write("memo.KDT", CompanionHeaderBytes(1, 0, 0, 7));
  EXPECT_EQ(Open("memo.dat"), -36);
  EXPECT_EQ(table_.open_count(), 0u);
  Write("memo.KDT", CompanionHeaderBytes(1, 0, 0));
  EXPECT_EQ(Open("memo.dat"), 0);
}

TEST_F(CompanionCheck, TruncatedCompanionFailsReadOnlyAndIsRepairedWritable) {
  WriteMemoDatabase();
  Write("memo.KDT", CompanionHeaderBytes(4, 0, 0) + Zeros(512 + 100));
  EXPECT_EQ(Open("memo.dat", "", {.read_only = 1}), -37);
  EXPECT_EQ(Open("memo.dat"), 0);
  EXPECT_EQ(At32(Read("memo.KDT"), 16), 2);
}

TEST_F(CompanionCheck, FailedOpenLeavesNoFileBehind) {
  WriteMemoDatabase();
  EXPECT_EQ(Open("memo.dat", "", {.share_mode = 4}), -35);
  Write("memo.KDT", CompanionHeaderBytes(1, 0, 0));
  // Had the failed open kept its exclusive handle, this would be a sharing violation.
  EXPECT_EQ(Open("memo.dat", "", {.share_mode = 4}), 0);
}

}  // namespace
}  // namespace sr::test
