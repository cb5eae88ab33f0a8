// The record database against SQLite on the register's own shape: 22 fields (3 text, 19 double).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <vector>

#include "bench/recdb/register_data.h"
#include "bench/recdb/sqlite_peer.h"
#include "platform/fs/real_file_system.h"
#include "runtime/recdb/create_file.h"
#include "runtime/recdb/page_cipher.h"
#include "runtime/recdb/recdb.h"
#include "tools/datagen/content.h"

namespace sr::bench {
namespace {

// How the record database file is held while the benchmark works on it.
enum Mode : int64_t {
  kShared = 0,     // default share mode: a lock and an I/O call per field
  kWholeLock = 1,  // default share mode under the whole-database lock
  kExclusive = 2,  // share mode 4
};

const char* ModeName(int64_t mode) {
  return mode == kShared ? "shared" : mode == kWholeLock ? "whole-database lock" : "exclusive";
}

void Die(const char* what) {
  std::fprintf(stderr, "%s: database error %d\n", what, LastDatabaseError());
  std::abort();
}

// Creates an empty register file (the relay file's fields).
Text CreateRegister(const std::string& name, const Text& password = Text()) {
  const Text path = BenchFolder() + "/" + name;
  std::shared_ptr<recdb::PageCipher> cipher;
  if (!password.empty()) cipher = std::make_shared<recdb::PageCipher>(password);
  if (recdb::CreateDatabaseFile(fs::RealFileSystem(), path, datagen::RelayFields(), cipher,
                                45000) != 0) {
    Die("create");
  }
  return path;
}

void Open(DatabaseTable& table, const Text& path, int64_t mode, const Text& password = Text()) {
  OpenOptions options;
  options.share_mode = mode == kExclusive ? 4 : 1;
  options.password = password;
  if (!table.OpenDatabase(path, "", options)) Die("open");
}

void AppendRows(DatabaseTable& table, const std::vector<RegisterRow>& rows) {
  for (const RegisterRow& row : rows) {
    table.AppendBlankRecord();
    table.WriteField(1, Value::FromText(row.id));
    table.WriteField(2, Value::FromText(row.name));
    for (int c = 0; c < 19; ++c) table.WriteField(3 + c, Value::Double(row.amounts[c]));
    if (!table.WriteField(22, Value::FromText(row.remark))) Die("write");
  }
}

double ReadAll(DatabaseTable& table) {
  const int32_t count = table.GetRecordCount();
  table.GoFirst();
  double sum = 0;
  for (int32_t r = 0; r < count; ++r) {
    sum += table.ReadField(1).text().size() + table.ReadField(2).text().size();
    for (int c = 3; c <= 21; ++c) sum += table.ReadField(c).floating();
    sum += table.ReadField(22).text().size();
    table.Skip();
  }
  if (LastDatabaseError() != 0) Die("read");
  return sum;
}

// A register file filled with `count` rows, made once per process and kept.
Text FilledRegister(const std::string& name, int count, const Text& password = Text()) {
  static std::map<std::string, Text> made;
  auto it = made.find(name);
  if (it != made.end()) return it->second;
  const Text path = CreateRegister(name, password);
  DatabaseTable table(fs::RealFileSystem());
  Open(table, path, kExclusive, password);
  AppendRows(table, MakeRows(count));
  table.CloseAllDatabases();
  return made[name] = path;
}

void BM_RecdbWrite5000(benchmark::State& state) {
  const auto rows = MakeRows(5000);
  const int64_t mode = state.range(0);
  DatabaseTable table(fs::RealFileSystem());
  Open(table, CreateRegister("write.dat"), mode);
  for (auto _ : state) {
    if (mode == kWholeLock) table.HoldWholeDatabase();
    if (!table.ZapRecords()) Die("zap");
    AppendRows(table, rows);
    if (mode == kWholeLock) table.ReleaseWholeDatabase();
    if (!table.FlushDatabase()) Die("flush");
  }
  state.SetLabel(ModeName(mode));
}
BENCHMARK(BM_RecdbWrite5000)->Arg(kShared)->Arg(kWholeLock)->Arg(kExclusive)
    ->Unit(benchmark::kMillisecond);

void BM_SqliteInsert5000(benchmark::State& state) {
  const auto rows = MakeRows(5000);
  SqlitePeer peer(BenchFolder() + "/insert.sqlite");
  for (auto _ : state) peer.ReplaceRows(rows);
}
BENCHMARK(BM_SqliteInsert5000)->Unit(benchmark::kMillisecond);

void BM_RecdbRead5000(benchmark::State& state) {
  const int64_t mode = state.range(0);
  DatabaseTable table(fs::RealFileSystem());
  Open(table, FilledRegister("read5000.dat", 5000), mode);
  for (auto _ : state) {
    if (mode == kWholeLock) table.HoldWholeDatabase();
    benchmark::DoNotOptimize(ReadAll(table));
    if (mode == kWholeLock) table.ReleaseWholeDatabase();
  }
  state.SetLabel(ModeName(mode));
}
BENCHMARK(BM_RecdbRead5000)->Arg(kShared)->Arg(kWholeLock)->Arg(kExclusive)
    ->Unit(benchmark::kMillisecond);

void BM_SqliteScan5000(benchmark::State& state) {
  SqlitePeer peer(BenchFolder() + "/scan.sqlite");
  peer.ReplaceRows(MakeRows(5000));
  for (auto _ : state) benchmark::DoNotOptimize(peer.ScanAll());
}
BENCHMARK(BM_SqliteScan5000)->Unit(benchmark::kMillisecond);

// 10 MB of records: 35,500 records of 296 bytes after the 1,700-byte head.
constexpr int kTenMegabytes = 35500;

Text TenMegabytePassword(bool with_password) {
  return with_password ? Text("kpm4825031") : Text();
}

Text TenMegabyteRegister(bool with_password) {
  return FilledRegister(with_password ? "ten_protected.dat" : "ten_plain.dat", kTenMegabytes,
                        TenMegabytePassword(with_password));
}

void BM_RecdbRead10MB(benchmark::State& state) {
  const bool with_password = state.range(0) != 0;
  const int64_t mode = state.range(1);
  const Text password = TenMegabytePassword(with_password);
  const Text path = TenMegabyteRegister(with_password);
  DatabaseTable table(fs::RealFileSystem());
  Open(table, path, mode, password);
  for (auto _ : state) {
    if (mode == kWholeLock) table.HoldWholeDatabase();
    benchmark::DoNotOptimize(ReadAll(table));
    if (mode == kWholeLock) table.ReleaseWholeDatabase();
  }
  state.SetLabel(std::string(with_password ? "protected, " : "plain, ") + ModeName(mode));
}
BENCHMARK(BM_RecdbRead10MB)
    ->Args({0, kShared})->Args({1, kShared})->Args({0, kWholeLock})->Args({1, kWholeLock})
    ->Unit(benchmark::kMillisecond);

// The same read under the whole-database lock, each time right after the open, so that a
// protected file's cipher has kept nothing from a read before.
void BM_RecdbOpenAndRead10MB(benchmark::State& state) {
  const bool with_password = state.range(0) != 0;
  const Text password = TenMegabytePassword(with_password);
  const Text path = TenMegabyteRegister(with_password);
  for (auto _ : state) {
    DatabaseTable table(fs::RealFileSystem());
    Open(table, path, kWholeLock, password);
    table.HoldWholeDatabase();
    benchmark::DoNotOptimize(ReadAll(table));
    table.ReleaseWholeDatabase();
    table.CloseAllDatabases();
  }
  state.SetLabel(with_password ? "protected" : "plain");
}
BENCHMARK(BM_RecdbOpenAndRead10MB)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The page cipher alone over 1 MiB, with a fresh cipher each time so nothing is kept from the
// pass before: the cost of a protected file's first read, beside the file I/O.
void BM_PageCipher1MB(benchmark::State& state) {
  std::vector<uint8_t> bytes(1 << 20, 0x5a);
  for (auto _ : state) {
    recdb::PageCipher cipher("kpm4825031");
    cipher.Apply(0, bytes.data(), bytes.size());
    benchmark::DoNotOptimize(bytes.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_PageCipher1MB)->Unit(benchmark::kMillisecond);

void BM_RecdbSortToFile100k(benchmark::State& state) {
  DatabaseTable table(fs::RealFileSystem());
  Open(table, FilledRegister("sort_source.dat", 100000), kShared);
  const Text out = BenchFolder() + "/sorted.dat";
  for (auto _ : state) {
    if (!table.SortToFile(out, {"姓名"})) Die("sort");
  }
}
BENCHMARK(BM_RecdbSortToFile100k)->Unit(benchmark::kMillisecond);

void BM_SqliteOrderBy100k(benchmark::State& state) {
  SqlitePeer peer(BenchFolder() + "/sort.sqlite");
  peer.ReplaceRows(MakeRows(100000));
  for (auto _ : state) peer.SortByName();
}
BENCHMARK(BM_SqliteOrderBy100k)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace sr::bench
