// A pay month of 5,000 residents by the cumulative method, with eleven earlier months in the
// year's ledger (55,000 records), beside the monthly calculation of the same register in the
// same run. The cumulative month reads the people file, the resident table and the ledger,
// works out every row, writes the month's records into the ledger and fills in the register.
// Before each timed calculation the ledger of eleven months is put back (untimed), so every one
// appends December as the first calculation of the month does.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <random>
#include <vector>

#include "app/tax_rules/tax_table.h"
#include "app/withholding/ledger.h"
#include "app/withholding/pay_month.h"
#include "app/withholding/people_file.h"
#include "base/gbk.h"
#include "bench/app/headless_program.h"
#include "runtime/convert/conversions.h"
#include "tools/datagen/content.h"

namespace sr::app {
namespace {

constexpr int kPeople = 5000;

Text NumberOf(int person) { return Concat({"P", ToText(10000 + person)}); }

void WritePeopleAndLedger(const Text& directory) {
  DatabaseTable databases(fs::RealFileSystem());
  std::vector<RecordValues> people;
  std::vector<LedgerEntry> ledger;
  for (int p = 1; p <= kPeople; ++p) {
    PersonTexts texts;
    texts[kPersonNumber] = NumberOf(p);
    texts[kPersonName] = Concat({"员工", ToText(p)});
    texts[kPersonIdNumber] = Concat({"ID", NumberOf(p)});
    texts[kPersonFirstAdditional + 1] = p % 3 == 0 ? "2000" : "";
    people.push_back(RecordOfTexts(texts));
  }
  for (int m = 1; m <= 11; ++m) {
    for (int p = 1; p <= kPeople; ++p) {
      LedgerEntry entry;
      entry.year = 2026;
      entry.month = m;
      entry.number = NumberOf(p);
      entry.figures.income = 8000 + p;
      entry.figures.special = 1200;
      entry.figures.withheld = 30;
      ledger.push_back(entry);
    }
  }
  Text message;
  WriteRecordFile(databases, fs::RealFileSystem(), directory + "/" + kPeopleFileName, "p",
                  PeopleFields(), people, &message);
  SaveLedger(databases, fs::RealFileSystem(), LedgerPath(directory, 2026), ledger, &message);
}

// The program on the headless backend in a temporary program directory, with a register of
// 5,000 people whose pay month is December 2026; with or without the people file.
struct Program : HeadlessProgram {
  explicit Program(bool with_people) : HeadlessProgram("withholding_bench") {
    WriteRateTable(directory + "/" + kTaxTableFileName, datagen::TaxTableRecords());
    WriteRateTable(directory + "/" + kResidentTaxTable.file_name, datagen::ResidentTableRecords());
    if (with_people) WritePeopleAndLedger(directory);
    framework.LoadMain(window.form());
    state.program_directory = directory;
    state.untitled = 0;
    state.register_path = directory + "/十二月.dat";
    WritePayMonth(fs::RealFileSystem(), state.register_path, {2026, 12});
    SalaryRegister& salary_register = window.salary_register();
    salary_register.SetRowCount(kPeople + 1);
    std::mt19937 random(42);
    std::uniform_int_distribution<int> cents(0, 1500000);
    for (int r = 1; r <= kPeople; ++r) {
      salary_register.SetCellText(r, kNumberColumn, NumberOf(r));
      salary_register.SetCellText(r, kNameColumn, Concat({"员工", ToText(r)}));
      for (int c = kFirstIncomeColumn; c <= kLastDeductionColumn; ++c) {
        if (c != kGrossPayColumn) salary_register.SetAmount(r, c, cents(random) / 100.0);
      }
    }
    for (int c = 11; c <= 14; ++c) salary_register.SetTitle(c, "保险(免税)");
  }
};

// What the ledger holds when each calculation starts.
enum class Ledger {
  kNone,              // no people file: the monthly table for everyone
  kElevenMonths,      // January to November: December is new and appended
  kDecemberIncluded,  // December already there: calculated again, it replaces itself
};

// 计算, then what saving the register writes into the ledger (the register file itself aside).
void CalculateAndWriteLedger(Program& program) {
  program.window.OnCalculate();
  WithholdingCommands& withholding = program.window.withholding();
  if (withholding.BeforeRegisterSaved(program.state.register_path)) {
    withholding.AfterRegisterSaved(program.state.register_path, true);
  }
}

void Run(benchmark::State& state, Ledger ledger) {
  Program program(ledger != Ledger::kNone);
  const Text ledger_path = LedgerPath(program.directory, 2026);
  const Text eleven_months = program.directory + "/eleven_months.dat";
  if (ledger == Ledger::kElevenMonths) fs::RealFileSystem().CopyFile(ledger_path, eleven_months);
  if (ledger == Ledger::kDecemberIncluded) CalculateAndWriteLedger(program);
  for (auto _ : state) {
    if (ledger == Ledger::kElevenMonths) {
      state.PauseTiming();
      if (fs::RealFileSystem().CopyFile(eleven_months, ledger_path) != fs::kOk) {
        state.SkipWithError("the ledger of eleven months could not be put back");
      }
      state.ResumeTiming();
    }
    CalculateAndWriteLedger(program);
  }
  if (program.window.form().grid().CellText(kPeople, 18).empty()) {
    state.SkipWithError("the calculation did not fill in the register");
  }
  if (ledger == Ledger::kNone) return;
  std::vector<LedgerEntry> entries;
  Text message;
  if (!LoadLedger(program.databases, fs::RealFileSystem(), ledger_path, 2026, &entries,
                  &message) ||
      entries.size() != 12u * kPeople) {
    state.SkipWithError("the month's records are not in the ledger");
  }
}

void BM_MonthlyTable5000People(benchmark::State& state) { Run(state, Ledger::kNone); }
BENCHMARK(BM_MonthlyTable5000People)->Unit(benchmark::kMillisecond);

void BM_CumulativeMonth5000PeopleElevenMonthsInLedger(benchmark::State& state) {
  Run(state, Ledger::kElevenMonths);
}
BENCHMARK(BM_CumulativeMonth5000PeopleElevenMonthsInLedger)->Unit(benchmark::kMillisecond);

// The same month calculated once more, as a clerk does after correcting a row.
void BM_CumulativeMonth5000PeopleCalculatedAgain(benchmark::State& state) {
  Run(state, Ledger::kDecemberIncluded);
}
BENCHMARK(BM_CumulativeMonth5000PeopleCalculatedAgain)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace sr::app
