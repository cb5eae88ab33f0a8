#include "runtime/convert/fatal_error.h"
#include "runtime/recdb/database.h"
#include "runtime/recdb/tests/test_files.h"

namespace sr::test {
namespace {

// Fields: text of width 10, int, double, bool, date-time, byte. Record size 4+10+4+8+1+8+1 = 36.
class Records : public DbTest {
 protected:
  void SetUp() override {
    DbTest::SetUp();
    image_.fields = {{"Text", 10, 10}, {"Int", 3, 0},  {"Dbl", 6, 0},
                     {"Flag", 7, 0},   {"When", 8, 0}, {"Small", 1, 0}};
    image_.record_count = 3;
    image_.next_serial = 4;
    for (int r = 1; r <= 3; ++r) {
      image_.records.push_back(Le32(r) + "rec" + std::to_string(r) + Zeros(6) + Le32(r * 10) +
                               LeDouble(r + 0.5) + std::string(1, r == 2 ? 7 : 0) +
                               LeDouble(40000 + r) + std::string(1, static_cast<char>(200 + r)));
    }
    Write("r.dat", image_.Bytes());
    ASSERT_EQ(Open("r.dat", "r"), 0);
  }
  // The bytes of field `offset`..+`width` of record r (0-based) as stored on disk.
  std::string Stored(int r, int offset, int width) {
    return Read("r.dat").substr(image_.DataStart() + 36 * r + offset, width);
  }

  DbImage image_;
};

TEST_F(Records, ReadsEveryKindFromItsOffset) {
  EXPECT_EQ(table_.ReadField("text").text(), "rec1");
  EXPECT_EQ(table_.ReadField(2), Value::Int(10));
  EXPECT_EQ(table_.ReadField("DBL"), Value::Double(1.5));
  EXPECT_EQ(table_.ReadField("Flag"), Value::Bool(false));
  EXPECT_EQ(table_.ReadField(5), Value::DateTime(40001));
  EXPECT_EQ(table_.ReadField(6), Value::Byte(201));
  EXPECT_TRUE(table_.GotoRecord(2));
  EXPECT_EQ(table_.ReadField("Flag"), Value::Bool(true));  // stored as 7
  // A position given as a double is cut to an integer.
  EXPECT_EQ(table_.ReadField(Value::Double(2.9)), Value::Int(20));
  EXPECT_EQ(LastDatabaseError(), 0);
}

TEST_F(Records, SkipWalksToAfterTheLastRecordThenFails) {
  table_.GoFirst();
  for (int n = 1; n <= 3; ++n) {
    EXPECT_TRUE(table_.Skip());
    EXPECT_EQ(table_.current()->current_record(), n);
  }
  EXPECT_FALSE(table_.Skip());
  EXPECT_EQ(LastDatabaseError(), -26);
  // Position 3: reading gives the empty value with -10, writing fails with -60.
  EXPECT_EQ(table_.ReadField(1), Value::FromText(""));
  EXPECT_EQ(LastDatabaseError(), -10);
  EXPECT_EQ(table_.ReadField(2), Value::Int(0));
  EXPECT_EQ(LastDatabaseError(), -10);
  std::string before = Read("r.dat");
  EXPECT_FALSE(table_.WriteField(2, Value::Int(5)));
  EXPECT_EQ(LastDatabaseError(), -60);
  EXPECT_EQ(Read("r.dat"), before);
}

TEST_F(Records, SkipBackwardsAndClamping) {
  EXPECT_TRUE(table_.Skip(-5));
  EXPECT_EQ(table_.current()->current_record(), -1);
  EXPECT_FALSE(table_.Skip(-1));
  EXPECT_EQ(LastDatabaseError(), -25);
  EXPECT_EQ(table_.ReadField(1), Value::FromText(""));
  EXPECT_EQ(LastDatabaseError(), -60);
  EXPECT_TRUE(table_.Skip(100));
  EXPECT_EQ(table_.current()->current_record(), 3);
  EXPECT_TRUE(table_.Skip(0));
  EXPECT_TRUE(table_.Skip(-2));
  EXPECT_EQ(table_.current()->current_record(), 1);
}

TEST_F(Records, GotoRecordStaysWithinTheRecords) {
  EXPECT_TRUE(table_.GotoRecord(10));
  EXPECT_EQ(table_.current()->current_record(), 2);
  EXPECT_TRUE(table_.GotoRecord(0));
  EXPECT_EQ(table_.current()->current_record(), 0);
  EXPECT_TRUE(table_.GotoRecord(INT32_MIN));
  EXPECT_EQ(table_.current()->current_record(), 0);
  EXPECT_TRUE(table_.GotoRecord(2));
  EXPECT_EQ(table_.ReadField(2), Value::Int(20));
}

TEST_F(Records, WriteConvertsNumbersAndRefusesOtherKinds) {
  EXPECT_TRUE(table_.WriteField(2, Value::Double(2.75)));
  EXPECT_EQ(Stored(0, 14, 4), Le32(2));
  EXPECT_TRUE(table_.WriteField("Dbl", Value::Int(-3)));
  EXPECT_EQ(Stored(0, 18, 8), LeDouble(-3));
  EXPECT_TRUE(table_.WriteField("Small", Value::Int(0x1FF)));
  EXPECT_EQ(Stored(0, 35, 1), "\xFF");

  EXPECT_FALSE(table_.WriteField(1, Value::Bool(true)));
  EXPECT_EQ(LastDatabaseError(), -72);
  EXPECT_FALSE(table_.WriteField(1, Value::Double(1)));
  EXPECT_EQ(LastDatabaseError(), -72);
  EXPECT_FALSE(table_.WriteField("When", Value::Double(1)));
  EXPECT_EQ(LastDatabaseError(), -72);
  EXPECT_EQ(Stored(0, 4, 10), "rec1" + Zeros(6));
  EXPECT_FALSE(table_.WriteField("Nope", Value::Int(1)));
  EXPECT_EQ(LastDatabaseError(), -61);
  EXPECT_FALSE(table_.WriteField(7, Value::Int(1)));
  EXPECT_EQ(LastDatabaseError(), -61);
}

TEST_F(Records, TextIsPaddedOrCutToTheWidth) {
  EXPECT_TRUE(table_.WriteField(1, Value::FromText("ABCDEFGHIJKL")));
  EXPECT_EQ(Stored(0, 4, 10), "ABCDEFGHIJ");
  EXPECT_EQ(Stored(0, 14, 4), Le32(10));  // the next field is untouched
  EXPECT_EQ(table_.ReadField(1).text(), "ABCDEFGHIJ");
  EXPECT_TRUE(table_.WriteField(1, Value::FromText("ABC")));
  EXPECT_EQ(Stored(0, 4, 10), "ABC" + Zeros(7));
  // An omitted value writes the empty value.
  EXPECT_TRUE(table_.WriteField(1));
  EXPECT_EQ(Stored(0, 4, 10), Zeros(10));
  EXPECT_TRUE(table_.WriteField("Flag", Value::Bool(true)));
  EXPECT_EQ(Stored(0, 26, 1), "\x01");
}

TEST_F(Records, AppendWritesABlankRecordWithTheNextSerial) {
  EXPECT_TRUE(table_.AppendBlankRecord());
  EXPECT_EQ(table_.current()->current_record(), 3);
  std::string bytes = Read("r.dat");
  EXPECT_EQ(bytes.size(), static_cast<size_t>(image_.DataStart() + 36 * 4));
  EXPECT_EQ(bytes.substr(image_.DataStart() + 36 * 3), Le32(4) + Zeros(32));
  EXPECT_EQ(At32(bytes, 16), 4);
  EXPECT_EQ(At32(bytes, 20), 5);
  EXPECT_EQ(table_.ReadField(1), Value::FromText(""));
  EXPECT_EQ(table_.ReadField(4), Value::Bool(false));
  EXPECT_EQ(table_.ReadField(5), Value::DateTime(0));
  EXPECT_EQ(table_.GetRecordCount(), 4);
}

// Whole files are read and written with the bulk calls; they must store and give back exactly
// what the field-by-field calls do, also through the record cache of a held database.
TEST_F(Records, BulkCallsMatchFieldByField) {
  for (bool held : {false, true}) {
    SCOPED_TRACE(held ? "held" : "shared");
    if (held) {
      ASSERT_TRUE(table_.HoldWholeDatabase());
    }
    const int32_t before = table_.GetRecordCount();
    const std::vector<Value> values = {
        Value::FromText("ABCDEFGHIJKL"), Value::Double(2.75), Value::Int(-3), Value::Bool(true),
        Value::DateTime(40100.5),        Value::Int(0x1FF)};
    ASSERT_TRUE(table_.AppendBlankRecord());
    for (size_t f = 0; f < values.size(); ++f)
      ASSERT_TRUE(table_.WriteField(int(f + 1), values[f]));
    ASSERT_TRUE(table_.AppendRecordValues(values));
    EXPECT_EQ(table_.current()->current_record(), before + 1);
    // Out of range and wrong values append nothing.
    EXPECT_FALSE(table_.AppendRecordValues({Value::FromText("x")}));
    EXPECT_EQ(LastDatabaseError(), -61);
    std::vector<Value> wrong = values;
    wrong[4] = Value::Double(1);
    EXPECT_FALSE(table_.AppendRecordValues(wrong));
    EXPECT_EQ(LastDatabaseError(), -72);
    EXPECT_EQ(table_.GetRecordCount(), before + 2);

    std::vector<std::vector<Value>> records = {{Value::Int(99)}};  // kept: the call appends
    ASSERT_TRUE(table_.ReadRecordValues(1, before + 2, &records));
    ASSERT_EQ(records.size(), size_t(before + 3));
    for (int32_t r = 1; r <= before + 2; ++r) {
      ASSERT_TRUE(table_.GotoRecord(r));
      ASSERT_EQ(records[r].size(), 6u);
      for (int f = 1; f <= 6; ++f) EXPECT_EQ(records[r][f - 1], table_.ReadField(f)) << r << f;
    }
    EXPECT_FALSE(table_.ReadRecordValues(before, 4, &records));
    EXPECT_EQ(LastDatabaseError(), -62);
    EXPECT_FALSE(table_.ReadRecordValues(0, 1, &records));
    EXPECT_EQ(LastDatabaseError(), -62);
    if (held) {
      ASSERT_TRUE(table_.ReleaseWholeDatabase());
    }
    // The two appended records differ only in their serial numbers.
    EXPECT_EQ(Stored(before, 4, 32), Stored(before + 1, 4, 32));
    EXPECT_EQ(Stored(before + 1, 0, 4), Le32(before + 2));
  }
}

// Records copied as their stored bytes: each copy holds the original's bytes but the file's next
// serial number, whether the file is shared or held whole.
TEST_F(Records, RawCallsCopyRecordsByteForByte) {
  for (bool held : {false, true}) {
    SCOPED_TRACE(held ? "held" : "shared");
    if (held) {
      ASSERT_TRUE(table_.HoldWholeDatabase());
    }
    const int32_t before = table_.GetRecordCount();
    std::string bytes = "replaced";
    ASSERT_TRUE(table_.ReadRecordBytes(2, 2, &bytes));
    ASSERT_EQ(bytes.size(), 72u);
    EXPECT_EQ(bytes.substr(0, 4), Le32(2));
    EXPECT_EQ(bytes.substr(4, 4), "rec2");
    ASSERT_TRUE(table_.AppendRecordBytes(bytes));
    EXPECT_EQ(table_.GetRecordCount(), before + 2);
    EXPECT_EQ(table_.current()->current_record(), before + 1);
    EXPECT_EQ(table_.ReadField("Dbl"), Value::Double(3.5));
    // Not a whole number of records, or records that are not there: nothing happens.
    EXPECT_FALSE(table_.AppendRecordBytes(bytes.substr(1)));
    EXPECT_EQ(LastDatabaseError(), -62);
    EXPECT_EQ(table_.GetRecordCount(), before + 2);
    EXPECT_FALSE(table_.ReadRecordBytes(before + 2, 2, &bytes));
    EXPECT_EQ(LastDatabaseError(), -62);
    EXPECT_FALSE(table_.ReadRecordBytes(0, 1, &bytes));
    EXPECT_EQ(LastDatabaseError(), -62);
    if (held) {
      ASSERT_TRUE(table_.ReleaseWholeDatabase());
    }
    for (int k = 0; k < 2; ++k) {
      EXPECT_EQ(Stored(before + k, 4, 32), Stored(1 + k, 4, 32));
      EXPECT_EQ(Stored(before + k, 0, 4), Le32(before + k + 1));
    }
  }
}

TEST_F(Records, ZapKeepsTheSerialNumber) {
  EXPECT_TRUE(table_.GotoRecord(3));
  EXPECT_TRUE(table_.ZapRecords());
  EXPECT_EQ(table_.current()->current_record(), 0);
  std::string bytes = Read("r.dat");
  EXPECT_EQ(bytes.size(), static_cast<size_t>(image_.DataStart()));
  EXPECT_EQ(At32(bytes, 16), 0);
  EXPECT_EQ(At32(bytes, 20), 4);
  EXPECT_EQ(table_.GetRecordCount(), 0);
  EXPECT_TRUE(table_.AppendBlankRecord());
  EXPECT_EQ(At32(Read("r.dat"), image_.DataStart()), 4);
  EXPECT_EQ(At32(Read("r.dat"), 20), 5);
}

TEST_F(Records, NonPositiveStoredSerialRestartsAtOne) {
  // The open refuses such a header, but another writer may leave one after it.
  Patch("r.dat", 20, Le32(-7));
  EXPECT_TRUE(table_.AppendBlankRecord());
  std::string bytes = Read("r.dat");
  EXPECT_EQ(At32(bytes, image_.DataStart() + 36 * 3), 1);
  EXPECT_EQ(At32(bytes, 20), 2);
}

TEST_F(Records, NegativeSerialIsIgnoredByPositioning) {
  table_.CloseAllDatabases();
  image_.records[1].replace(0, 4, Le32(-2));
  Write("r.dat", image_.Bytes());
  ASSERT_EQ(Open("r.dat"), 0);
  EXPECT_TRUE(table_.GotoRecord(2));
  EXPECT_EQ(table_.ReadField(2), Value::Int(20));
}

TEST_F(Records, FieldNamesByPositionOrName) {
  EXPECT_EQ(table_.GetFieldName(1), "Text");
  EXPECT_EQ(table_.GetFieldName("dbl"), "Dbl");
  EXPECT_EQ(table_.GetFieldName(9), "");
  EXPECT_EQ(LastDatabaseError(), 0);
  EXPECT_THROW(table_.GetFieldName(Value::Bool(true)), FatalRuntimeError);
}

TEST_F(Records, MisusesOfReadFieldAreFatal) {
  EXPECT_THROW(table_.ReadField("Nope"), FatalRuntimeError);
  try {
    table_.ReadField(Value::Bool(true));
    FAIL();
  } catch (const FatalRuntimeError& e) {
    EXPECT_EQ(e.error().number, 11);
  }
  table_.CloseDatabase();
  try {
    table_.ReadField(1);
    FAIL();
  } catch (const FatalRuntimeError& e) {
    EXPECT_EQ(e.error().number, 0);
    EXPECT_EQ(e.error().text, "未指定当前数据库或者指定数据库未打开");
  }
}

}  // namespace
}  // namespace sr::test
