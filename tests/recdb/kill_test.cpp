// A process killed at random moments while it writes records and memos in batches: after every
// kill the file opens, reads whole, and no companion block has two owners.
//
// SR_RECDB_KILLS sets the number of kills per mode (default 30).
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "base/gbk.h"
#include "platform/fs/real_file_system.h"
#include "runtime/recdb/chain_audit.h"
#include "runtime/recdb/create_file.h"
#include "runtime/recdb/database.h"
#include "runtime/recdb/recdb.h"

namespace sr {
namespace {

namespace fsys = std::filesystem;
using Kind = recdb::ChainFinding::Kind;

enum class Mode { kWholeLock, kExclusive };

int KillsPerMode() {
  const char* text = std::getenv("SR_RECDB_KILLS");
  const int kills = text == nullptr ? 0 : std::atoi(text);
  return kills > 0 ? kills : 30;
}

std::string RandomText(std::mt19937& random, size_t max_length) {
  std::string text(random() % (max_length + 1), '\0');
  for (char& c : text) c = static_cast<char>('a' + random() % 26);
  return text;
}

// One random change of the kind a user's edits make: appends, plain fields, memos and byte
// strings of 0 to 5 blocks, values emptied, and now and then all records removed.
void RandomChange(DatabaseTable& table, std::mt19937& random) {
  const int32_t count = table.GetRecordCount();
  const int choice = static_cast<int>(random() % 1000);
  if (count < 5 || (choice < 150 && count < 300)) {
    table.AppendBlankRecord();
    table.WriteField(1, Value::Int(static_cast<int32_t>(random())));
    table.WriteField(3, Value::FromText(RandomText(random, 2100)));
    return;
  }
  if (choice < 152) {
    table.ZapRecords();
    return;
  }
  table.GotoRecord(static_cast<int32_t>(1 + random() % count));
  if (choice < 400) {
    table.WriteField(2, Value::FromText(RandomText(random, 12)));
  } else if (choice < 600) {
    table.WriteField(3, Value::FromText(RandomText(random, 2100)));
  } else if (choice < 750) {
    table.WriteField(3, Value::FromText(""));
  } else if (choice < 900) {
    table.WriteField(4, Value::FromBytes(RandomText(random, 1200)));
  } else {
    table.WriteField(4, Value::FromBytes(""));
  }
}

// The child: opens the file, says so on `ready`, then changes it in batches until killed.
[[noreturn]] void Churn(const Text& path, Mode mode, unsigned seed, int ready) {
  DatabaseTable table(fs::RealFileSystem());
  OpenOptions options;
  options.share_mode = mode == Mode::kExclusive ? 4 : 1;
  for (int tries = 0; !table.OpenDatabase(path, "", options); ++tries) {
    if (tries == 1000) _exit(100);
    usleep(1000);
  }
  const char byte = 1;
  if (write(ready, &byte, 1) != 1) _exit(101);
  std::mt19937 random(seed);
  for (;;) {
    if (mode == Mode::kWholeLock) table.HoldWholeDatabase();
    const int changes = 1 + static_cast<int>(random() % 40);
    for (int n = 0; n < changes; ++n) RandomChange(table, random);
    if (mode == Mode::kWholeLock) {
      table.ReleaseWholeDatabase();
    } else {
      table.FlushDatabase();
    }
  }
}

struct Tally {
  int kills = 0;
  int damaged_files = 0;  // files with any finding, unopenable or unreadable
  size_t cross_linked = 0;
  size_t free_and_chained = 0;
  size_t other_findings = 0;
  int failed_opens = 0;
  int failed_reads = 0;
  int64_t records = 0;  // summed over the checks: what the kills met
  int64_t chained_blocks = 0;
};

class KillTest : public ::testing::TestWithParam<Mode> {
 protected:
  void SetUp() override {
    dir_ = fsys::temp_directory_path() / ("recdb_kill_" + std::to_string(getpid()));
    fsys::create_directories(dir_);
    path_ = FromUtf8((dir_ / "churn.dat").string());
    Create();
  }
  void TearDown() override { fsys::remove_all(dir_); }

  void Create() {
    std::vector<recdb::FieldDescriptor> fields(4);
    fields[0] = {"编号", recdb::FieldType::kInt, 0, 0};
    fields[1] = {"名称", recdb::FieldType::kText, 0, 12};
    fields[2] = {"备注", recdb::FieldType::kMemo, 0, 0};
    fields[3] = {"附件", recdb::FieldType::kBytes, 0, 0};
    ASSERT_EQ(recdb::CreateDatabaseFile(fs::RealFileSystem(), path_, fields, nullptr, 45000), 0);
  }

  // Starts a child, lets it write for a random moment after it opened the file, and kills it.
  void KillOnce(unsigned seed, std::mt19937& random) {
    int pipe_ends[2];
    ASSERT_EQ(pipe(pipe_ends), 0);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      close(pipe_ends[0]);
      Churn(path_, GetParam(), seed, pipe_ends[1]);
    }
    close(pipe_ends[1]);
    char byte = 0;
    const bool opened = read(pipe_ends[0], &byte, 1) == 1;
    close(pipe_ends[0]);
    if (opened) usleep(static_cast<useconds_t>(random() % 40000));
    kill(pid, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(opened) << "the child did not open the file: status " << status;
  }

  // Checks the file as regdb check does; returns false when anything is wrong.
  bool CheckFile(Tally* tally) {
    DatabaseTable reader(fs::RealFileSystem());
    OpenOptions read_only;
    read_only.read_only = 1;
    if (!reader.OpenDatabase(path_, "", read_only)) {
      ++tally->failed_opens;
      ADD_FAILURE() << "kill " << tally->kills << ": open fails with " << LastDatabaseError();
      return false;
    }
    recdb::ChainAudit audit;
    EXPECT_EQ(recdb::AuditChains(*reader.current(), &audit), 0);
    tally->cross_linked += audit.Count(Kind::kCrossLinked);
    tally->free_and_chained += audit.Count(Kind::kFreeAndChained);
    tally->other_findings += audit.Count(Kind::kPastEnd) + audit.Count(Kind::kDamaged);
    const int32_t count = reader.GetRecordCount();
    tally->records += count;
    tally->chained_blocks += audit.chained_blocks;
    bool read_whole = true;
    reader.GoFirst();
    for (int32_t r = 0; r < count && read_whole; ++r, reader.Skip()) {
      for (int f = 1; f <= 4 && read_whole; ++f) {
        reader.ReadField(f);
        read_whole = LastDatabaseError() == 0;
      }
    }
    if (!read_whole) ++tally->failed_reads;
    return read_whole && audit.findings.empty();
  }

  fsys::path dir_;
  Text path_;
};

TEST_P(KillTest, EveryCompanionBlockKeepsOneOwner) {
  const int kills = KillsPerMode();
  std::mt19937 random(20261207u + static_cast<unsigned>(GetParam()));
  Tally tally;
  for (tally.kills = 1; tally.kills <= kills; ++tally.kills) {
    KillOnce(static_cast<unsigned>(random()), random);
    if (HasFatalFailure()) return;
    if (!CheckFile(&tally)) {
      ++tally.damaged_files;
      fsys::remove(dir_ / "churn.dat");
      fsys::remove(dir_ / "churn.KDT");
      Create();  // count each damage once
    }
  }
  --tally.kills;
  std::printf(
      "%s: %d kills, %d damaged files: %zu cross-linked, %zu free and chained, "
      "%zu other findings, %d failed opens, %d failed reads; on average %lld records "
      "and %lld chained blocks\n",
      GetParam() == Mode::kWholeLock ? "whole-database lock" : "share mode 4", tally.kills,
      tally.damaged_files, tally.cross_linked, tally.free_and_chained, tally.other_findings,
      tally.failed_opens, tally.failed_reads,
      static_cast<long long>(tally.records / std::max(tally.kills, 1)),
      static_cast<long long>(tally.chained_blocks / std::max(tally.kills, 1)));
  EXPECT_EQ(tally.damaged_files, 0);
  EXPECT_EQ(tally.cross_linked, 0u);
  EXPECT_EQ(tally.free_and_chained, 0u);
}

INSTANTIATE_TEST_SUITE_P(Modes, KillTest, ::testing::Values(Mode::kWholeLock, Mode::kExclusive),
                         [](const ::testing::TestParamInfo<Mode>& info) {
                           return info.param == Mode::kWholeLock ? "WholeDatabaseLock"
                                                                 : "Exclusive";
                         });

}  // namespace
}  // namespace sr
