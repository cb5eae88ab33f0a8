#include "runtime/recdb/fuzz/open_and_read.h"

#include "platform/fs/memory_file_system.h"
#include "runtime/recdb/database.h"
#include "runtime/recdb/recdb.h"

namespace sr::recdb::fuzz {
namespace {

// Records read at most per input, so that a huge count in a long file cannot stall the fuzzer.
constexpr int kMaxRecords = 4096;

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

Outcome OpenAndReadAll(const uint8_t* data, size_t size) {
  uint8_t head[3] = {0, 0, 0};
  for (size_t i = 0; i < 3 && i < size; ++i) head[i] = data[i];
  const size_t skip = size < 3 ? size : 3;
  data += skip;
  size -= skip;
  size_t companion_size = head[1] | (head[2] << 8);
  if (companion_size > size) companion_size = size;

  fs::MemoryFileSystem disk;
  const auto* bytes = reinterpret_cast<const char*>(data);
  disk.WriteContents("/fuzz.dat", std::string(bytes + companion_size, size - companion_size));
  if (companion_size > 0) disk.WriteContents("/fuzz.KDT", std::string(bytes, companion_size));

  Outcome outcome;
  DatabaseTable table(disk);
  OpenOptions options;
  options.read_only = head[0] & 1;
  if (head[0] & 2) options.password = kFuzzPassword;
  options.share_mode = (head[0] & 4) ? 4 : 1;
  if (!table.OpenDatabase("/fuzz.dat", "", options)) {
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
