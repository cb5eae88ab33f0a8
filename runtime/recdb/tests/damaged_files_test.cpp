// Damaged files must fail with a code, never crash or hang: random bytes are spoiled in a valid
// database and companion, and every operation is run on whatever still opens.
#include <random>

#include "runtime/convert/fatal_error.h"
#include "runtime/recdb/tests/test_files.h"

namespace sr::test {
namespace {

using DamagedFiles = DbTest;

TEST_F(DamagedFiles, SpoiledBytesGiveCodesNotCrashes) {
  DbImage image;
  image.fields = {{"T", 10, 6}, {"N", 6, 0}, {"M", 12, 0}, {"B", 11, 0}};
  image.record_count = 3;
  image.next_serial = 4;
  for (int r = 0; r < 3; ++r) {
    image.records.push_back(Le32(r + 1) + "abc" + Zeros(3) + LeDouble(r) + Le32(r == 1 ? 1 : 0) +
                            Le32(0));
  }
  std::string chain = Le32(0) + Le32(0) + Le32(5) + "hello" + Zeros(495);
  const std::string database = image.Bytes();
  const std::string companion = CompanionHeaderBytes(2, 0, 0) + chain;
  std::mt19937 random(2024);
  int opened = 0;
  for (int round = 0; round < 120; ++round) {
    std::string db = database, kdt = companion;
    for (int n = 0; n < 1 + round % 4; ++n) {
      std::string& target = random() % 3 == 0 ? kdt : db;
      target[random() % target.size()] = static_cast<char>(random());
    }
    if (round % 10 == 0) db.resize(random() % db.size());
    Write("d.dat", db);
    Write("d.KDT", kdt);
    if (Open("d.dat") != 0) continue;
    ++opened;
    int32_t count = table_.GetRecordCount();
    table_.GoFirst();
    for (int32_t r = 0; r <= count; ++r) {
      for (int f = 1; f <= 4; ++f) table_.ReadField(f);
      table_.WriteField(3, Value::FromText(std::string(random() % 1200, 'x')));
      table_.Skip();
    }
    table_.AppendBlankRecord();
    table_.SortToFile(Path("sorted.dat"), {"N"});
    table_.ZapRecords();
    table_.CloseAllDatabases();
  }
  EXPECT_GT(opened, 12);
}

}  // namespace
}  // namespace sr::test
