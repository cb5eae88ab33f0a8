// A register save whose writing of the month into the ledger fails at any file change tells the
// user, changes not the ledger and stops before the register; one that says nothing has written
// the ledger. The program runs
// on the headless backend over a file system that fails every change after the n-th.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/tests/tax_test_support.h"
#include "app/withholding/ledger.h"
#include "app/withholding/tests/ledger_lines.h"
#include "app/withholding/people_file.h"
#include "app/withholding/withholding_commands.h"
#include "base/gbk.h"
#include "forms/pay_month_form.h"
#include "platform/fs/fault_injecting_file_system.h"
#include "platform/fs/forwarding_file_system.h"
#include "platform/fs/real_file_system.h"
#include "runtime/convert/conversions.h"
#include "tools/datagen/content.h"

namespace sr::app::test {
namespace {

constexpr int kTaxColumn = 18;

LedgerEntry Earlier(int month, const char* number) {
  LedgerEntry entry;
  entry.year = 2026;
  entry.month = month;
  entry.number = number;
  entry.name = number == Text("1001") ? "张三" : "李四";
  entry.figures.income = 10000;
  entry.figures.withheld = 150;
  entry.basic = 5000;
  entry.source = "往月.dat";
  return entry;
}

// A medium that may be read but not written, once `read_only` is set: as a write-protected stick
// or a disc behaves, for root too.
class SwitchableMedium : public fs::ForwardingFileSystem {
 public:
  using ForwardingFileSystem::ForwardingFileSystem;
  bool read_only = false;

  int Open(const fs::Path& path, fs::Access access, fs::Share share, fs::Disposition disposition,
           std::unique_ptr<fs::File>* file) override {
    const bool writes = access != fs::Access::kRead || disposition != fs::Disposition::kOpenExisting;
    if (read_only && writes) return fs::kAccessDenied;
    return ForwardingFileSystem::Open(path, access, share, disposition, file);
  }
  int MayReplace(const fs::Path& path, bool* allowed) override {
    *allowed = !read_only;
    return read_only ? fs::kOk : ForwardingFileSystem::MayReplace(path, allowed);
  }
};

class LedgerSaveFailureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    program_.state().program_directory = program_.directory();
    // The resident table is the monthly table's file layout under its own name.
    std::vector<TaxRow> resident;
    for (const datagen::TaxRecord& record : datagen::ResidentTableRecords()) {
      resident.push_back({double(record[0]), double(record[1]), double(record[2]),
                          double(record[3]), double(record[4])});
    }
    program_.WriteTaxTable(resident);
    std::filesystem::rename(TaxProgram::Native(program_.PathOf(kTaxTableFileName)),
                            TaxProgram::Native(program_.PathOf(kResidentTaxTable.file_name)));
    program_.WriteTaxTable(InstalledTable());
    Text message;
    std::vector<RecordValues> people;
    for (const char* number : {"1001", "1002"}) {
      PersonTexts row;
      row[kPersonNumber] = number;
      row[kPersonName] = number == Text("1001") ? "张三" : "李四";
      row[kPersonIdNumber] = Concat({"ID", number});
      people.push_back(RecordOfTexts(row));
    }
    ASSERT_TRUE(WriteRecordFile(program_.databases(), fs::RealFileSystem(),
                                program_.PathOf(kPeopleFileName), kPeopleAlias, PeopleFields(),
                                people, &message));
    ledger_ = LedgerPath(program_.directory(), 2026);
    pristine_ = program_.PathOf("pristine.dat");
    ASSERT_TRUE(SaveLedger(program_.databases(), fs::RealFileSystem(), pristine_,
                           {Earlier(1, "1001"), Earlier(1, "1002"), Earlier(2, "1001"),
                            Earlier(2, "1002")},
                           &message));
    old_lines_ = LedgerLines(pristine_);
    ASSERT_EQ(old_lines_.size(), 4u);
    program_.Start();
    program_.LayOutRegister(2, DefaultTitles());
    program_.SetRow(1, {{0, "1001"}, {1, "张三"}, {2, "10000"}});
    program_.SetRow(2, {{0, "1002"}, {1, "李四"}, {2, "20000"}});
  }

  // Calculates the month (March by default) with the ledger as it was before and saves the
  // register's month into the ledger; returns whether a message was shown.
  bool Calculate() {
    EXPECT_EQ(fs::RealFileSystem().CopyFile(pristine_, ledger_), fs::kOk);
    for (int row : {1, 2}) program_.salary_register().SetCellText(row, kTaxColumn, "");
    program_.InModal<forms::PayMonthForm>([this](forms::PayMonthForm& form) {
      form.edit_box().SetText(month_);
      form.ok_button().Raise(forms::kButtonClicked);
    });
    // February has records of another register: the question whether to count them in.
    const bool asked = month_ == Text("2026-02");
    if (asked) program_.backend().QueueAnswer(ui::MessageAnswer::kYes);
    const size_t before = program_.Messages().size() + (asked ? 1 : 0);
    WithholdingCommands commands(program_.context());
    commands.Calculate();
    EXPECT_EQ(program_.Messages().size(), before);
    const bool saved = commands.BeforeRegisterSaved(program_.PathOf("三月.dat"));
    EXPECT_EQ(saved, program_.Messages().size() == before);
    return !saved;
  }

  SwitchableMedium medium_{fs::RealFileSystem()};
  fs::FaultInjectingFileSystem files_{medium_};
  TaxProgram program_{&files_};
  // Calculates the pay month at every number of file changes before the save stops, and
  // checks what each leaves; `first_new` is the line of the month's first record.
  void FailAtEveryChange(size_t first_new) {
    const int start = files_.changes();
    ASSERT_FALSE(Calculate()) << ToUtf8(program_.Messages().back().text);
    const int steps = files_.changes() - start;
    ASSERT_GT(steps, 3);
    const std::vector<Text> new_lines = LedgerLines(ledger_);
    ASSERT_EQ(new_lines.size(), first_new + 2);
    const Text month = month_ == Text("2026-03") ? "3" : "2";
    const Text first = Concat({month, " 1001 张三 ID1001 10000 ", taxes_[0], " 5000 "});
    EXPECT_EQ(new_lines[first_new].rfind(first, 0), 0u) << ToUtf8(new_lines[first_new]);
    const Text second = Concat({month, " 1002 李四 ID1002 20000 ", taxes_[1], " 5000 "});
    EXPECT_EQ(new_lines[first_new + 1].rfind(second, 0), 0u) << ToUtf8(new_lines[first_new + 1]);
    int failed = 0;
    for (int stop_after = 0; stop_after <= steps; ++stop_after) {
      SCOPED_TRACE(stop_after);
      files_.StopAfter(stop_after);
      const bool told = Calculate();
      files_.ClearFaults();
      const SalaryRegister& reg = program_.salary_register();
      EXPECT_EQ(reg.CellText(1, kTaxColumn), taxes_[0]);
      EXPECT_EQ(reg.CellText(2, kTaxColumn), taxes_[1]);
      if (told) {
        ++failed;
        EXPECT_NE(program_.Messages().back().text.find(ledger_), Text::npos);
        EXPECT_EQ(LedgerLines(ledger_), old_lines_);
      } else {
        EXPECT_EQ(LedgerLines(ledger_), new_lines);
      }
    }
    EXPECT_EQ(failed, steps);  // every change but none fails the save
  }

  Text ledger_, pristine_;
  std::vector<Text> old_lines_;
  const char* month_ = "2026-03";
  const char* taxes_[2] = {"150", "450"};
};

// March by hand: 1001 has 30000 - 15000 = 15000 x 3% = 450 less 300 withheld = 150; 1002 has
// 40000 - 15000 = 25000 x 3% = 750 less 300 = 450. March is appended to the ledger.
TEST_F(LedgerSaveFailureTest, AFailedSaveChangesNothingAndSaysSoASilentOneWroteBoth) {
  FailAtEveryChange(4);
}

// February, the ledger's last month, from a second register: its records go after those of the
// register there, which stay and count as withheld this month. 1001 has 30000 - 10000 = 20000 x
// 3% = 600 less 300 withheld = 300; 1002 has 40000 - 10000 = 30000 x 3% = 900 less 300 = 600.
TEST_F(LedgerSaveFailureTest, TheLastMonthAgainFailedAtAnyChangeChangesNothing) {
  month_ = "2026-02";
  taxes_[0] = "300";
  taxes_[1] = "600";
  FailAtEveryChange(4);
}

// 计算 while another copy of the program holds the ledger, or in a folder that cannot be
// written: the message says what the clerk can do, and calls no file faulty.
TEST_F(LedgerSaveFailureTest, ALedgerInUseOrAFolderThatCannotBeWrittenIsSaidPlainly) {
  ASSERT_EQ(fs::RealFileSystem().CopyFile(pristine_, ledger_), fs::kOk);
  std::unique_ptr<fs::File> other_copy;
  const struct {
    std::function<void()> arrange;
    std::vector<Text> says;
  } kCases[] = {
      {[&] {
         ASSERT_EQ(fs::RealFileSystem().Open(ledger_, fs::Access::kReadWrite, fs::Share::kExclusive,
                                             fs::Disposition::kOpenExisting, &other_copy),
                   fs::kOk);
       },
       {Concat({"扣缴台账 ", ledger_, " 正被另一个程序使用"}), "请稍后再试"}},
      {[&] {
         other_copy.reset();
         medium_.read_only = true;
       },
       {"所在的文件夹不能写入", "另存为"}},
  };
  for (const auto& c : kCases) {
    c.arrange();
    program_.InModal<forms::PayMonthForm>([](forms::PayMonthForm& form) {
      form.edit_box().SetText("2026-03");
      form.ok_button().Raise(forms::kButtonClicked);
    });
    const size_t before = program_.Messages().size();
    WithholdingCommands(program_.context()).Calculate();
    ASSERT_EQ(program_.Messages().size(), before + 1);
    const Text text = program_.Messages().back().text;
    for (const Text& piece : c.says) EXPECT_NE(text.find(piece), Text::npos) << ToUtf8(text);
    EXPECT_EQ(text.find("有问题"), Text::npos) << ToUtf8(text);
  }
  medium_.read_only = false;
}

}  // namespace
}  // namespace sr::app::test
