#include "runtime/recdb/fuzz/open_and_read.h"

#include <cstdio>

#include "base/gbk.h"
#include "runtime/recdb/database.h"
#include "runtime/recdb/recdb.h"

namespace sr::recdb::fuzz {
namespace {

// Records read at most per input, so that a huge count in a long file cannot stall the fuzzer.
constexpr int kMaxRecords = 4096;

bool WriteFile(const std::string& path, const uint8_t* data, size_t size) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  bool ok = std::fwrite(data, 1, size, file) == size;
  return std::fclose(file) == 0 && ok;
}

}  // namespace

std::string MakeInput(uint8_t flags, const std::string& companion, const std::string& database) {
  std::string input(1, static_cast<char>(flags));
  input += static_cast<char>(companion.size() & 0xFF);
  input += static_cast<char>((companion.size() >> 8) & 0xFF);
  return input + companion + database;
}

bool IsExpectedOpenCode(int code) {
  switch (code) {
    case -22: case -23: case -35: case -36: case -37: case -48: case -78:
      return true;
    default:
      return false;
  }
}

Outcome OpenAndReadAll(const std::string& folder, const uint8_t* data, size_t size) {
  uint8_t head[3] = {0, 0, 0};
  for (size_t i = 0; i < 3 && i < size; ++i) head[i] = data[i];
  const size_t skip = size < 3 ? size : 3;
  data += skip;
  size -= skip;
  size_t companion_size = head[1] | (head[2] << 8);
  if (companion_size > size) companion_size = size;

  const std::string database = folder + "/fuzz.dat";
  const std::string companion = folder + "/fuzz.KDT";
  std::remove(companion.c_str());
  if (!WriteFile(database, data + companion_size, size - companion_size) ||
      (companion_size > 0 && !WriteFile(companion, data, companion_size))) {
    std::perror("fuzz: cannot write the input files");
    std::abort();
  }

  Outcome outcome;
  DatabaseTable table;
  OpenOptions options;
  options.read_only = head[0] & 1;
  if (head[0] & 2) options.password = kFuzzPassword;
  options.share_mode = (head[0] & 4) ? 4 : 1;
  if (!table.OpenDatabase(FromUtf8(database), "", options)) {
    outcome.open_code = LastDatabaseError();
    return outcome;
  }
  const int32_t count = table.GetRecordCount();
  table.GoFirst();
  const int fields = static_cast<int>(table.current()->fields().size());
  for (int32_t r = 0; r < count && r < kMaxRecords; ++r) {
    for (int f = 1; f <= fields; ++f) {
      table.ReadField(f);
      if (LastDatabaseError() != 0) ++outcome.read_failures;
    }
    ++outcome.records;
    table.Skip();
  }
  table.CloseAllDatabases();
  return outcome;
}

}  // namespace sr::recdb::fuzz
