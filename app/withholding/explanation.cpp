#include "app/withholding/explanation.h"

#include "app/tax_rules/tax_calculation.h"
#include "runtime/convert/conversions.h"

namespace sr::app {
namespace {

Text Yuan(double amount) { return Concat({ToText(amount), " 元"}); }

Text MonthName(int month) { return Concat({ToText(month), "月"}); }

// "1、2、3月" for the months a sum covers.
Text MonthList(const std::vector<int>& months) {
  if (months.empty()) return "无";
  Text list;
  for (size_t i = 0; i < months.size(); ++i) {
    if (i > 0) list += "、";
    list += ToText(months[i]);
  }
  return list + "月";
}

Text Line(int step, const Text& text) { return Concat({ToText(step), ". ", text, "\r\n"}); }

// Why the bracket applies: between its lower bound and the next bracket's, or above the last.
Text BracketReason(const TaxBrackets& table, int bracket, double taxable) {
  const double next = bracket < kTaxRecords ? table.lower[bracket] : 0;
  const bool last = next <= kAmountTolerance;
  Text where;
  if (bracket == 1 && last) {
    where = "适用第 1 级";
  } else if (bracket == 1) {
    where = Concat({"不超过 ", ToText(next), " 元，适用第 1 级"});
  } else if (last) {
    where = Concat({"超过 ", ToText(table.lower[bracket - 1]), " 元，适用第 ", ToText(bracket),
                    " 级"});
  } else {
    where = Concat({"在 ", ToText(table.lower[bracket - 1]), " 至 ", ToText(next),
                    " 元之间，适用第 ", ToText(bracket), " 级"});
  }
  return Concat({ToText(taxable), " 元", where, "：税率 ", ToText(table.rate[bracket - 1]),
                 "%，速算扣除数 ", Yuan(table.quick[bracket - 1])});
}

}  // namespace

Text ExplainCumulative(const LedgerEntry& entry, const std::vector<LedgerEntry>& earlier,
                       const TaxBrackets& table) {
  const CumulativeResult& r = entry.result;
  const CumulativeSums& s = r.sums;
  std::vector<int> months;
  for (const LedgerEntry& e : earlier) months.push_back(e.month);
  months.push_back(entry.month);
  std::vector<int> before(months.begin(), months.end() - 1);
  const Text covered = MonthList(months);
  Text text = Concat({entry.name, "（编号 ", entry.number, "）", ToText(entry.year), "年",
                      MonthName(entry.month), "工资的个人所得税，按居民个人累计预扣法计算：\r\n"});
  int step = 0;
  text += Line(++step, Concat({"累计收入（", covered, "）：", Yuan(s.income), "，其中本月 ",
                               Yuan(entry.figures.income)}));
  text += Line(++step, Concat({"累计免税收入（", covered, "）：", Yuan(s.exempt_income)}));
  if (r.basic_months > 0 || r.basic < kAmountTolerance) {
    text += Line(++step, Concat({"累计减除费用：每月 ", Yuan(table.threshold), " × ",
                                 ToText(r.basic_months), " 个月（", MonthName(r.first_month), "至",
                                 MonthName(entry.month), "）= ", Yuan(r.basic)}));
  } else {
    text += Line(++step, Concat({"累计减除费用：上年在本单位全年工资不超过 6 万元，从 1 月起按 ",
                                 Yuan(r.basic), " 扣除"}));
  }
  text += Line(++step, Concat({"累计专项扣除（社保、公积金，", covered, "）：", Yuan(s.special)}));
  text += Line(++step, Concat({"累计专项附加扣除（", covered, "）：", Yuan(s.additional)}));
  text += Line(++step, Concat({"累计其他扣除（", covered, "）：", Yuan(s.other)}));
  text += Line(++step, Concat({"累计应纳税所得额 = ", ToText(s.income), " - ", ToText(s.exempt_income),
                               " - ", ToText(r.basic), " - ", ToText(s.special), " - ",
                               ToText(s.additional), " - ", ToText(s.other), " = ",
                               Yuan(r.taxable)}));
  if (r.bracket == 0) {
    text += Line(++step, "累计应纳税所得额不大于 0，累计应纳税额为 0 元");
  } else {
    text += Line(++step, Concat({"适用税率：", BracketReason(table, r.bracket, r.taxable)}));
    text += Line(++step, Concat({"累计应纳税额 = ", ToText(r.taxable), " × ", ToText(r.rate),
                                 "% - ", ToText(r.quick), " = ", Yuan(r.tax_on_taxable)}));
  }
  text += Line(++step, Concat({"累计减免税额：", Yuan(s.relief)}));
  text += Line(++step, Concat({"已预扣税额（", MonthList(before), "）：", Yuan(r.withheld_before)}));
  text += Line(++step, Concat({"本月应预扣 = ", ToText(r.tax_on_taxable), " - ", ToText(s.relief),
                               " - ", ToText(r.withheld_before), " = ", Yuan(r.due)}));
  if (r.due < -kAmountTolerance) {
    text += Line(++step, "结果小于 0：预扣时不退税，本月预扣 0 元，多预扣的部分在年度汇算时处理；"
                         "下月仍按累计数重新计算");
  }
  text += Concat({"本月预扣个人所得税：", Yuan(r.tax), "\r\n"});
  return text;
}

Text ExplainMonthly(const SalaryRegister& salary_register, int row, const TaxBrackets& table) {
  const double sum = TaxableSumOf(salary_register, row);
  const double over = RoundToPlaces(sum - table.threshold, 2);
  int rate = 0;
  int quick = 0;
  LookUpBracket(table, sum, &rate, &quick);
  Text text = Concat({salary_register.Name(row), "（编号 ", salary_register.Number(row),
                      "）本月个人所得税，按月度税率表计算：\r\n"});
  int step = 0;
  text += Line(++step, Concat({"应税收入（未标“(免税)”的收入项减去标“(免税)”的扣款项）：",
                               Yuan(sum)}));
  text += Line(++step, Concat({"减去起征点 ", Yuan(table.threshold), "，超过部分：", Yuan(over)}));
  double tax = 0;
  if (over <= kAmountTolerance || rate == 0) {
    text += Line(++step, "没有超过起征点（或不在任何一级内），税额为 0 元");
  } else {
    text += Line(++step, Concat({"适用税率 ", ToText(rate), "%，速算扣除数 ", Yuan(quick)}));
    tax = RoundToPlaces(over * rate / 100 - quick, 2);
    text += Line(++step, Concat({"税额 = ", ToText(over), " × ", ToText(rate), "% - ",
                                 ToText(quick), " = ", Yuan(tax)}));
  }
  text += Concat({"本月个人所得税：", Yuan(tax), "\r\n"});
  return text;
}

}  // namespace sr::app
