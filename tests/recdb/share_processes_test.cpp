// Several real processes on one database file: appends and field writes from several processes
// at once, and an exclusive open that keeps another process out.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "base/gbk.h"
#include "platform/fs/real_file_system.h"
#include "runtime/recdb/create_file.h"
#include "runtime/recdb/recdb.h"

extern char** environ;

namespace sr {
namespace {

namespace fsys = std::filesystem;

pid_t Spawn(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  pid_t pid = -1;
  EXPECT_EQ(posix_spawn(&pid, SR_SHARE_WORKER, nullptr, nullptr, argv.data(), environ), 0);
  return pid;
}

int ExitStatus(pid_t pid) {
  int status = 0;
  if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1000;
  return WEXITSTATUS(status);
}

class ShareProcessesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fsys::temp_directory_path() / ("recdb_share_" + std::to_string(getpid()));
    fsys::create_directories(dir_);
    path_ = (dir_ / "shared.dat").string();
    std::vector<recdb::FieldDescriptor> fields(4);
    fields[0] = {"进程", recdb::FieldType::kInt, 0, 0};
    fields[1] = {"序号", recdb::FieldType::kInt, 0, 0};
    fields[2] = {"文本", recdb::FieldType::kText, 0, 20};
    fields[3] = {"金额", recdb::FieldType::kDouble, 0, 0};
    ASSERT_EQ(
        recdb::CreateDatabaseFile(fs::RealFileSystem(), FromUtf8(path_), fields, nullptr, 45000),
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

  // The serial numbers are the record's first four bytes: read them from the raw file.
  table.CloseAllDatabases();
  std::FILE* file = std::fopen(path.c_str(), "rb");
  ASSERT_NE(file, nullptr);
  const long data_start = 116 + 72 * 4, record_size = 4 + 4 + 4 + 20 + 8;
  std::set<int32_t> serials;
  for (int r = 0; r < kProcesses * kEach; ++r) {
    int32_t serial = 0;
    std::fseek(file, data_start + r * record_size, SEEK_SET);
    ASSERT_EQ(std::fread(&serial, 4, 1, file), 1u);
    serials.insert(serial);
  }
  std::fclose(file);
  EXPECT_EQ(serials.size(), static_cast<size_t>(kProcesses * kEach));
  EXPECT_EQ(*serials.begin(), 1);
  EXPECT_EQ(*serials.rbegin(), kProcesses * kEach);
}

std::vector<pid_t> StartWorkers(const char* command, const std::string& path) {
  std::vector<pid_t> workers;
  for (int id = 1; id <= kProcesses; ++id) {
    workers.push_back(
        Spawn({"share_worker", command, path, std::to_string(id), std::to_string(kEach)}));
  }
  return workers;
}

TEST_F(ShareProcessesTest, FourProcessesAppendingAndWritingTogetherLoseNothing) {
  std::vector<pid_t> workers = StartWorkers("append", path_);
  for (int id = 1; id <= kProcesses; ++id) {
    for (int waited = 0; !fsys::exists(path_ + ".ready" + std::to_string(id)); ++waited) {
      ASSERT_LT(waited, 20000) << "worker " << id << " did not open the file";
      usleep(500);
    }
  }
  std::FILE* go = std::fopen((path_ + ".go").c_str(), "w");  // all four start writing at once
  ASSERT_NE(go, nullptr);
  std::fclose(go);
  for (pid_t pid : workers) EXPECT_EQ(ExitStatus(pid), 0);
  ExpectEveryRecordWhole(path_);
}

// Each open locks the whole file for a moment while it validates; the writers already under
// way meet that lock and must wait for it rather than give up halfway through a record. Here
// the writers start without waiting for each other, and another process opens the file again
// and again meanwhile.
TEST_F(ShareProcessesTest, ProcessesStartingWhileOthersWriteLoseNothing) {
  const pid_t opener = Spawn({"share_worker", "reopen", path_});
  std::vector<pid_t> workers = StartWorkers("append-now", path_);
  for (pid_t pid : workers) EXPECT_EQ(ExitStatus(pid), 0);
  std::fclose(std::fopen((path_ + ".done").c_str(), "w"));
  EXPECT_EQ(ExitStatus(opener), 0);
  ExpectEveryRecordWhole(path_);
}

TEST_F(ShareProcessesTest, AnExclusiveOpenKeepsAnotherProcessOut) {
  {
    DatabaseTable table(fs::RealFileSystem());
    OpenOptions exclusive;
    exclusive.share_mode = 4;
    ASSERT_TRUE(table.OpenDatabase(FromUtf8(path_), "", exclusive));
    EXPECT_EQ(ExitStatus(Spawn({"share_worker", "open", path_})), 12);  // -12
  }
  // Once closed, the other process gets in.
  EXPECT_EQ(ExitStatus(Spawn({"share_worker", "open", path_})), 0);
}

// Forked copies of this process that all open before any appends: the header's count and next
// serial number and the file's length come out exact, and no serial number is given twice.
TEST_F(ShareProcessesTest, ForkedProcessesAppendingTogetherGetDistinctSerials) {
  constexpr int kForked = 3;
  constexpr int kAppends = 200;
  std::vector<pid_t> children;
  int ready[2], go[2];
  ASSERT_EQ(pipe(ready), 0);
  ASSERT_EQ(pipe(go), 0);
  for (int p = 0; p < kForked; ++p) {
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      close(ready[0]);
      close(go[1]);
      DatabaseTable mine(fs::RealFileSystem());
      int failures = 0;
      // Opens that meet try again.
      int tries = 0;
      while (!mine.OpenDatabase(FromUtf8(path_), "")) {
        if (++tries == 2000) _exit(100);
        usleep(1000);
      }
      char byte = 1;
      if (write(ready[1], &byte, 1) != 1) _exit(101);
      close(ready[1]);
      if (read(go[0], &byte, 1) != 0) _exit(102);  // end of file: everybody is open
      for (int n = 0; n < kAppends; ++n) {
        if (!mine.AppendBlankRecord() || !mine.WriteField(1, Value::Int(1000 * (p + 1) + n))) {
          ++failures;
        }
      }
      mine.CloseAllDatabases();
      _exit(failures);
    }
    children.push_back(pid);
  }
  close(ready[1]);
  close(go[0]);
  int opened = 0;
  char byte = 0;
  while (opened < kForked && read(ready[0], &byte, 1) == 1) ++opened;
  close(go[1]);  // lets every child go, also when one failed to open
  EXPECT_EQ(opened, kForked);
  close(ready[0]);
  for (pid_t pid : children) EXPECT_EQ(ExitStatus(pid), 0);
  std::ifstream in(path_, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), {});
  auto at32 = [&](size_t offset) {
    int32_t value = 0;
    std::memcpy(&value, bytes.data() + offset, 4);
    return value;
  };
  const int total = kForked * kAppends;
  const size_t data_start = 116 + 72 * 4, record_size = 4 + 4 + 4 + 20 + 8;
  ASSERT_EQ(at32(16), total);
  EXPECT_EQ(at32(20), total + 1);
  ASSERT_EQ(bytes.size(), data_start + record_size * total);
  std::set<int32_t> serials, values;
  for (int r = 0; r < total; ++r) {
    serials.insert(at32(data_start + record_size * r));
    values.insert(at32(data_start + record_size * r + 4));
  }
  EXPECT_EQ(serials.size(), static_cast<size_t>(total));
  EXPECT_EQ(*serials.rbegin(), total);
  EXPECT_EQ(values.size(), static_cast<size_t>(total));
}

}  // namespace
}  // namespace sr
