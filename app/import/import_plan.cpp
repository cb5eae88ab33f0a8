#include "app/import/import_plan.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "app/import/import_limits.h"
#include "base/gbk.h"
#include "base/text.h"
#include "runtime/convert/conversions.h"

namespace sr::app {

namespace {

using xlsx::SheetCell;

Text Number(long n) { return ToText(static_cast<double>(n)); }

// "第 3 行第 5 列（基本工资）": where a cell is, in the file's own numbering.
Text Where(int row, int column, const Text& title) {
  const Text where = CellPlace(row, column);
  return title.empty() ? where : Concat({where, "（", title, "）"});
}

// A title without the exempt mark and spaces (half and full width).
Text Plain(Text title) {
  for (const char* mark : {"(免税)", "（免税）", "　", " ", "\t"}) {
    for (size_t at; (at = title.find(mark)) != Text::npos;) title.erase(at, Text(mark).size());
  }
  return title;
}

// The register column a title names, or -1: the exact title first, then the plain one.
int MatchTitle(const Text& title, const SalaryRegister& salary_register) {
  for (int column = 0; column < kRegisterColumns; ++column) {
    if (salary_register.Title(column) == title) return column;
  }
  const Text plain = Plain(title);
  for (int column = 0; column < kRegisterColumns && !plain.empty(); ++column) {
    if (Plain(salary_register.Title(column)) == plain) return column;
  }
  return -1;
}

const SheetCell& CellAt(const xlsx::SheetRows& sheet, size_t row, size_t column) {
  static const SheetCell kEmpty;
  return row < sheet.size() && column < sheet[row].size() ? sheet[row][column] : kEmpty;
}

bool ColumnHasData(const xlsx::SheetRows& sheet, size_t column) {
  for (size_t row = 1; row < sheet.size(); ++row) {
    const SheetCell& cell = CellAt(sheet, row, column);
    if (!cell.text.empty() || cell.kind == SheetCell::Kind::kNoValue) return true;
  }
  return false;
}

// The cell's text in GBK, or false with *problem set: also for a formula without its value and
// a text with a NUL, which would cut it.
bool ToGbk(const SheetCell& cell, const Text& where, Text* gbk, Text* problem) {
  if (cell.kind == SheetCell::Kind::kNoValue) {
    *problem = Concat({where, "是公式，但文件中没有它算出的值：请先在电子表格程序（Excel、WPS 或 "
                              "LibreOffice）中打开这个工作簿并保存，再导入。"});
    return false;
  }
  if (cell.text.find('\0') != std::string::npos) {
    *problem = Concat({where, "中有空字符（NUL），它会截断后面的字。请在文件中删去它再导入。"});
    return false;
  }
  std::string bad;
  if (Utf8ToGbk(cell.text, gbk, &bad)) return true;
  char code[16] = "?";
  if (!bad.empty()) {
    // The character as U+XXXX: GBK cannot show it in the message either.
    unsigned value = static_cast<unsigned char>(bad[0]);
    const int extra = value >= 0xF0 ? 3 : value >= 0xE0 ? 2 : value >= 0xC0 ? 1 : 0;
    value &= extra == 3 ? 0x07 : extra == 2 ? 0x0F : extra == 1 ? 0x1F : 0xFF;
    for (int k = 1; k <= extra && k < static_cast<int>(bad.size()); ++k) {
      value = (value << 6) | (static_cast<unsigned char>(bad[k]) & 0x3F);
    }
    std::snprintf(code, sizeof code, "U+%04X", value);
  }
  *problem = Concat({where, "中有字符 ", code, "，工资表（GBK 编码）不能保存它。请在文件中改掉它再导入。"});
  return false;
}

bool MatchColumns(const xlsx::SheetRows& sheet, const SalaryRegister& salary_register,
                  ImportPlan* plan) {
  const size_t width = sheet.empty() ? 0 : std::max_element(sheet.begin(), sheet.end(),
                                                            [](const auto& a, const auto& b) {
                                                              return a.size() < b.size();
                                                            })->size();
  std::vector<int> first_column(kRegisterColumns, -1);
  for (size_t c = 0; c < width; ++c) {
    Text title;
    if (!ToGbk(CellAt(sheet, 0, c), Where(0, c, ""), &title, &plan->problem)) return false;
    plan->file_titles.push_back(title);
    const int column = title.empty() ? -1 : MatchTitle(title, salary_register);
    plan->columns.push_back(column);
    if (title.empty()) {
      if (!ColumnHasData(sheet, c)) continue;
      plan->problem = Concat({Where(0, c, ""), "没有标题，但下面有数据：请在第一行写上它对应的工资项目名称。"});
      return false;
    }
    if (column < 0) {
      plan->problem = Concat({Where(0, c, ""), "的标题“", title,
                              "”与工资表的任何项目都不对应：请把它改成工资表的项目名称，或删去这一列。"});
      return false;
    }
    if (first_column[column] >= 0) {
      plan->problem = Concat({Where(0, c, ""), "的标题“", title, "”与第 ",
                              Number(first_column[column] + 1), " 列对应同一个项目“",
                              salary_register.Title(column), "”。"});
      return false;
    }
    first_column[column] = static_cast<int>(c);
  }
  for (int needed : {kNumberColumn, kNameColumn}) {
    if (first_column[needed] < 0) {
      plan->problem = Concat({"文件第一行没有“", salary_register.Title(needed),
                              "”这一列：没有编号和姓名的人不能保存。"});
      return false;
    }
  }
  return true;
}

bool TakeCell(const SheetCell& cell, int register_column, int32_t width, const Text& where,
              Text* text, Text* problem) {
  if (!ToGbk(cell, where, text, problem)) return false;
  if (width > 0 && text->size() > static_cast<size_t>(width)) {
    *problem = Concat({where, "有 ", Number(static_cast<long>(text->size())),
                       " 字节，超过了工资表这一栏能保存的 ", Number(width),
                       " 字节（一个汉字 2 字节）。请在文件中改短再导入。"});
    return false;
  }
  if (!IsAmountColumn(register_column) || text->empty()) return true;
  if (cell.kind == SheetCell::Kind::kText && IsNumberText(*text)) {
    // A number kept as text keeps its text, without the spaces around it.
    const size_t first = text->find_first_not_of(' ');
    *text = text->substr(first, text->find_last_not_of(' ') - first + 1);
    return true;
  }
  if (cell.kind == SheetCell::Kind::kNumber) return true;
  *problem = Concat({where, "的金额“", *text, "”不是数字。请在文件中改正再导入。"});
  return false;
}

}  // namespace

bool IsNumberText(const Text& text) {
  size_t i = text.find_first_not_of(' ');
  const size_t end = text.find_last_not_of(' ') + 1;
  if (i == Text::npos) return false;
  if (text[i] == '+' || text[i] == '-') ++i;
  int digits = 0, points = 0;
  for (; i < end && (std::isdigit(static_cast<unsigned char>(text[i])) || text[i] == '.'); ++i) {
    text[i] == '.' ? ++points : ++digits;
  }
  if (digits == 0 || points > 1) return false;
  if (i < end && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < end && (text[i] == '+' || text[i] == '-')) ++i;
    int exponent = 0;
    for (; i < end && std::isdigit(static_cast<unsigned char>(text[i])); ++i) ++exponent;
    if (exponent == 0) return false;
  }
  return i == end;
}

ImportPlan PlanImport(const xlsx::SheetRows& sheet, const SalaryRegister& salary_register,
                      const TextWidths& widths) {
  ImportPlan plan;
  if (sheet.empty()) {
    plan.problem = "文件是空的：第一行应是工资项目的名称，下面每行一个人。";
    return plan;
  }
  if (!MatchColumns(sheet, salary_register, &plan)) return plan;
  for (size_t r = 1; r < sheet.size(); ++r) {
    RowTexts row;
    bool any = false;
    for (size_t c = 0; c < plan.columns.size(); ++c) {
      const int column = plan.columns[c];
      if (column < 0) continue;
      const Text where = Where(r, c, plan.file_titles[c]);
      if (!TakeCell(CellAt(sheet, r, c), column, widths[column], where, &row[column],
                    &plan.problem)) {
        return plan;
      }
      any = any || !row[column].empty();
    }
    if (!any) continue;
    if (plan.rows.size() == kMostPeople) {
      plan.problem = Concat({"文件从第 ", Number(r + 1), " 行起超过了 ", Number(kMostPeople),
                             " 人，工资表最多能容纳 ", Number(kMostPeople), " 人。"});
      return plan;
    }
    plan.rows.push_back(std::move(row));
    plan.file_rows.push_back(static_cast<int>(r) + 1);
  }
  return plan;
}

bool ImportedRows(const ImportPlan& plan, ImportMode mode, const SalaryRegister& salary_register,
                  std::vector<RowTexts>* rows, Text* problem) {
  rows->clear();
  if (mode == ImportMode::kAppend) {
    int last = 0;
    for (int row = 1; row < salary_register.RowCount(); ++row) {
      const RowTexts& texts = salary_register.Row(row);
      if (std::any_of(texts.begin(), texts.end(), [](const Text& t) { return !t.empty(); })) {
        last = row;
      }
    }
    for (int row = 1; row <= last; ++row) rows->push_back(salary_register.Row(row));
  }
  rows->insert(rows->end(), plan.rows.begin(), plan.rows.end());
  if (rows->size() > static_cast<size_t>(kMostPeople)) {
    *problem = Concat({"追加后工资表将有 ", Number(static_cast<long>(rows->size())),
                       " 行，超过了最多的 ", Number(kMostPeople), " 人。请改用替换，或先删去一些行。"});
    rows->clear();
    return false;
  }
  rows->resize(std::max<size_t>(kMostPeople, salary_register.RowCount() - 1));
  return true;
}

}  // namespace sr::app
