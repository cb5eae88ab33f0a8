// Several real processes on one database file: appends and field writes from four processes at
// once, an exclusive open that keeps another process out (-12) and another process's
// whole-database lock that stops this one's writes (-13). The second processes are those of
// platform/fs/tests' helper: forks on Linux, the test program started again on Windows.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "base/gbk.h"
#include "platform/fs/real_file_system.h"
#include "platform/fs/tests/child_process.h"
#include "runtime/recdb/create_file.h"
#include "runtime/recdb/recdb.h"

namespace sr {
namespace {

namespace fsys = std::filesystem;
using fs::ChildProcess;

void Pause() { std::this_thread::sleep_for(std::chrono::microseconds(500)); }

// Opens validate under a whole-file lock and do not wait, so processes that meet retry (for
// up to about ten seconds: the other processes hold record locks nearly all the time).
bool OpenPatiently(DatabaseTable& table, const std::string& file) {
  for (int tries = 0; !table.OpenDatabase(FromUtf8(file), ""); ++tries) {
    if (tries == 20000) return false;
    Pause();
  }
  return true;
}

// Appends COUNT records and writes every field: FILE ID COUNT WAIT. With WAIT "wait" it says
// when it has opened the file and starts when told; it reports 0 when everything succeeded,
// else the first failure's code.
SR_CHILD_ROLE(AppendRecords) {
  const std::string& file = args[0];
  const int id = std::stoi(args[1]), count = std::stoi(args[2]);
  DatabaseTable table(fs::RealFileSystem());
  if (!OpenPatiently(table, file)) return me.Send(LastDatabaseError());
  if (args[3] == "wait") {
    me.Send(0);
    me.Receive();
  }
  int first_failure = 0;
  for (int n = 0; n < count; ++n) {
    const std::string tag = std::to_string(id) + "-" + std::to_string(n);
    bool ok = table.AppendBlankRecord() && table.WriteField(1, Value::Int(id)) &&
              table.WriteField(2, Value::Int(n)) &&
              table.WriteField(3, Value::FromText("记录" + tag)) &&
              table.WriteField(4, Value::Double(id * 10000.25 + n));
    if (!ok && first_failure == 0) first_failure = LastDatabaseError() ? LastDatabaseError() : 1;
  }
  table.CloseAllDatabases();
  me.Send(first_failure);
}

// Opens and closes FILE again and again, as other copies of the program opening it would,
// until FILE.done exists; reports 0 when every open succeeded.
SR_CHILD_ROLE(ReopenUntilDone) {
  const std::string& file = args[0];
  while (!fsys::exists(file + ".done")) {
    DatabaseTable table(fs::RealFileSystem());
    if (!OpenPatiently(table, file)) return me.Send(LastDatabaseError());
  }
  me.Send(0);
}

// Opens FILE in the default share mode once and reports the database error code (0: opened).
SR_CHILD_ROLE(OpenOnce) {
  DatabaseTable table(fs::RealFileSystem());
  me.Send(table.OpenDatabase(FromUtf8(args[0]), "") ? 0 : LastDatabaseError());
}

// Opens FILE and holds the whole-database lock until told, reporting each step's code.
SR_CHILD_ROLE(HoldWholeUntilTold) {
  DatabaseTable table(fs::RealFileSystem());
  if (!OpenPatiently(table, args[0]) || !table.HoldWholeDatabase()) {
    return me.Send(LastDatabaseError());
  }
  me.Send(0);
  me.Receive();
  me.Send(table.ReleaseWholeDatabase() ? 0 : LastDatabaseError());
}

class ShareProcessesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    dir_ = fsys::temp_directory_path() / ("recdb_share_" + std::to_string(now));
    fsys::create_directories(dir_);
    path_ = (dir_ / "shared.dat").string();
    std::vector<recdb::FieldDescriptor> fields(4);
    fields[0] = {"进程", recdb::FieldType::kInt, 0, 0};
    fields[1] = {"序号", recdb::FieldType::kInt, 0, 0};
    fields[2] = {"文本", recdb::FieldType::kText, 0, 20};
    fields[3] = {"金额", recdb::FieldType::kDouble, 0, 0};
    ASSERT_EQ(recdb::CreateDatabaseFile(fs::RealFileSystem(), FromUtf8(path_), fields, nullptr,
                                        45000),
              0);
  }
  void TearDown() override { fsys::remove_all(dir_); }

  fsys::path dir_;
  std::string path_;
};

constexpr int kProcesses = 4;
constexpr int kEach = 1000;

// After the workers: 4,000 records with unique serial numbers, each with every field written.
void ExpectEveryRecordWhole(const std::string& path) {
  DatabaseTable table(fs::RealFileSystem());
  OpenOptions read_only;
  read_only.read_only = 1;
  ASSERT_TRUE(table.OpenDatabase(FromUtf8(path), "", read_only)) << LastDatabaseError();
  ASSERT_EQ(table.GetRecordCount(), kProcesses * kEach);
  std::set<std::pair<int, int>> seen;
  table.GoFirst();
  for (int r = 0; r < kProcesses * kEach; ++r, table.Skip()) {
    const int id = table.ReadField(1).integer();
    const int n = table.ReadField(2).integer();
    const std::string tag = std::to_string(id) + "-" + std::to_string(n);
    ASSERT_EQ(table.ReadField(3), Value::FromText("记录" + tag)) << "record " << r + 1;
    ASSERT_EQ(table.ReadField(4), Value::Double(id * 10000.25 + n)) << "record " << r + 1;
    EXPECT_TRUE(seen.insert({id, n}).second) << tag << " twice";
  }
  EXPECT_EQ(seen.size(), static_cast<size_t>(kProcesses * kEach));

  // The header's count and next serial number, the file's length and the serial numbers (each
  // record's first four bytes) come out exact: read them from the raw file.
  table.CloseAllDatabases();
  std::ifstream in(fsys::path(path), std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), {});
  auto at32 = [&](size_t offset) {
    int32_t value = 0;
    std::memcpy(&value, bytes.data() + offset, 4);
    return value;
  };
  const int total = kProcesses * kEach;
  const size_t data_start = 116 + 72 * 4, record_size = 4 + 4 + 4 + 20 + 8;
  EXPECT_EQ(at32(16), total);
  EXPECT_EQ(at32(20), total + 1);
  ASSERT_EQ(bytes.size(), data_start + record_size * total);
  std::set<int32_t> serials;
  for (int r = 0; r < total; ++r) serials.insert(at32(data_start + record_size * r));
  EXPECT_EQ(serials.size(), static_cast<size_t>(total));
  EXPECT_EQ(*serials.begin(), 1);
  EXPECT_EQ(*serials.rbegin(), total);
}

std::vector<std::unique_ptr<ChildProcess>> StartWorkers(const std::string& path, const char* wait) {
  std::vector<std::unique_ptr<ChildProcess>> workers;
  for (int id = 1; id <= kProcesses; ++id) {
    workers.push_back(std::make_unique<ChildProcess>(
        "AppendRecords",
        std::vector<std::string>{path, std::to_string(id), std::to_string(kEach), wait}));
  }
  return workers;
}

TEST_F(ShareProcessesTest, FourProcessesAppendingAndWritingTogetherLoseNothing) {
  auto workers = StartWorkers(path_, "wait");
  for (auto& worker : workers) ASSERT_EQ(worker->Receive(), 0) << "a worker did not open the file";
  for (auto& worker : workers) worker->Send(1);  // all four start writing at once
  for (auto& worker : workers) EXPECT_EQ(worker->Receive(), 0);
  for (auto& worker : workers) EXPECT_EQ(worker->Wait(), 0);
  ExpectEveryRecordWhole(path_);
}

// Each open locks the whole file for a moment while it validates; the writers already under
// way meet that lock and must wait for it rather than give up halfway through a record. Here
// the writers start without waiting for each other, and another process opens the file again
// and again meanwhile.
TEST_F(ShareProcessesTest, ProcessesStartingWhileOthersWriteLoseNothing) {
  ChildProcess opener("ReopenUntilDone", {path_});
  auto workers = StartWorkers(path_, "now");
  for (auto& worker : workers) EXPECT_EQ(worker->Receive(), 0);
  std::fclose(std::fopen((path_ + ".done").c_str(), "w"));
  EXPECT_EQ(opener.Receive(), 0);
  ExpectEveryRecordWhole(path_);
}

TEST_F(ShareProcessesTest, AnExclusiveOpenKeepsAnotherProcessOut) {
  {
    DatabaseTable table(fs::RealFileSystem());
    OpenOptions exclusive;
    exclusive.share_mode = 4;
    ASSERT_TRUE(table.OpenDatabase(FromUtf8(path_), "", exclusive));
    ChildProcess other("OpenOnce", {path_});
    EXPECT_EQ(other.Receive(), -12);
  }
  // Once closed, the other process gets in.
  ChildProcess other("OpenOnce", {path_});
  EXPECT_EQ(other.Receive(), 0);
}

TEST_F(ShareProcessesTest, AnotherProcesssWholeLockStopsWritesUntilItEnds) {
  DatabaseTable table(fs::RealFileSystem());
  table.set_lock_wait(50);
  table.set_count_lock_wait(50);
  ASSERT_TRUE(table.OpenDatabase(FromUtf8(path_), ""));
  ASSERT_TRUE(table.AppendBlankRecord());
  ChildProcess holder("HoldWholeUntilTold", {path_});
  ASSERT_EQ(holder.Receive(), 0);
  EXPECT_FALSE(table.WriteField(1, Value::Int(7)));
  EXPECT_EQ(LastDatabaseError(), -13);
  EXPECT_FALSE(table.AppendBlankRecord());
  EXPECT_EQ(LastDatabaseError(), -13);
  holder.Send(1);
  EXPECT_EQ(holder.Receive(), 0);
  EXPECT_TRUE(table.WriteField(1, Value::Int(7))) << LastDatabaseError();
  EXPECT_TRUE(table.AppendBlankRecord()) << LastDatabaseError();
  EXPECT_EQ(table.GetRecordCount(), 2);
}

}  // namespace
}  // namespace sr
