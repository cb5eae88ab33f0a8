#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "app/summary/summary_command.h"
#include "app/summary/summary_printout.h"
#include "app/tests/app_harness.h"
#include "runtime/convert/date_time.h"

namespace sr::app {
namespace {

using testing::AppHarness;
using testing::Gbk;

// 2014-05-03 15:20, a day that the printout shows as 2014年5月3日.
double MayThird() { return MakeDateTime({2014, 5, 3, 15, 20, 0}); }

class SummaryTest : public ::testing::Test {
 protected:
  SummaryTest() : command_(harness_.context()) { command_.set_clock(MayThird); }

  // Runs the summary and returns the 20 x 3 texts the window showed.
  std::vector<std::vector<Text>> RunAndRead() {
    std::vector<std::vector<Text>> shown;
    harness_.WithSummaryWindow([this] { command_.Run(); },
                               [&](forms::SummaryForm& form) {
                                 Grid& grid = form.grid();
                                 for (int r = 0; r < grid.RowCount(); ++r) {
                                   shown.emplace_back();
                                   for (int c = 0; c < grid.ColumnCount(); ++c) {
                                     shown.back().push_back(grid.CellText(r, c));
                                   }
                                 }
                               });
    return shown;
  }

  void RunAndPrint() {
    harness_.WithSummaryWindow([this] { command_.Run(); },
                               [this](forms::SummaryForm&) { harness_.Press(u8"按钮_打印"); });
  }

  AppHarness harness_;
  SummaryCommand command_;
};

TEST_F(SummaryTest, EveryPartialSumIsRoundedToTwoPlaces) {
  harness_.SetCell(1, 2, "0.004");
  harness_.SetCell(2, 2, "0.004");  // 0.008 unrounded; 0 + 0.004 -> 0, 0 + 0.004 -> 0
  harness_.SetCell(1, 3, "0.005");
  harness_.SetCell(2, 3, "0.005");  // 0.01 + 0.005 -> 0.02
  harness_.SetCell(1, 20, "1234.20");
  harness_.SetCell(3, 20, "0.30");         // 1234.50 shows as 1234.5
  harness_.SetCell(5000, 12, "7");         // the last row counts
  harness_.SetCell(4, 12, Gbk(u8"张三"));  // not a number: adds 0
  harness_.SetCell(6, 12, "-2.5");
  std::vector<std::vector<Text>> shown = RunAndRead();
  ASSERT_EQ(shown.size(), 20u);
  EXPECT_EQ(shown[1][2], "0");
  EXPECT_EQ(shown[2][2], "0.02");
  EXPECT_EQ(shown[19][2], "1234.5");
  EXPECT_EQ(shown[11][2], "4.5");
  EXPECT_DOUBLE_EQ(command_.totals()[18], 1234.5);
}

TEST_F(SummaryTest, WindowShowsNumbersTitlesWithTheirSuffixAndAmounts) {
  harness_.SetCell(0, 2, Gbk(u8"基本工资"));
  harness_.SetCell(0, 5, Gbk(u8"奖金(免税)"));
  harness_.SetCell(0, 20, Gbk(u8"实发工资"));
  harness_.SetCell(1, 2, "1000");
  harness_.SetCell(2, 2, "2000.5");
  harness_.SetCell(1, 0, "not summed");
  harness_.SetCell(1, 21, "99");  // column 21 is free text, not an amount
  Grid* summary = nullptr;
  std::vector<std::vector<Text>> shown;
  harness_.WithSummaryWindow([this] { command_.Run(); },
                             [&](forms::SummaryForm& form) {
                               summary = &form.grid();
                               EXPECT_EQ(summary->RowCount(), 20);
                               EXPECT_EQ(summary->ColumnCount(), 3);
                               EXPECT_EQ(summary->ColumnWidth(1), 120);
                               EXPECT_EQ(summary->ColumnWidth(2), 80);
                               for (int c = 0; c < 3; ++c) {
                                 EXPECT_EQ(summary->CellAlignment(0, c), Alignment::kCentre);
                               }
                               for (int r = 0; r < 20; ++r) {
                                 EXPECT_EQ(summary->CellAlignment(r, 0), Alignment::kCentre);
                               }
                               EXPECT_EQ(summary->CellAlignment(5, 1), Alignment::kLeft);
                               EXPECT_EQ(summary->CellAlignment(5, 2), Alignment::kLeft);
                               EXPECT_EQ(harness_.backend().active_window()->caption(),
                                         Gbk(u8"工资汇总"));
                             });
  shown = RunAndRead();
  EXPECT_EQ(shown[0][0], "");
  EXPECT_EQ(shown[0][1], Gbk(u8"工资项目名称"));
  EXPECT_EQ(shown[0][2], Gbk(u8"金  额"));
  for (int i = 1; i <= 19; ++i) EXPECT_EQ(shown[i][0], std::to_string(i));
  EXPECT_EQ(shown[1][1], Gbk(u8"基本工资"));
  EXPECT_EQ(shown[1][2], "3000.5");
  EXPECT_EQ(shown[4][1], Gbk(u8"奖金(免税)"));
  EXPECT_EQ(shown[19][1], Gbk(u8"实发工资"));
  EXPECT_EQ(shown[2][1], "");  // an untitled column shows an empty name
  for (int i = 2; i <= 19; ++i) EXPECT_EQ(shown[i][2], "0") << i;
}

TEST_F(SummaryTest, RunningTwiceShowsTheSameTotals) {
  harness_.SetCell(1, 10, "12.34");
  harness_.SetCell(2, 10, "0.01");
  std::vector<std::vector<Text>> first = RunAndRead();
  std::vector<std::vector<Text>> second = RunAndRead();
  EXPECT_EQ(first, second);
  EXPECT_EQ(second[9][2], "12.35");
}

TEST_F(SummaryTest, RegisterWithoutPeopleShowsZeroEverywhere) {
  harness_.salary_register().SetRowCount(1);
  std::vector<std::vector<Text>> shown = RunAndRead();
  for (int i = 1; i <= 19; ++i) EXPECT_EQ(shown[i][2], "0") << i;
}

// An amount past the range of a double, or a total that runs past it, would show and print as
// "1.#INF": the summary says where and does not open.
TEST_F(SummaryTest, AmountOrTotalPastTheRangeOfADoubleIsNamedAndNoWindowOpens) {
  harness_.SetCell(0, 7, Gbk(u8"补贴"));
  harness_.SetCell(3, 0, "003");
  harness_.SetCell(3, 1, Gbk(u8"王五"));
  harness_.SetCell(3, 7, "1e309");
  const auto& log = harness_.backend().screen_log();
  const size_t start = log.size();
  command_.Run();
  harness_.SetCell(3, 7, "1.7e308");
  harness_.SetCell(5, 7, "1.7e308");
  command_.Run();
  std::vector<Text> messages;
  for (size_t i = start; i < log.size(); ++i) {
    const headless::ScreenEvent& event = log[i];
    EXPECT_NE(event.kind, headless::ScreenEvent::Kind::kWindowCreated) << ToUtf8(event.text);
    if (event.kind == headless::ScreenEvent::Kind::kMessageBox) {
      messages.push_back(event.message.text);
    }
  }
  harness_.SetCell(5, 7, "-1.7e308");
  EXPECT_EQ(RunAndRead()[6][2], "0");
  EXPECT_EQ(messages,
            (std::vector<Text>{
                Gbk(u8"无法汇总：第 3 行（003 王五）“补贴”一栏的金额“1e309”超出了程序能处理的"
                    u8"范围。请改正后再汇总。"),
                Gbk(u8"无法汇总：“补贴”一栏的合计加到第 5 行时超出了程序能处理的范围。"
                    u8"请改正后再汇总。")}));
}

TEST(SummaryRulesTest, RulesAreTwentySixFullWidthCharactersWithJunctionsAligned) {
  const Text rules[] = {SummaryTopRule(), SummaryCellRule(), SummaryMiddleRule(),
                        SummaryBottomRule()};
  // The bars of the cell rule stand at characters 0, 4, 16 and 25.
  const std::u32string bars[] = {U"┌┬┬┐", U"││││", U"├┼┼┤", U"└┴┴┘"};
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(rules[k].size(), 52u);
    std::string utf8 = ToUtf8(rules[k]);
    std::u32string chars;
    for (size_t i = 0; i < utf8.size();) {  // three-byte UTF-8 for every character here
      ASSERT_EQ(static_cast<unsigned char>(utf8[i]) & 0xF0, 0xE0) << k;
      chars += static_cast<char32_t>(((utf8[i] & 0x0F) << 12) | ((utf8[i + 1] & 0x3F) << 6) |
                                     (utf8[i + 2] & 0x3F));
      i += 3;
    }
    ASSERT_EQ(chars.size(), 26u);
    const char32_t fill = k == 1 ? U'\u3000' : U'─';
    for (int i = 0; i < 26; ++i) {
      const int bar = i == 0 ? 0 : i == 4 ? 1 : i == 16 ? 2 : i == 25 ? 3 : -1;
      EXPECT_EQ(chars[i], bar >= 0 ? bars[k][bar] : fill) << "rule " << k << " char " << i;
    }
  }
}

// One line per text drawn: x and y in 0.1 mm (back from the 600 dpi device), font size, text.
struct Drawn {
  int x;
  int y;
  double points;
  Text text;
  bool operator==(const Drawn&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Drawn& d) {
  return out << d.x << "," << d.y << " " << d.points << "pt " << ToUtf8(d.text);
}

int Device(int tenth_mm) { return static_cast<int>(std::lround(tenth_mm * 600 / 254.0)); }

TEST_F(SummaryTest, PrintsHeadingDateRulesAndEveryCellAtItsPlace) {
  harness_.SetCell(0, 2, Gbk(u8"奖金(免税)"));
  harness_.SetCell(1, 2, "1234.2");
  harness_.SetCell(2, 2, "0.3");
  RunAndPrint();
  std::vector<Drawn> expected;
  expected.push_back({600, 300, 16, Gbk(u8"工 资 汇 总 表")});
  expected.push_back({320, 400, 12, Gbk(u8"打印日期：2014年5月3日")});
  expected.push_back({300, 450, 12, SummaryTopRule()});
  int y = 450;
  for (int i = 0; i < 19; ++i) {
    expected.push_back({300, y += 38, 12, SummaryCellRule()});
    expected.push_back({300, y += 38, 12, SummaryMiddleRule()});
  }
  expected.push_back({300, y += 38, 12, SummaryCellRule()});
  expected.push_back({300, y += 38, 12, SummaryBottomRule()});
  EXPECT_EQ(y, 1970);
  // The title row's first cell is empty and draws nothing.
  expected.push_back({500, 490, 12, Gbk(u8"工资项目名称")});
  expected.push_back({1030, 490, 12, Gbk(u8"金  额")});
  for (int k = 1; k < 20; ++k) {
    const int row_y = 490 + 76 * k;
    expected.push_back({400, row_y, 12, std::to_string(k)});
    if (k == 1) expected.push_back({500, row_y, 12, Gbk(u8"奖金(免税)")});
    expected.push_back({1030, row_y, 12, k == 1 ? Text("1234.5") : Text("0")});
  }
  const std::vector<print::DrawnText>& texts = harness_.printer().texts();
  ASSERT_EQ(texts.size(), expected.size());
  for (size_t i = 0; i < texts.size(); ++i) {
    EXPECT_EQ(texts[i].x, Device(expected[i].x)) << i << ": " << expected[i];
    EXPECT_EQ(texts[i].y, Device(expected[i].y)) << i << ": " << expected[i];
    EXPECT_EQ(texts[i].font.points, expected[i].points) << i << ": " << expected[i];
    EXPECT_EQ(texts[i].font.face, Gbk(u8"宋体")) << i;
    EXPECT_EQ(texts[i].text, expected[i].text) << i;
    EXPECT_EQ(texts[i].page, texts[0].page);
  }
  // A4 portrait, through the print dialog, one page, and the job ended.
  const print::RecordingPrintSeam& printer = harness_.printer();
  EXPECT_EQ(printer.paper().paper_number, 9);
  EXPECT_EQ(printer.orientation(), print::Orientation::kPortrait);
  const std::vector<std::string>& calls = printer.calls();
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "ShowPrintDialog"), 1);
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "StartPage"), 1);
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "EndDocument"), 1);
  EXPECT_FALSE(printer.context_open());
  EXPECT_FALSE(printer.status_window_open());
}

TEST_F(SummaryTest, CancelledPrintDialogPrintsNothingAndSaysNothing) {
  harness_.printer().dialog_answer = print::DialogOutcome::kCancelled;
  RunAndPrint();
  EXPECT_TRUE(harness_.printer().texts().empty());
  for (const std::string& call : harness_.printer().calls()) {
    EXPECT_EQ(call.find("StartDocument"), std::string::npos) << call;
  }
  for (const headless::ScreenEvent& event : harness_.backend().screen_log()) {
    EXPECT_NE(event.kind, headless::ScreenEvent::Kind::kMessageBox);
  }
}

TEST_F(SummaryTest, PrintingTwiceGivesTwoIdenticalJobsAndChangesNoData) {
  harness_.SetCell(1, 19, "5.5");
  harness_.WithSummaryWindow([this] { command_.Run(); },
                             [this](forms::SummaryForm& form) {
                               harness_.Press(u8"按钮_打印");
                               harness_.Press(u8"按钮_打印");
                               EXPECT_EQ(form.grid().CellText(18, 2), "5.5");
                             });
  const std::vector<print::DrawnText>& texts = harness_.printer().texts();
  ASSERT_EQ(texts.size() % 2, 0u);
  const size_t half = texts.size() / 2;
  for (size_t i = 0; i < half; ++i) EXPECT_EQ(texts[i].text, texts[half + i].text) << i;
  EXPECT_EQ(harness_.grid().CellText(1, 19), "5.5");
  EXPECT_EQ(harness_.context().state.modified, 0);
}

}  // namespace
}  // namespace sr::app
