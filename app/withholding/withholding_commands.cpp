#include "app/withholding/withholding_commands.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <new>

#include "app/progress_display.h"
#include "app/register/backups.h"
#include "app/tax_rules/fen.h"
#include "app/tax_rules/monthly_calculation.h"
#include "app/tax_rules/tax_calculation.h"
#include "app/withholding/explanation.h"
#include "app/withholding/register_month.h"
#include "app/withholding/take_over.h"
#include "app/withholding/withholding_list.h"
#include "app/withholding/withholding_list_window.h"
#include "forms/file_dialog.h"
#include "forms/events.h"
#include "forms/pay_month_form.h"
#include "runtime/convert/conversions.h"
#include "runtime/convert/date_time.h"

namespace sr::app {
namespace {

const char kTitle[] = "个人收入所得税计算";
const char kNewRegister[] = "（未保存的新工资表）";

Text JoinLines(const std::vector<Text>& lines, size_t most = 20) {
  Text joined;
  for (size_t i = 0; i < lines.size() && i < most; ++i) joined += lines[i] + "\r\n";
  if (lines.size() > most) joined += Concat({"……共 ", ToText(int32_t(lines.size())), " 项\r\n"});
  return joined;
}

}  // namespace

Text WithholdingCommands::PeoplePath() const {
  return Concat({app_.state.program_directory, "/", kPeopleFileName});
}

Text WithholdingCommands::LedgerPathOf(int year) const {
  return LedgerPath(app_.state.program_directory, year);
}

Text WithholdingCommands::RegisterSource() const {
  return app_.state.untitled ? Text(kNewRegister) : app_.state.register_path;
}

void WithholdingCommands::ShowError(const Text& text) {
  app_.framework.ShowMessage(text, kTitle, ui::MessageButtons::kOk, ui::MessageIcon::kError);
}

bool WithholdingCommands::Confirm(const Text& text) {
  return app_.framework.ShowMessage(text, kTitle, ui::MessageButtons::kYesNo,
                                    ui::MessageIcon::kQuestion) == ui::MessageAnswer::kYes;
}

PayMonth WithholdingCommands::RememberedPayMonth() const {
  if (month_register_ == RegisterSource() && month_.known()) return month_;
  if (app_.state.untitled) return PayMonth();
  return ReadPayMonth(app_.seams.files, app_.state.register_path);
}

void WithholdingCommands::RegisterReplaced() {
  // A save that the unsaved-changes prompt of New or Open made is told of here.
  OfferRecalculation(false);
  pending_.reset();
  replaced_.reset();
  month_register_.clear();
}

void WithholdingCommands::Remember(const PayMonth& pay_month) {
  last_used_ = pay_month;
  month_register_ = RegisterSource();
  month_ = pay_month;
}

PayMonth WithholdingCommands::ProposedPayMonth() {
  if (last_used_.known()) return NextMonth(last_used_);
  const DateTimeParts today = BreakDateTime(Now());
  // The month after the last one in the newest ledger of this year or the last.
  for (int year : {today.year, today.year - 1}) {
    std::vector<LedgerEntry> entries;
    Text ignored;
    if (LoadLedger(app_.databases, app_.seams.files, LedgerPathOf(year), year, &entries,
                   &ignored) &&
        LastMonth(entries) > 0) {
      return NextMonth({year, LastMonth(entries)});
    }
  }
  return {today.year, today.month};
}

bool WithholdingCommands::AskPayMonth(const PayMonth& proposed, PayMonth* chosen) {
  forms::PayMonthForm form;
  form.prompt_label().SetCaption("这张工资表是哪年哪月的工资？（如 2026-03）");
  form.edit_box().SetText(PayMonthText(proposed));
  bool confirmed = false;
  form.ok_button().Bind(forms::kButtonClicked, [&](const forms::EventArgs&) {
    if (!ParseYearMonth(form.edit_box().text(), &chosen->year, &chosen->month)) {
      app_.framework.ShowMessage(
          Concat({"“", form.edit_box().text(), "”不是年月，请写成 2026-03 这样"}), "计算月份");
      return;
    }
    confirmed = true;
    app_.framework.Close(form);
  });
  form.cancel_button().Bind(forms::kButtonClicked,
                            [&](const forms::EventArgs&) { app_.framework.Close(form); });
  app_.framework.ShowModal(form);
  return confirmed;
}

bool WithholdingCommands::PayMonthOfRegister(PayMonth* pay_month) {
  *pay_month = RememberedPayMonth();
  if (pay_month->known()) {
    last_used_ = *pay_month;
    return true;
  }
  if (!AskPayMonth(ProposedPayMonth(), pay_month)) return false;
  Remember(*pay_month);
  return true;
}

void WithholdingCommands::Calculate() {
  // Said before anything is worked out; the amounts are calculated rounded, as they say.
  if (const Text finer = FinerThanFenWarning(FinerThanFenCells(app_.salary_register));
      !finer.empty()) {
    app_.framework.ShowMessage(finer, kTitle,
                               ui::MessageButtons::kOk, ui::MessageIcon::kWarning);
  }
  if (!FileExists(app_.seams.files, PeoplePath())) {
    CalculateByMonthlyTable(app_);
    return;
  }
  Text message;
  PeopleByNumber people;
  if (!LoadPeople(app_.databases, PeoplePath(), &people, &message)) return ShowError(message);
  PayMonth pay_month;
  if (!PayMonthOfRegister(&pay_month)) return;
  TaxBrackets resident;
  TaxBrackets monthly;
  LedgerOfMonth ledger;
  const Text ledger_path = LedgerPathOf(pay_month.year);
  // The monthly table is read last: it stays open and current, as the calculation leaves it.
  if (!LoadTaxBrackets(app_.databases, app_.seams.files, kResidentTaxTable, &resident,
                       &message) ||
      !LoadLedgerOfMonth(app_.databases, app_.seams.files, ledger_path, pay_month.year,
                         pay_month.month, &ledger, &message, RegisterSource()) ||
      !LoadTaxBrackets(app_.databases, app_.seams.files, kMonthlyTaxTable, &monthly, &message)) {
    return ShowError(message);
  }
  const MonthSetting setting{pay_month.year,  pay_month.month, RegisterSource(), &resident,
                             &people,         &ledger.earlier, &ledger.this_month};
  const MonthOutcome outcome = WorkOutMonth(app_.salary_register, setting);
  if (!outcome.duplicates.empty()) {
    return ShowError(Concat({"工资表中有重复的编号，无法按人员信息计算，没有做任何改动：\r\n",
                             JoinLines(outcome.duplicates)}));
  }
  if (!outcome.hired_later.empty()) {
    return ShowError(Concat({"以下人员的入职年月在工资月份 ", PayMonthText(pay_month),
                             " 之后，无法按累计预扣法计算，没有做任何改动：\r\n",
                             JoinLines(outcome.hired_later)}));
  }
  if (!outcome.missing.empty() &&
      !Confirm(Concat({"以下人员不在人员信息中，将按月度税率表计算：\r\n", JoinLines(outcome.missing),
                       "继续计算吗？"}))) {
    return;
  }
  if (!MayCountOtherRegisters(pay_month, ledger, outcome) ||
      !MayGoOnWithoutEarlierMonths(pay_month, ledger, outcome)) {
    return;
  }
  ProgressDisplay progress(app_.form);
  std::vector<RowResult> results;
  Text problem;
  bool ok = ComputeRegister(app_.salary_register, monthly, progress, &results, &problem);
  for (size_t i = 0; ok && i < outcome.resident_rows.size(); ++i) {
    const int row = outcome.resident_rows[i];
    ok = ChangeTax(app_.salary_register, row, outcome.entries[i].result.tax, &results[row - 1],
                   &problem);
  }
  if (!ok) {
    progress.Hide();
    return ShowError(
        Concat({"无法计算：", problem, "。表中的数据都没有改动，请改正后再计算。"}));
  }
  WriteRegisterResults(app_.salary_register, results, progress);
  app_.state.modified = 1;
  // Everybody paid in the month goes into the ledger, non-residents with the monthly tax.
  std::vector<LedgerEntry> entries = outcome.entries;
  for (size_t i = 0; i < outcome.monthly_rows.size(); ++i) {
    SetMonthlyTax(&entries.emplace_back(outcome.monthly_entries[i]),
                  results[size_t(outcome.monthly_rows[i] - 1)].tax, monthly);
  }
  std::stable_sort(entries.begin(), entries.end(),
                   [](const LedgerEntry& a, const LedgerEntry& b) { return a.number < b.number; });
  pending_ = PendingMonth{pay_month, std::move(entries), std::move(ledger)};
}

bool WithholdingCommands::MayGoOnWithoutEarlierMonths(const PayMonth& pay_month,
                                                      const LedgerOfMonth& ledger,
                                                      const MonthOutcome& outcome) {
  // From the first month that anybody of the register was employed in this year.
  int first = pay_month.month;
  for (const LedgerEntry& entry : outcome.entries) {
    first = std::min(first, std::max(1, entry.result.first_month));
  }
  std::array<bool, 13> present{};
  for (int8_t month : ledger.months) present[size_t(month)] = true;
  Text missing;
  for (int month = first; month < pay_month.month; ++month) {
    if (present[size_t(month)]) continue;
    missing += Concat({missing.empty() ? "" : "、", PayMonthText({pay_month.year, month})});
  }
  if (missing.empty()) return true;
  return Confirm(Concat({"扣缴台账中没有 ", missing, " 的记录，这张工资表中有人那时已经在职。这些月份没有"
                         "计算并保存的话，本月的累计数就少算了它们（请先按月份顺序计算）。继续计算吗？"}));
}

bool WithholdingCommands::MayCountOtherRegisters(const PayMonth& pay_month,
                                                 const LedgerOfMonth& ledger,
                                                 const MonthOutcome& outcome) {
  if (outcome.in_other_registers.empty()) return true;
  std::vector<Text> others = ledger.sources;
  std::erase(others, ledger.source);
  return Confirm(Concat({"扣缴台账中 ", PayMonthText(pay_month), " 还有另一张工资表的记录：\r\n",
                         JoinLines(others), "以下人员也在其中：\r\n",
                         JoinLines(outcome.in_other_registers),
                         "他们在那些工资表中本月的收入和扣除与这张表合并计算，那边已扣的税算作本月已预扣；"
                         "那些记录保留不动。继续计算吗？"}));
}

bool WithholdingCommands::BeforeRegisterSaved(const Text& path) {
  replaced_.reset();
  if (!pending_) return true;
  const PayMonth pay_month = pending_->pay_month;
  LedgerOfMonth& ledger = pending_->ledger;
  const Text calculated_as = ledger.source;
  auto has_records = [&](const Text& source) {
    return std::find(ledger.sources.begin(), ledger.sources.end(), source) != ledger.sources.end();
  };
  if (path != calculated_as && (has_records(path) || has_records(calculated_as))) {
    // The calculation took other records of the month for this register's own than the save
    // would replace.
    const Text problem =
        has_records(path) ? Concat({path, " 的记录，计算时把它们算作另一张工资表的"})
                          : Concat({calculated_as, " 的记录，另存为 ", path, " 不替换它们"});
    pending_.reset();
    ShowError(Concat({"扣缴台账中 ", PayMonthText(pay_month), " 已有 ", problem,
                      "。工资表照常保存，本月的计算结果没有记入扣缴台账：请重新计算，再保存。"}));
    return true;
  }
  if (!ShowsPendingTax()) {
    pending_.reset();
    ShowError(Concat({"工资表中的个人所得税已不是 ", PayMonthText(pay_month),
                      " 计算的结果（撤销过、删改过人员或税额）。工资表照常保存，本月的计算结果没有记入"
                      "扣缴台账：请重新计算，再保存。"}));
    return true;
  }
  std::vector<LedgerEntry> fresh = pending_->entries;
  for (LedgerEntry& entry : fresh) entry.source = path;
  // A ledger changed since the calculation read it is refused here: the figures rest on it.
  Text message;
  BackUpBeforeSaving(app_, LedgerPathOf(pay_month.year));
  ledger.source = path;
  const bool written = SaveLedgerOfMonth(app_.databases, app_.seams.files,
                                         LedgerPathOf(pay_month.year), ledger, fresh, &message);
  ledger.source = calculated_as;
  if (!written) {
    ShowError(Concat({message, "\r\n工资表没有保存。"}));
    return false;
  }
  std::vector<LedgerEntry> old = RecordsOfMonth(ledger);
  std::erase_if(old, [&](const LedgerEntry& entry) { return entry.source != path; });
  replaced_ = Replaced{pay_month, path, std::move(old)};
  return true;
}

bool WithholdingCommands::ShowsPendingTax() const {
  std::unordered_map<Text, double> tax;
  const SalaryRegister& salary_register = app_.salary_register;
  for (int r = 1; r < salary_register.RowCount(); ++r) {
    if (salary_register.IsPerson(r)) {
      tax.emplace(PersonKey(salary_register.Number(r)), salary_register.Amount(r, kIncomeTaxColumn));
    }
  }
  return std::all_of(pending_->entries.begin(), pending_->entries.end(), [&](const LedgerEntry& e) {
    const auto shown = tax.find(e.number);
    return shown != tax.end() && std::abs(shown->second - e.result.tax) < kAmountTolerance;
  });
}

void WithholdingCommands::AfterRegisterSaved(const Text& path, bool saved) {
  if (!saved) return PutBackLedger();
  NoteLaterMonths(path);
  replaced_.reset();
  // The pay month goes with the figures calculated for it, and a new register's with its file.
  const bool carried = pending_ || month_register_ == Text(kNewRegister) || month_register_ == path;
  if (pending_) month_ = pending_->pay_month;
  pending_.reset();
  if (!carried || !month_.known()) return;
  month_register_ = path;
  WritePayMonth(app_.seams.files, path, month_);
}

void WithholdingCommands::NoteLaterMonths(const Text& path) {
  if (!pending_ || !replaced_) return;
  const PayMonth month = pending_->pay_month;
  if (stale_year_ != month.year) stale_.clear();
  stale_year_ = month.year;
  const size_t before = stale_.size();
  std::erase(stale_, std::pair<int, Text>(month.month, path));
  stale_news_ = stale_news_ || (stale_.size() < before && !stale_.empty());
  const std::vector<int8_t>& months = pending_->ledger.months;
  std::vector<LedgerEntry> fresh = pending_->entries;
  for (LedgerEntry& entry : fresh) entry.source = path;
  if (std::none_of(months.begin(), months.end(), [&](int m) { return m > month.month; }) ||
      SameRecords(replaced_->entries, fresh)) {
    return;
  }
  std::vector<LedgerEntry> ledger;
  Text message;
  if (!LoadLedger(app_.databases, app_.seams.files, LedgerPathOf(month.year), month.year, &ledger,
                  &message)) {
    return ShowError(message);
  }
  for (const LedgerEntry& entry : ledger) {
    const std::pair<int, Text> later(entry.month, entry.source);
    if (entry.month > month.month && std::find(stale_.begin(), stale_.end(), later) == stale_.end()) {
      stale_.push_back(later);
    }
  }
  std::stable_sort(stale_.begin(), stale_.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  stale_news_ = true;
}

void WithholdingCommands::OfferRecalculation(bool may_open) {
  if (!stale_news_) return;
  stale_news_ = false;
  Text text = "扣缴台账中已记入的以下月份，是在刚保存的这个月之前算的，用的还是改动前的数字，应按月份顺序"
              "重新计算并保存：\r\n";
  for (const auto& [month, source] : stale_) {
    text += Concat({PayMonthText({stale_year_, month}), "：", source, "\r\n"});
  }
  const Text& first = stale_.front().second;
  if (!may_open || registers_ == nullptr || !FileExists(app_.seams.files, first)) {
    app_.framework.ShowMessage(text + "请依次打开这些工资表，重新计算后保存。", kTitle,
                               ui::MessageButtons::kOk, ui::MessageIcon::kWarning);
    return;
  }
  if (!Confirm(Concat({text, "现在打开 ", first, " 重新计算吗？算好后请保存，再接着算下一个。"}))) {
    return;
  }
  registers_->OpenFile(first);
  if (!app_.state.untitled && app_.state.register_path == first) Calculate();
}

void WithholdingCommands::PutBackLedger() {
  if (!replaced_) return;
  const Replaced replaced = std::move(*replaced_);
  replaced_.reset();
  const PayMonth& month = replaced.pay_month;
  const Text ledger_path = LedgerPathOf(month.year);
  LedgerOfMonth ledger;
  Text message;
  auto read = [&](LedgerOfMonth* into, const Text& source) {
    return LoadLedgerOfMonth(app_.databases, app_.seams.files, ledger_path, month.year,
                             month.month, into, &message, source);
  };
  // Put back, the ledger holds again what the calculation read: the next save writes the month
  // anew.
  if (read(&ledger, replaced.source) &&
      SaveLedgerOfMonth(app_.databases, app_.seams.files, ledger_path, ledger, replaced.entries,
                        &message) &&
      (!pending_ || read(&pending_->ledger, pending_->ledger.source))) {
    return;
  }
  pending_.reset();
  ShowError(Concat({"工资表没有保存，扣缴台账 ", ledger_path, " 中 ", PayMonthText(month),
                    " 的记录没能改回保存前的样子：", message,
                    "\r\n请重新计算，再保存工资表。"}));
}

namespace {

const char kImportTitle[] = "导入往月数据";

Text MonthsText(const std::vector<int>& months) {
  Text text;
  for (int month : months) text += Concat({text.empty() ? "" : "、", ToText(month)});
  return text + "月";
}

}  // namespace

void WithholdingCommands::ImportTakeOver() {
  forms::FileDialog dialog("通用对话框导入", ui::FileDialogKind::kOpen, "*.csv");
  dialog.SetInitialDirectory(app_.state.program_directory);
  if (!dialog.Run(app_.framework, &app_.form)) return;
  auto fail = [&](const Text& text) {
    app_.framework.ShowMessage(text, kImportTitle, ui::MessageButtons::kOk,
                               ui::MessageIcon::kError);
  };
  std::string content;
  bool too_large = false;
  if (int code = ReadFileContentUpTo(app_.seams.files, dialog.path(), kMostTakeOverBytes,
                                     &content, &too_large);
      code != fs::kOk) {
    return fail(Concat({"无法读取文件 ", dialog.path(), "：", DatabaseErrorMessage(code)}));
  }
  if (too_large) {
    return fail(Concat({"无法导入 ", dialog.path(), "：文件大小超过了导入的上限 ",
                        ToText(int32_t(kMostTakeOverBytes >> 20)),
                        " MB：一年的往月数据用不到这么大的文件。"}));
  }
  // Only the people of the people file are withheld for by the ledger's months.
  PeopleByNumber people;
  Text message;
  if (!FileExists(app_.seams.files, PeoplePath())) {
    return fail("还没有人员信息：请先在“个税 → 人员信息”中登记人员，再导入往月数据。没有导入。");
  }
  if (!LoadPeople(app_.databases, PeoplePath(), &people, &message)) return fail(message);
  std::vector<LedgerEntry> imported;
  std::vector<Text> finer;
  std::vector<Text> problems;
  try {  // the file is bounded, but memory may still run short: a message, not the end
    problems = ParseTakeOver(content, Concat({kTakenOverSource, dialog.path()}), people,
                             &imported, &finer);
  } catch (const std::bad_alloc&) {
    return fail(Concat({"内存不足，无法导入 ", dialog.path(), "。请关闭其他程序后再试。"}));
  }
  if (!problems.empty()) {
    return fail(Concat({"文件 ", dialog.path(), " 有错，没有导入：\r\n", JoinLines(problems)}));
  }
  if (imported.empty()) return fail(Concat({"文件 ", dialog.path(), " 中没有数据"}));
  const int year = imported.front().year;
  const Text path = LedgerPathOf(year);
  std::vector<LedgerEntry> ledger;
  LedgerStamp stamp;
  if (!LoadLedger(app_.databases, app_.seams.files, path, year, &ledger, &message, &stamp)) {
    return fail(message);
  }
  const std::vector<int> months = MonthsOf(imported);
  std::vector<int> present;
  for (int month : MonthsOf(ledger)) {
    if (std::find(months.begin(), months.end(), month) != months.end()) present.push_back(month);
  }
  if (!present.empty() &&
      app_.framework.ShowMessage(Concat({"扣缴台账中已有 ", ToText(year), " 年 ", MonthsText(present),
                                         "的记录，用导入的数据替换这几个月的全部记录吗？"}),
                                 kImportTitle, ui::MessageButtons::kYesNo,
                                 ui::MessageIcon::kQuestion) != ui::MessageAnswer::kYes) {
    return;
  }
  for (int month : months) {
    std::vector<LedgerEntry> of_month;
    for (const LedgerEntry& entry : imported) {
      if (entry.month == month) of_month.push_back(entry);
    }
    ledger = ReplaceMonth(std::move(ledger), month, std::move(of_month));
  }
  BackUpBeforeSaving(app_, path);
  // Another copy of the program may have calculated a month while the question was open.
  if (!SaveLedger(app_.databases, app_.seams.files, path, ledger, &message, &stamp)) {
    return fail(message);
  }
  Text done = Concat({"已导入 ", ToText(int32_t(imported.size())), " 条记录（", ToText(year), " 年 ",
                      MonthsText(months), "）"});
  if (!finer.empty()) done += Concat({"\r\n", kFinerThanFenNote, "\r\n", JoinLines(finer, 10)});
  app_.framework.ShowMessage(done, kImportTitle, ui::MessageButtons::kOk,
                             finer.empty() ? ui::MessageIcon::kInformation
                                           : ui::MessageIcon::kWarning);
}

void WithholdingCommands::ShowWithholdingList() {
  PayMonth pay_month = RememberedPayMonth();
  if (!pay_month.known()) {
    // The list is usually wanted for the month just calculated, not the one after it.
    if (!AskPayMonth(last_used_.known() ? last_used_ : ProposedPayMonth(), &pay_month)) return;
  }
  std::vector<LedgerEntry> ledger;
  Text message;
  if (!LoadLedger(app_.databases, app_.seams.files, LedgerPathOf(pay_month.year), pay_month.year,
                  &ledger, &message)) {
    return ShowError(message);
  }
  if (WithholdingListRows(ledger, pay_month.month).empty()) {
    app_.framework.ShowMessage(Concat({"扣缴台账中没有 ", PayMonthText(pay_month),
                                       " 的记录：请先按累计预扣法计算这个月，再保存工资表。"}),
                               "扣缴明细");
    return;
  }
  WithholdingListWindow(app_, std::move(ledger), pay_month.year, pay_month.month).Show();
}

void WithholdingCommands::ExplainCursorRow() {
  const int row = app_.grid().GetCursorRow();
  Text text;
  if (row < 1 || row >= app_.salary_register.RowCount() || !app_.salary_register.IsPerson(row)) {
    text = "请先把光标放在要说明的人员那一行（编号和姓名都要有）。";
  } else if (!Explain(row, &text)) {
    return ShowError(text);
  }
  app_.framework.ShowMessage(text, "为什么扣这些税", ui::MessageButtons::kOk,
                             ui::MessageIcon::kInformation);
}

bool WithholdingCommands::Explain(int row, Text* text) {
  PeopleByNumber people;
  const bool has_people = FileExists(app_.seams.files, PeoplePath());
  if (has_people && !LoadPeople(app_.databases, PeoplePath(), &people, text)) return false;
  const auto person = people.find(PersonKey(app_.salary_register.Number(row)));
  if (person == people.end() || !person->second.resident) {
    TaxBrackets monthly;
    if (!LoadTaxBrackets(app_.databases, app_.seams.files, kMonthlyTaxTable, &monthly, text)) {
      return false;
    }
    *text = ExplainMonthly(app_.salary_register, row, monthly);
    return true;
  }
  const PayMonth pay_month = RememberedPayMonth();
  if (!pay_month.known()) {
    *text = "这张工资表还没有计算月份：请先点“计算”，按累计预扣法计算一次。";
    return false;
  }
  TaxBrackets resident;
  std::vector<LedgerEntry> ledger;
  if (!LoadTaxBrackets(app_.databases, app_.seams.files, kResidentTaxTable, &resident, text) ||
      !LoadLedger(app_.databases, app_.seams.files, LedgerPathOf(pay_month.year), pay_month.year,
                  &ledger, text)) {
    return false;
  }
  const auto earlier = SumsBefore(ledger, pay_month.month);
  const auto this_month = SumsOfOtherRegisters(ledger, pay_month.month, RegisterSource());
  const MonthSetting setting{pay_month.year, pay_month.month, RegisterSource(), &resident,
                             &people,        &earlier,        &this_month};
  const MonthOutcome outcome = WorkOutMonth(app_.salary_register, setting);
  for (size_t i = 0; i < outcome.resident_rows.size(); ++i) {
    if (outcome.resident_rows[i] != row) continue;
    std::vector<LedgerEntry> earlier;
    for (const LedgerEntry& entry : ledger) {
      if (entry.number == person->first && entry.month < pay_month.month) earlier.push_back(entry);
    }
    *text = ExplainCumulative(outcome.entries[i], earlier, resident);
    if (const auto other = this_month.find(person->first); other != this_month.end()) {
      *text += Concat({"本月另有其他工资表的记录：收入 ", ToText(other->second.income), " 元，已扣税 ",
                       ToText(other->second.withheld),
                       " 元，都已算入上面的累计数和已预扣税额（同月多张工资表合并计算）。\r\n"});
    }
    return true;
  }
  if (outcome.duplicates.empty()) {  // the only other reason: hired after the pay month
    const EmploymentTerms& terms = person->second.terms;
    *text = Concat({person->first, " ", person->second.name, " 的入职年月 ",
                    PayMonthText({terms.hire_year, terms.hire_month}), " 在工资月份 ",
                    PayMonthText(pay_month), " 之后，无法说明"});
  } else {
    *text = Concat({"工资表中有重复的编号，无法说明：\r\n", outcome.duplicates.empty()
                                                          ? Text()
                                                          : outcome.duplicates.front()});
  }
  return false;
}

}  // namespace sr::app
