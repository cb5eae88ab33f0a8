// Two copies of the program (and regdb) writing one ledger at once: whatever each says it
// wrote is in the ledger afterwards. A writer that finds the ledger changed since it read it
// refuses, and one that waits for another's write sees that write.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/withholding/ledger.h"
#include "app/withholding/tests/test_folder.h"
#include "base/gbk.h"
#include "platform/fs/forwarding_file_system.h"
#include "platform/fs/real_file_system.h"
#include "runtime/recdb/wait.h"

namespace sr::app::test {
namespace {

constexpr int kPeople = 5;
constexpr int kMonths = 5;

LedgerEntry Entry(int month, int person, const Text& source) {
  LedgerEntry entry;
  entry.year = 2026;
  entry.month = month;
  entry.number = std::to_string(1000 + person);
  entry.name = "张三";
  entry.figures.income = 10000 + person;
  entry.figures.withheld = 90;
  entry.basic = 5000;
  entry.result.tax = 90;
  entry.source = source;
  return entry;
}

std::vector<LedgerEntry> MonthOf(int month, const Text& source) {
  std::vector<LedgerEntry> entries;
  for (int p = 0; p < kPeople; ++p) entries.push_back(Entry(month, p, source));
  return entries;
}

// The writers of a ledger. Each writes records whose source names it, in a month of its own.
enum class Writer {
  kMonthInPlace,  // 计算 of the month after the last one: appended in place (month 12)
  kRewrite,       // 计算 of an earlier month: the whole ledger written anew (month 3 or 2)
  kTakeOver,      // the take-over import of earlier months: written anew (month 7 or 8)
  kRegdbImport,   // regdb import of one record (month 11)
};

const char* Name(Writer w) {
  switch (w) {
    case Writer::kMonthInPlace: return "month in place";
    case Writer::kRewrite: return "whole rewrite";
    case Writer::kTakeOver: return "take-over import";
    case Writer::kRegdbImport: return "regdb import";
  }
  return "";
}

// Runs the writer as copy `source` ("A" or "B"); true when it says it wrote.
bool Write(Writer writer, fs::FileSystem& files, const Text& path, const Text& source) {
  DatabaseTable databases(files);
  Text message;
  const bool first = source == "A";
  if (writer == Writer::kMonthInPlace || writer == Writer::kRewrite) {
    const int month = writer == Writer::kMonthInPlace ? 12 : first ? 3 : 2;
    LedgerOfMonth ledger;
    return LoadLedgerOfMonth(databases, files, path, 2026, month, &ledger, &message) &&
           SaveLedgerOfMonth(databases, files, path, ledger, MonthOf(month, source), &message);
  }
  if (writer == Writer::kTakeOver) {
    std::vector<LedgerEntry> entries;
    LedgerStamp stamp;
    const int month = first ? 7 : 8;
    return LoadLedger(databases, files, path, 2026, &entries, &message, &stamp) &&
           SaveLedger(databases, files, path, ReplaceMonth(entries, month, MonthOf(month, source)),
                      &message, &stamp);
  }
  const std::string file = ToUtf8(path);
  std::ofstream(file + ".csv") << ToUtf8("月份,编号,来源\n202611,999,") << ToUtf8(source) << "\n";
  const std::string command =
      "'" REGDB_PATH "' import '" + file + "' '" + file + ".csv' >/dev/null 2>&1";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Whether the ledger holds records that `source` wrote.
bool Holds(const Text& path, const Text& source) {
  DatabaseTable databases(fs::RealFileSystem());
  std::vector<LedgerEntry> entries;
  Text message;
  EXPECT_TRUE(LoadLedger(databases, fs::RealFileSystem(), path, 2026, &entries, &message))
      << message;
  for (const LedgerEntry& e : entries) {
    if (e.source == source) return true;
  }
  return false;
}

// The other copy's write, run on a thread of its own.
class OtherCopy {
 public:
  explicit OtherCopy(std::function<bool()> write)
      : thread_([this, write = std::move(write)] {
          wrote_ = write();
          done_ = true;
        }) {}
  ~OtherCopy() { Wrote(); }
  // Waits up to `ms` for the write to end.
  void WaitUpTo(int ms) {
    const int64_t until = recdb::MonotonicMilliseconds() + ms;
    while (!done_ && recdb::MonotonicMilliseconds() < until) recdb::SleepMilliseconds(5);
  }
  bool Wrote() {
    if (thread_.joinable()) thread_.join();
    return wrote_;
  }

 private:
  std::atomic<bool> done_{false};
  bool wrote_ = false;
  std::thread thread_;
};

// A file system that, when its writer is about to put its new ledger in place, lets the other
// copy write and waits until that is done or `pause_ms` have passed.
class PausedAtSaving : public fs::ForwardingFileSystem {
 public:
  PausedAtSaving(std::function<bool()> other, int pause_ms)
      : ForwardingFileSystem(fs::RealFileSystem()), other_(std::move(other)), pause_ms_(pause_ms) {}

  int ReplaceFile(const fs::Path& from, const fs::Path& to) override {
    if (running_ == nullptr && from.ends_with(".saving")) {
      running_ = std::make_unique<OtherCopy>(other_);
      running_->WaitUpTo(pause_ms_);
    }
    return ForwardingFileSystem::ReplaceFile(from, to);
  }
  bool OtherWrote() { return running_ != nullptr && running_->Wrote(); }

 private:
  std::function<bool()> other_;
  int pause_ms_;
  std::unique_ptr<OtherCopy> running_;
};

// The real disk without the waits for it to make each file durable, which the trials below do
// not look at: they look at who wrote what, and the waits would make 200 trials take long.
class UnsyncedFiles : public fs::ForwardingFileSystem {
 public:
  UnsyncedFiles() : ForwardingFileSystem(fs::RealFileSystem()) {}

 protected:
  std::unique_ptr<fs::File> WrapFile(std::unique_ptr<fs::File> file) override {
    struct Unsynced : fs::ForwardingFile {
      using ForwardingFile::ForwardingFile;
      int Sync() override { return fs::kOk; }
    };
    return std::make_unique<Unsynced>(std::move(file));
  }
};

class LedgerWritersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = FreshTestFolder("ledger_writers").string();
    path_ = LedgerPath(folder_, 2026);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  void MakeLedger() {
    std::vector<LedgerEntry> entries;
    for (int month = 1; month <= kMonths; ++month) {
      for (LedgerEntry& e : MonthOf(month, "工资.dat")) entries.push_back(e);
    }
    UnsyncedFiles files;
    DatabaseTable databases(files);
    Text message;
    ASSERT_TRUE(SaveLedger(databases, files, path_, entries, &message)) << message;
  }

  // Neither copy says it wrote what the ledger then lacks.
  void ExpectNothingLost(Writer a, bool a_wrote, Writer b, bool b_wrote) {
    SCOPED_TRACE(std::string(Name(a)) + " (A) against " + Name(b) + " (B)");
    EXPECT_TRUE(a_wrote || b_wrote) << "both refused";
    if (a_wrote) EXPECT_TRUE(Holds(path_, "A")) << "A said done, its records are gone";
    if (b_wrote) EXPECT_TRUE(Holds(path_, "B")) << "B said done, its records are gone";
  }

  std::string folder_;
  Text path_;
};

// A copy paused at its `.saving` file, after its check that the ledger is unchanged and before
// its rename, while the other copy writes.
TEST_F(LedgerWritersTest, WriterPausedBeforeItsRenameLosesNothingOfTheOther) {
  for (Writer a : {Writer::kRewrite, Writer::kTakeOver}) {
    for (Writer b : {Writer::kMonthInPlace, Writer::kRewrite, Writer::kTakeOver,
                     Writer::kRegdbImport}) {
      MakeLedger();
      const int pause_ms = b == Writer::kRegdbImport ? 800 : 150;
      PausedAtSaving files([&] { return Write(b, fs::RealFileSystem(), path_, "B"); }, pause_ms);
      const bool a_wrote = Write(a, files, path_, "A");
      ExpectNothingLost(a, a_wrote, b, files.OtherWrote());
    }
  }
}

// Two copies started together, as a clerk on two computers might: 200 trials.
TEST_F(LedgerWritersTest, TwoCopiesWritingAtOnceLoseNothing) {
  const Writer kinds[] = {Writer::kMonthInPlace, Writer::kRewrite, Writer::kTakeOver};
  UnsyncedFiles unsynced;
  for (int trial = 0; trial < 200; ++trial) {
    const Writer a = trial % 2 == 0 ? Writer::kRewrite : Writer::kTakeOver;
    const Writer b = kinds[(trial / 2) % 3];
    MakeLedger();
    OtherCopy other([&] { return Write(b, unsynced, path_, "B"); });
    const bool a_wrote = Write(a, unsynced, path_, "A");
    ExpectNothingLost(a, a_wrote, b, other.Wrote());
    if (HasFailure()) break;
  }
}

}  // namespace
}  // namespace sr::app::test
