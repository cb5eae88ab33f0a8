// Payslips and the whole register on the recording print seam (a fixed text grid at 600 dpi),
// the printouts window on the headless screen, and the settings file.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/printouts/payslip_printout.h"
#include "app/printouts/printout_settings.h"
#include "app/printouts/printouts_window.h"
#include "app/printouts/register_printout.h"
#include "app/printouts/tests/printout_test_register.h"
#include "app/summary/summary_command.h"
#include "app/tests/app_harness.h"
#include "app/tests/register_test_files.h"
#include "forms/printouts_form.h"
#include "platform/fs/real_file_system.h"
#include "runtime/convert/conversions.h"

namespace sr::app {
namespace {

using testing::AppHarness;
using testing::Gbk;

// The texts drawn on each page (from 1).
std::map<int, std::vector<print::DrawnText>> TextsByPage(const print::RecordingPrintSeam& seam) {
  std::map<int, std::vector<print::DrawnText>> pages;
  for (const print::DrawnText& text : seam.texts()) pages[text.page].push_back(text);
  return pages;
}

const print::DrawnText* FindText(const std::vector<print::DrawnText>& texts, const Text& text) {
  for (const print::DrawnText& drawn : texts) {
    if (drawn.text == text) return &drawn;
  }
  return nullptr;
}

int CountText(const std::vector<print::DrawnText>& texts, const Text& text) {
  return static_cast<int>(std::count_if(texts.begin(), texts.end(),
                                        [&](const print::DrawnText& t) { return t.text == text; }));
}

Text Name(int k) { return Gbk(u8"员工") + std::to_string(k); }

class PayslipTest : public ::testing::Test {
 protected:
  void Fill(int people) { testing::FillPrintoutRegister(harness_.salary_register(), people); }
  bool Print(const std::vector<int>& rows, PayslipOptions options) {
    Printer printer(&harness_.printer());
    return PrintPayslips(printer, harness_.salary_register(), rows, options);
  }
  AppHarness harness_;
};

// Thirty strips: each person's number, name and amounts drawn once, under the heading of the
// strip, on one page; pages hold the same number of strips; every text and line stays on the
// printable area; a dashed cut between strips of a page, none after the last of a page.
TEST_F(PayslipTest, ThirtyPeopleEachOnAWholeStripOfOnePage) {
  Fill(30);
  ASSERT_TRUE(Print({}, {Gbk(u8"示例公司"), "", false}));
  const print::RecordingPrintSeam& seam = harness_.printer();
  EXPECT_EQ(seam.calls().front().rfind("PrepareSettings paper=9 portrait", 0), 0u);
  auto pages = TextsByPage(seam);
  ASSERT_GE(pages.size(), 2u);
  const Text heading = Gbk(u8"示例公司　工资条");
  std::vector<int> strips_on_page;
  for (auto& [page, texts] : pages) strips_on_page.push_back(CountText(texts, heading));
  for (size_t p = 0; p + 1 < strips_on_page.size(); ++p) {
    EXPECT_EQ(strips_on_page[p], strips_on_page[0]) << "page " << p + 1;
  }
  int total = 0;
  for (int n : strips_on_page) total += n;
  EXPECT_EQ(total, 30);

  const int per_page = strips_on_page[0];
  for (int k = 1; k <= 30; ++k) {
    SCOPED_TRACE(k);
    const int page = (k - 1) / per_page + 1;
    const std::vector<print::DrawnText>& texts = pages[page];
    const print::DrawnText* name = FindText(texts, Name(k));
    ASSERT_NE(name, nullptr);
    // The strip's heading is the nearest above the name; the strip's amounts lie between it and
    // the next heading.
    int strip_top = -1;
    int next_top = seam.geometry.printable_height + 1;
    for (const print::DrawnText& t : texts) {
      if (t.text != heading) continue;
      if (t.y <= name->y) strip_top = std::max(strip_top, t.y);
      if (t.y > name->y) next_top = std::min(next_top, t.y);
    }
    ASSERT_GE(strip_top, 0);
    const Text net = ToText(harness_.salary_register().Amount(k, kNetPayColumn));
    const Text base = ToText(harness_.salary_register().Amount(k, 2));
    for (const Text& own : {net, base, harness_.salary_register().Number(k)}) {
      bool inside = false;
      for (const print::DrawnText& t : texts) {
        inside |= t.text == own && t.y > strip_top && t.y < next_top;
      }
      EXPECT_TRUE(inside) << own;
    }
  }
  for (const print::DrawnText& t : seam.texts()) {
    EXPECT_LE(t.y + harness_.printer().EmOf(t.font), seam.geometry.printable_height) << t.text;
  }
  int cuts = 0;
  for (const print::DrawnLine& line : seam.lines()) {
    EXPECT_LE(std::max(line.x1, line.x2), seam.geometry.printable_width);
    EXPECT_LE(std::max(line.y1, line.y2), seam.geometry.printable_height);
    cuts += line.style == print::LineStyle::kDashed;
  }
  EXPECT_EQ(cuts, 30 - static_cast<int>(pages.size()));
}

TEST_F(PayslipTest, OmittingLeavesOutOnlyItemsEmptyOrZeroForEveryonePrinted) {
  Fill(30);
  ASSERT_TRUE(Print({}, {"", "", true}));
  const auto& texts = harness_.printer().texts();
  EXPECT_EQ(CountText(texts, Gbk(u8"津贴")), 0);         // "0" or empty for all
  EXPECT_EQ(CountText(texts, Gbk(u8"其他扣款")), 0);     // empty for all
  EXPECT_EQ(CountText(texts, Gbk(u8"奖金(免税)")), 30);  // only person 7 has one
  EXPECT_EQ(CountText(texts, Gbk(u8"加班费")), 30);
  EXPECT_EQ(CountText(texts, Gbk(u8"备注")), 30);    // person 3's remark
  EXPECT_EQ(CountText(texts, Gbk(u8"工资条")), 30);  // no company: the heading alone

  // Among rows 1 and 2 nobody has a remark or a bonus; without the option all items print.
  harness_.printer() = print::RecordingPrintSeam();
  ASSERT_TRUE(Print({1, 2}, {"", "", true}));
  EXPECT_EQ(CountText(harness_.printer().texts(), Gbk(u8"备注")), 0);
  EXPECT_EQ(CountText(harness_.printer().texts(), Gbk(u8"奖金(免税)")), 0);
  EXPECT_EQ(CountText(harness_.printer().texts(), Name(1)), 1);
  EXPECT_EQ(CountText(harness_.printer().texts(), Name(3)), 0);
  harness_.printer() = print::RecordingPrintSeam();
  ASSERT_TRUE(Print({1, 2}, {"", "", false}));
  EXPECT_EQ(CountText(harness_.printer().texts(), Gbk(u8"津贴")), 2);
}

TEST_F(PayslipTest, NobodyOrACancelledDialogPrintsNothing) {
  EXPECT_FALSE(Print({}, {}));  // a new register holds no person
  EXPECT_TRUE(harness_.printer().calls().empty());
  Fill(3);
  harness_.SetCell(2, kNameColumn, "");  // no name: not a person
  harness_.printer().dialog_answer = print::DialogOutcome::kCancelled;
  EXPECT_FALSE(Print({2}, {}));
  EXPECT_FALSE(Print({}, {}));
  EXPECT_TRUE(harness_.printer().texts().empty());
  EXPECT_FALSE(harness_.printer().context_open());
}

TEST(PayslipHeadingTest, CompanyAndPayMonthWhenKnown) {
  EXPECT_EQ(PayslipHeading({"", "", false}), Gbk(u8"工资条"));
  EXPECT_EQ(PayslipHeading({Gbk(u8"甲公司"), Gbk(u8"2026年11月"), false}),
            Gbk(u8"甲公司　工资条　2026年11月"));
  EXPECT_EQ(RegisterHeading({"", Gbk(u8"2026年11月"), RegisterPaper::kA4}),
            Gbk(u8"工资表　2026年11月"));
}

TEST(SplitIntoRunsTest, FillsEachRunAndGivesAnOversizeColumnItsOwn) {
  using Runs = std::vector<std::vector<int>>;
  EXPECT_EQ(SplitIntoRuns({40, 40, 20, 30}, 100), (Runs{{0, 1, 2}, {3}}));
  EXPECT_EQ(SplitIntoRuns({150, 40, 70}, 100), (Runs{{0}, {1}, {2}}));
  EXPECT_EQ(SplitIntoRuns({30, 30, 30}, 100, 40), (Runs{{0, 1}, {2}}));
  EXPECT_EQ(SplitIntoRuns({}, 100), Runs{});
}

class RegisterPrintoutTest : public ::testing::Test {
 protected:
  // The summary's totals of the harness's register.
  SummaryTotals Totals() {
    SummaryTotals totals;
    Text problem;
    EXPECT_TRUE(ComputeTotals(harness_.salary_register(), &totals, &problem));
    return totals;
  }
  void Print(RegisterPaper paper) {
    Printer printer(&harness_.printer());
    ASSERT_TRUE(PrintRegister(printer, harness_.salary_register(), Totals(),
                              {Gbk(u8"示例公司"), "", paper}));
  }
  AppHarness harness_;
};

// 80 people on landscape A4: the columns do not fit, so each group of columns takes its pages,
// down first; every page has the heading, the titles of its columns with number and name, and
// "第 N 页 共 M 页"; the totals row closes each group with the summary's totals.
TEST_F(RegisterPrintoutTest, PagesGoDownThenAcrossWithTitlesPageLinesAndTotals) {
  testing::FillPrintoutRegister(harness_.salary_register(), 80);
  harness_.SetCell(100, 20, "5");  // a row with an amount but no person counts as the summary does
  Print(RegisterPaper::kA4);
  const print::RecordingPrintSeam& seam = harness_.printer();
  EXPECT_EQ(seam.calls().front(), "PrepareSettings paper=9 landscape");
  auto pages = TextsByPage(seam);
  const int m = static_cast<int>(pages.size());
  ASSERT_GE(m, 4);
  std::set<Text> titles_seen;
  std::vector<int> first_names;
  for (auto& [page, texts] : pages) {
    SCOPED_TRACE(page);
    EXPECT_EQ(CountText(texts, Gbk(u8"示例公司　工资表")), 1);
    EXPECT_EQ(CountText(texts, PageLine(page, m)), 1);
    EXPECT_EQ(CountText(texts, Gbk(u8"编号")), 1);
    EXPECT_EQ(CountText(texts, Gbk(u8"姓名")), 1);
    for (const Text& title : harness_.salary_register().Titles()) {
      if (CountText(texts, title) > 0) titles_seen.insert(title);
    }
    int first = 0;
    for (int k = 80; k >= 1; --k) {
      if (CountText(texts, Name(k)) > 0) first = k;
    }
    first_names.push_back(first);
    for (const print::DrawnText& t : texts) {
      EXPECT_LE(t.y + harness_.printer().EmOf(t.font), 4660) << t.text;  // landscape height
    }
  }
  EXPECT_EQ(titles_seen.size(), 22u);
  // Down first: the first name of each page grows within a group and starts again with the next.
  int groups = 0;
  for (size_t p = 0; p < first_names.size(); ++p) {
    if (first_names[p] == 1) ++groups;
    if (p > 0 && first_names[p] != 1) {
      EXPECT_GT(first_names[p], first_names[p - 1]);
    }
  }
  ASSERT_GE(groups, 2);
  EXPECT_EQ(m % groups, 0);
  // The totals: once per group, each amount the summary's total on the same line as "合计".
  const SummaryTotals totals = Totals();
  EXPECT_EQ(CountText(seam.texts(), Gbk(u8"合计")), groups);
  for (int i = 0; i < kSummaryItems; ++i) {
    const Text expected = ToText(totals[i]);
    bool on_totals_line = false;
    for (const print::DrawnText& sum : seam.texts()) {
      if (sum.text != Gbk(u8"合计")) continue;
      for (const print::DrawnText& t : seam.texts()) {
        on_totals_line |= t.page == sum.page && t.y == sum.y && t.text == expected;
      }
    }
    EXPECT_TRUE(on_totals_line) << "column " << kFirstAmountColumn + i << " " << expected;
  }
  EXPECT_EQ(FindText(pages[m], Gbk(u8"合计")) != nullptr, true);
}

TEST_F(RegisterPrintoutTest, A3TakesFewerPagesAndAnEmptyRegisterStillPrintsItsTotals) {
  testing::FillPrintoutRegister(harness_.salary_register(), 80);
  Print(RegisterPaper::kA4);
  const size_t a4_pages = TextsByPage(harness_.printer()).size();
  harness_.printer() = print::RecordingPrintSeam();
  Print(RegisterPaper::kA3);
  EXPECT_EQ(harness_.printer().calls().front(), "PrepareSettings paper=8 landscape");
  EXPECT_LT(TextsByPage(harness_.printer()).size(), a4_pages);

  AppHarness empty;
  Printer printer(&empty.printer());
  SummaryTotals zeros{};
  ASSERT_TRUE(PrintRegister(printer, empty.salary_register(), zeros, {}));
  auto pages = TextsByPage(empty.printer());
  EXPECT_GE(pages.size(), 1u);
  EXPECT_GE(CountText(empty.printer().texts(), Gbk(u8"合计")), 1);
  EXPECT_EQ(CountText(empty.printer().texts(), PageLine(1, static_cast<int>(pages.size()))), 1);
}

// The window on the headless screen: opened from the file menu, it shows the kept company name,
// keeps a new one, and each button prints through the print dialog.
class PrintoutsWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = testing::MakeTempFolder("printouts");
    harness_.context().state.program_directory = dir_.string();
    testing::FillPrintoutRegister(harness_.salary_register(), 12);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  // Chooses a menu entry; while the printouts window is up, `inside` gets its form.
  void WithWindow(int menu_entry, const std::function<void(forms::PrintoutsForm&)>& inside) {
    harness_.backend().QueueModalScript([this, inside] {
      auto* form = dynamic_cast<forms::PrintoutsForm*>(harness_.framework().active_window());
      ASSERT_NE(form, nullptr);
      inside(*form);
    });
    harness_.form().menu().Choose(menu_entry);
  }

  std::filesystem::path dir_;
  AppHarness harness_;
};

TEST_F(PrintoutsWindowTest, CompanyNameIsKeptAndHeadsTheNextPrintout) {
  WithWindow(forms::kMenuPrintouts, [&](forms::PrintoutsForm& form) {
    EXPECT_EQ(form.company_box().text(), "");
    EXPECT_EQ(form.range_label().caption(), Gbk(u8"工资条：全部人员，共 12 人"));
    form.company_box().SetText(Gbk(u8"甲公司"));
    harness_.Press(u8"按钮工资条");
  });
  EXPECT_EQ(CountText(harness_.printer().texts(), Gbk(u8"甲公司　工资条")), 12);
  fs::FileSystem& files = fs::RealFileSystem();
  EXPECT_EQ(LoadPrintoutSettings(files, dir_.string()).company, Gbk(u8"甲公司"));

  harness_.printer() = print::RecordingPrintSeam();
  WithWindow(forms::kMenuPrintouts, [&](forms::PrintoutsForm& form) {
    EXPECT_EQ(form.company_box().text(), Gbk(u8"甲公司"));
    harness_.Press(u8"按钮工资表A3");
  });
  EXPECT_EQ(harness_.printer().calls().front(), "PrepareSettings paper=8 landscape");
  EXPECT_EQ(CountText(harness_.printer().texts(), Gbk(u8"甲公司　工资表")), 1);

  // A new name left by the close box, without printing, is kept too.
  WithWindow(forms::kMenuPrintouts, [&](forms::PrintoutsForm& form) {
    form.company_box().SetText(Gbk(u8"乙公司"));
  });
  EXPECT_EQ(LoadPrintoutSettings(files, dir_.string()).company, Gbk(u8"乙公司"));
}

TEST_F(PrintoutsWindowTest, ShortcutMenuPrintsTheChosenRowsOnly) {
  harness_.grid().Select(CellRange{4, 0, 6, 3});
  WithWindow(forms::kMenuPrintChosenPayslips, [&](forms::PrintoutsForm& form) {
    EXPECT_EQ(form.range_label().caption(), Gbk(u8"工资条：所选的行，共 3 人"));
    harness_.Press(u8"按钮工资条省略");
  });
  const auto& texts = harness_.printer().texts();
  for (int k = 1; k <= 12; ++k) EXPECT_EQ(CountText(texts, Name(k)), k >= 4 && k <= 6 ? 1 : 0);
}

TEST(PrintoutSettingsTest, TextRoundTripsAndUnknownLinesAreIgnored) {
  PrintoutSettings settings{Gbk(u8"乙公司 第二分厂")};
  EXPECT_EQ(ParsePrintoutSettings(PrintoutSettingsText(settings)).company, settings.company);
  EXPECT_EQ(ParsePrintoutSettings(Gbk(u8"其他=1\n单位名称=丙\n")).company, Gbk(u8"丙"));
  EXPECT_EQ(ParsePrintoutSettings("").company, "");
  fs::FileSystem& files = fs::RealFileSystem();
  EXPECT_EQ(LoadPrintoutSettings(files, "/nonexistent-folder").company, "");
  EXPECT_NE(SavePrintoutSettings(files, "/nonexistent-folder", settings), 0);
}

}  // namespace
}  // namespace sr::app
