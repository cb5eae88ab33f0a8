#include "app/withholding/withholding_list.h"

#include "runtime/convert/conversions.h"

namespace sr::app {
namespace {

// The columns, with the figure of an entry that each shows after 编号, 姓名, 证件类型, 证件号码
// and 计算方法.
struct ListColumn {
  const char* title;
  double (*figure)(const LedgerEntry&);
};

#define SR_LIST_COLUMN(title, expression) \
  { title, [](const LedgerEntry& e) { return static_cast<double>(expression); } }

const ListColumn kColumns[] = {
    SR_LIST_COLUMN("收入额", e.figures.income),
    SR_LIST_COLUMN("免税收入", e.figures.exempt_income),
    SR_LIST_COLUMN("专项扣除", e.figures.special),
    SR_LIST_COLUMN("婴幼儿照护", e.figures.additional[0]),
    SR_LIST_COLUMN("子女教育", e.figures.additional[1]),
    SR_LIST_COLUMN("继续教育", e.figures.additional[2]),
    SR_LIST_COLUMN("住房贷款利息", e.figures.additional[3]),
    SR_LIST_COLUMN("住房租金", e.figures.additional[4]),
    SR_LIST_COLUMN("赡养老人", e.figures.additional[5]),
    SR_LIST_COLUMN("个人养老金", e.figures.additional[6]),
    SR_LIST_COLUMN("其他扣除", e.figures.other),
    SR_LIST_COLUMN("减除费用", e.basic),
    SR_LIST_COLUMN("减免税额", e.figures.relief),
    SR_LIST_COLUMN("本月应扣缴税额", e.figures.withheld),
    SR_LIST_COLUMN("累计收入额", e.result.sums.income),
    SR_LIST_COLUMN("累计已预扣预缴税额", e.result.withheld_before),  // the earlier months
};

#undef SR_LIST_COLUMN

}  // namespace

const std::vector<Text>& WithholdingListTitles() {
  static const std::vector<Text> titles = [] {
    std::vector<Text> t = {"编号", "姓名", "证件类型", "证件号码", "计算方法"};
    for (const ListColumn& column : kColumns) t.push_back(column.title);
    return t;
  }();
  return titles;
}

std::vector<std::vector<Text>> WithholdingListRows(const std::vector<LedgerEntry>& ledger,
                                                  int month) {
  std::vector<std::vector<Text>> rows;
  // The year so far as the ledger holds it, months taken over included (they keep no
  // cumulative figures of their own).
  const std::unordered_map<Text, CumulativeSums> before = SumsBefore(ledger, month);
  for (LedgerEntry e : PersonMonths(ledger, month)) {
    const auto earlier = before.find(e.number);
    const CumulativeSums sums = earlier == before.end() ? CumulativeSums() : earlier->second;
    e.result.sums.income = RoundToPlaces(sums.income + e.figures.income, 2);
    e.result.withheld_before = sums.withheld;
    std::vector<Text> row = {e.number, e.name, e.id_type, e.id_number, e.method};
    for (const ListColumn& column : kColumns) row.push_back(ToText(column.figure(e)));
    rows.push_back(std::move(row));
  }
  return rows;
}

Text YearStatement(const std::vector<LedgerEntry>& ledger, const Text& number) {
  Text text;
  CumulativeSums sums;
  Text name;
  for (const LedgerEntry& e : ledger) {
    if (e.number != number) continue;
    name = e.name;
    sums.Add(e.figures);
    text += Concat({ToText(e.month), "月：收入 ", ToText(e.figures.income), "，专项扣除 ",
                    ToText(e.figures.special), "，专项附加扣除 ", ToText(e.figures.AdditionalTotal()),
                    "，预扣税 ", ToText(e.figures.withheld), "；累计收入 ", ToText(sums.income),
                    "，累计预扣税 ", ToText(sums.withheld), "\r\n"});
  }
  if (text.empty()) return Concat({"扣缴台账中没有编号 ", number, " 的记录。\r\n"});
  return Concat({name, "（编号 ", number, "）本年在本单位的累计情况：\r\n", text, "合计：收入 ",
                 ToText(sums.income), "，免税收入 ", ToText(sums.exempt_income), "，专项扣除 ",
                 ToText(sums.special), "，专项附加扣除 ", ToText(sums.additional), "，其他扣除 ",
                 ToText(sums.other), "，减免税额 ", ToText(sums.relief), "，已预扣税 ",
                 ToText(sums.withheld), "\r\n"});
}

}  // namespace sr::app
