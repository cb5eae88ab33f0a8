// The floor of a full calculation: every amount cell of a 5,000-row register read with ToNumber
// and written back with ToText, without the grid or the tax rules around it.

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "runtime/convert/conversions.h"

namespace sr {
namespace {

constexpr int kRows = 5000;
constexpr int kAmountColumns = 19;

// Amount texts as a register holds them: mostly two-place amounts, some whole, some empty.
std::vector<Text> AmountTexts() {
  std::mt19937 random(42);
  std::uniform_int_distribution<int> cents(0, 5000000);
  std::vector<Text> texts;
  texts.reserve(kRows * kAmountColumns);
  for (int i = 0; i < kRows * kAmountColumns; ++i) {
    const int c = cents(random);
    if (c % 7 == 0) {
      texts.push_back("");
    } else if (c % 5 == 0) {
      texts.push_back(ToText(static_cast<double>(c / 100)));
    } else {
      texts.push_back(ToText(c / 100.0));
    }
  }
  return texts;
}

void BM_ToNumber(benchmark::State& state) {
  const std::vector<Text> texts = AmountTexts();
  for (auto _ : state) {
    double sum = 0;
    for (const Text& t : texts) sum += ToNumber(t);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * texts.size());
}
BENCHMARK(BM_ToNumber)->Unit(benchmark::kMillisecond);

void BM_ToNumberRoundToText(benchmark::State& state) {
  const std::vector<Text> texts = AmountTexts();
  std::vector<Text> out(texts.size());
  for (auto _ : state) {
    for (size_t i = 0; i < texts.size(); ++i) out[i] = ToText(RoundToPlaces(ToNumber(texts[i]), 2));
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations() * texts.size());
}
BENCHMARK(BM_ToNumberRoundToText)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace sr
