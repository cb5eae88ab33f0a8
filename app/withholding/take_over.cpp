#include "app/withholding/take_over.h"

#include <algorithm>
#include <map>

#include "app/tax_rules/fen.h"
#include "app/withholding/pay_month.h"
#include "base/gbk.h"
#include "runtime/convert/conversions.h"

namespace sr::app {
namespace {

// The line's fields, trimmed, and their number (*count): fields past one more than a line has
// are counted, not kept.
std::vector<Text> SplitFields(const Text& line, int32_t* count) {
  std::vector<Text> fields(1);
  *count = 1;
  for (char c : line) {
    if (c == ',') {
      if (++*count <= kTakeOverColumns + 1) fields.emplace_back();
    } else if (c != '\r' && *count <= kTakeOverColumns + 1) {
      fields.back() += c;
    }
  }
  for (Text& field : fields) field = TrimSpaces(field);
  return fields;
}

// The title of the amount in field 5 + i.
Text AmountTitle(size_t i) {
  static const char* const kHead[] = {"收入额", "免税收入", "专项扣除"};
  static const char* const kTail[] = {"其他扣除", "减免税额", "已预扣税额"};
  if (i < std::size(kHead)) return kHead[i];
  i -= std::size(kHead);
  if (i < kAdditionalKindNames.size()) return kAdditionalKindNames[i];
  return kTail[i - kAdditionalKindNames.size()];
}

// Whether the text fits the ledger's field of that name; otherwise *problem says so (the ledger
// would cut it).
bool FitsLedger(const Text& text, const char* field, Text* problem) {
  static const std::vector<recdb::FieldDescriptor> kFields = LedgerFields();
  for (const recdb::FieldDescriptor& d : kFields) {
    if (d.name != field || text.size() <= static_cast<size_t>(d.text_width)) continue;
    *problem = Concat({field, "“", text, "”有 ", ToText(int32_t(text.size())),
                       " 字节，超过了扣缴台账能保存的 ", ToText(d.text_width), " 字节"});
    return false;
  }
  return true;
}

// The entry of one line, or a message saying what is wrong with it. The amounts finer than a
// fen are added to `finer` ("收入额：30000.005").
bool EntryOfLine(const std::vector<Text>& f, int32_t count, LedgerEntry* e, Text* problem,
                 std::vector<Text>* finer) {
  if (count != kTakeOverColumns) {
    *problem = Concat({"应有 ", ToText(kTakeOverColumns), " 项，实有 ", ToText(count), " 项"});
    return false;
  }
  if (!ParseYearMonth(f[0], &e->year, &e->month)) {
    *problem = Concat({"月份“", f[0], "”应写成 2026-03 这样"});
    return false;
  }
  if (f[1].empty()) {
    *problem = "编号是空的";
    return false;
  }
  if (!FitsLedger(f[1], "编号", problem) || !FitsLedger(f[2], "姓名", problem) ||
      !FitsLedger(f[3], "证件号码", problem)) {
    return false;
  }
  e->number = f[1];
  e->name = f[2];
  e->id_number = f[3];
  std::vector<double*> amounts = {&e->figures.income, &e->figures.exempt_income,
                                  &e->figures.special};
  for (double& a : e->figures.additional) amounts.push_back(&a);
  amounts.insert(amounts.end(), {&e->figures.other, &e->figures.relief, &e->figures.withheld});
  for (size_t i = 0; i < amounts.size(); ++i) {
    const Text& text = f[4 + i];
    if (!IsAmountOrEmpty(text)) {
      *problem = Concat({"第 ", ToText(int32_t(5 + i)), " 项“", text, "”应为不小于 0 的金额"});
      return false;
    }
    *amounts[i] = RoundToFen(ToNumber(text));
    if (FinerThanFen(ToNumber(text))) finer->push_back(Concat({AmountTitle(i), "：", text}));
  }
  e->result.tax = e->figures.withheld;
  return true;
}

}  // namespace

std::vector<Text> ParseTakeOver(const std::string& utf8, const Text& source,
                                const PeopleByNumber& people, std::vector<LedgerEntry>* entries,
                                std::vector<Text>* finer_than_fen) {
  std::vector<Text> problems;
  std::vector<Text> finer;
  std::map<std::pair<int, Text>, int> line_of_month;  // (month, number): the line it came on
  entries->clear();
  const std::string_view content =
      std::string_view(utf8).substr(utf8.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0);
  size_t start = 0;
  for (int number = 1; start < content.size(); ++number) {
    size_t end = content.find('\n', start);
    if (end == std::string_view::npos) end = content.size();
    const std::string_view raw = content.substr(start, end - start);
    start = end + 1;
    // Each line on its own, so that the message names the line.
    Text line;
    std::string bad;
    if (raw.find('\0') != std::string_view::npos) {
      problems.push_back(Concat({"第 ", ToText(number), " 行：有空字符（NUL），它会截断后面的字"}));
      continue;
    }
    if (!Utf8ToGbk(std::string(raw), &line, &bad)) {
      problems.push_back(Concat({"第 ", ToText(number),
                                 " 行：不是 UTF-8 文本，或有程序不能保存的字符"}));
      continue;
    }
    int32_t count = 0;
    const std::vector<Text> fields = SplitFields(line, &count);
    if (count == 1 && fields[0].empty()) continue;
    if (number == 1 && fields[0].rfind("月份", 0) == 0) continue;
    if (number > kMostTakeOverLines) {
      problems.push_back(Concat({"第 ", ToText(number), " 行：文件超过了导入的上限 ",
                                 ToText(kMostTakeOverLines),
                                 " 行（标题一行和 12 个月、每月最多 5000 人）"}));
      break;
    }
    LedgerEntry entry;
    Text problem;
    finer.clear();
    if (!EntryOfLine(fields, count, &entry, &problem, &finer)) {
      problems.push_back(Concat({"第 ", ToText(number), " 行：", problem}));
      continue;
    }
    if (!entries->empty() && entry.year != entries->front().year) {
      problems.push_back(Concat({"第 ", ToText(number), " 行：", ToText(entry.year),
                                 " 年与第一条记录的 ", ToText(entries->front().year),
                                 " 年不同，一次只能导入一年"}));
      continue;
    }
    const auto person = people.find(entry.number);
    if (person == people.end()) {
      problems.push_back(Concat({"第 ", ToText(number), " 行：编号 ", entry.number,
                                 " 不在人员信息中"}));
      continue;
    }
    entry.id_type = person->second.id_type;
    if (entry.id_number.empty()) entry.id_number = person->second.id_number;
    entry.method = person->second.resident ? kCumulativeMethod : kMonthlyMethod;
    const auto [first, fresh] = line_of_month.try_emplace({entry.month, entry.number}, number);
    if (!fresh) {
      problems.push_back(Concat({"第 ", ToText(number), " 行：编号 ", entry.number, " 的 ",
                                 PayMonthText({entry.year, entry.month}), " 与第 ",
                                 ToText(first->second), " 行重复"}));
      continue;
    }
    entry.source = source;
    entries->push_back(std::move(entry));
    if (finer_than_fen != nullptr) {
      for (const Text& amount : finer) {
        finer_than_fen->push_back(Concat({"第 ", ToText(number), " 行 ", amount}));
      }
    }
  }
  if (!problems.empty()) entries->clear();
  return problems;
}

}  // namespace sr::app
