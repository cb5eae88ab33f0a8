// The income-tax calculation of a 5,000-person register on the headless backend, beside its
// floor: the same 5,000 x 19 amount cells converted once with ToNumber and back with ToText.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <vector>

#include "app/tax_rules/tax_table.h"
#include "base/gbk.h"
#include "bench/app/headless_program.h"
#include "runtime/convert/conversions.h"
#include "tools/datagen/content.h"

namespace sr::app {
namespace {

constexpr int kPeople = 5000;
constexpr int kAmountColumns = kLastAmountColumn - kFirstAmountColumn + 1;

// Amounts as a register holds them: mostly two-place amounts, some whole, some empty.
std::vector<Text> AmountTexts() {
  std::mt19937 random(42);
  std::uniform_int_distribution<int> cents(0, 1500000);
  std::vector<Text> texts;
  for (int i = 0; i < kPeople * kAmountColumns; ++i) {
    const int c = cents(random);
    texts.push_back(c % 7 == 0 ? Text() : ToText(c % 5 == 0 ? c / 100 : c / 100.0));
  }
  return texts;
}

// The program on the headless backend in a temporary program directory.
struct Program : HeadlessProgram {
  Program() : HeadlessProgram("tax_bench") {
    WriteRateTable(directory + "/" + kTaxTableFileName, datagen::TaxTableRecords());
    framework.LoadMain(window.form());
    SalaryRegister& salary_register = window.salary_register();
    salary_register.SetRowCount(kPeople + 1);
    const std::vector<Text> amounts = AmountTexts();
    for (int r = 1; r <= kPeople; ++r) {
      for (int c = 0; c < kAmountColumns; ++c) {
        salary_register.SetCellText(r, kFirstAmountColumn + c,
                                    amounts[(r - 1) * kAmountColumns + c]);
      }
    }
    for (int c = 11; c <= 14; ++c) salary_register.SetTitle(c, "保险(免税)");
  }
};

void BM_Floor_ToNumberAndToText(benchmark::State& state) {
  const std::vector<Text> texts = AmountTexts();
  std::vector<Text> out(texts.size());
  for (auto _ : state) {
    for (size_t i = 0; i < texts.size(); ++i) out[i] = ToText(ToNumber(texts[i]));
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_Floor_ToNumberAndToText)->Unit(benchmark::kMillisecond);

void BM_Calculate5000People(benchmark::State& state) {
  Program program;
  Grid& grid = program.window.form().grid();
  for (auto _ : state) program.window.OnCalculate();
  if (grid.CellText(kPeople, 18).empty() || grid.CellText(kPeople, 20).empty()) {
    state.SkipWithError("the calculation did not fill in the register");
  }
}
BENCHMARK(BM_Calculate5000People)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace sr::app
