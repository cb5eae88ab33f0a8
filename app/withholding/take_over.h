#ifndef SALARY_APP_WITHHOLDING_TAKE_OVER_H_
#define SALARY_APP_WITHHOLDING_TAKE_OVER_H_

#include <string>
#include <vector>

#include "app/withholding/ledger.h"
#include "app/withholding/people_file.h"

// Taking over mid-year: the months of the year paid before this program (or elsewhere), read
// from a CSV file into the ledger, so that the first month calculated here is right.
//
// The file is UTF-8 text, one month of one person a line, fields separated by commas, in this
// order (a first line starting with "月份" is a heading and is skipped; empty amounts are 0):
//   月份 (2026-03), 编号, 姓名, 证件号码, 收入额, 免税收入, 专项扣除, 婴幼儿照护, 子女教育,
//   继续教育, 住房贷款利息, 住房租金, 赡养老人, 个人养老金, 其他扣除, 减免税额, 已预扣税额
namespace sr::app {

inline constexpr int kTakeOverColumns = 17;
// Bounds no year of a payroll comes near: a file beyond one is refused, not read on.
inline constexpr int64_t kMostTakeOverBytes = 16 << 20;
inline constexpr int kMostTakeOverLines = 12 * 5000 + 1;  // a heading and 12 months of 5,000

// Reads the file's content. Every line must have the 17 fields, a month, a number of `people`
// and amounts that are numbers not below 0; every month must be of the same year, and a person's
// month may come only once; a line past kMostTakeOverLines ends the reading. Returns the
// messages (each naming the line), and the entries only when there is none; each entry's source
// is `source`. `finer_than_fen`, when given, receives the amounts with more decimals than a fen
// ("第 2 行 收入额：30000.005"), which are taken rounded to the fen.
std::vector<Text> ParseTakeOver(const std::string& utf8, const Text& source,
                                const PeopleByNumber& people, std::vector<LedgerEntry>* entries,
                                std::vector<Text>* finer_than_fen = nullptr);

}  // namespace sr::app

#endif  // SALARY_APP_WITHHOLDING_TAKE_OVER_H_
