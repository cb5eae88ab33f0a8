#ifndef SALARY_APP_TAX_RULES_TAX_TABLE_H_
#define SALARY_APP_TAX_RULES_TAX_TABLE_H_

#include <array>

#include "base/value.h"
#include "platform/fs/file_system.h"
#include "runtime/recdb/recdb.h"

namespace sr::app {

// The tax rate table: a password-protected record database of nine records of six fields in the
// process's current directory. Record 1 field 1 holds the threshold; record k holds bracket k as
// lower bound (2), upper bound (3), rate in percent (4) and quick deduction (5); field 6 is text.
inline constexpr char kTaxTableFileName[] = "设置税率表.dat";
inline constexpr char kTaxTableAlias[] = "设置税率表";
inline constexpr char kTaxTablePassword[] = "kpm4825031";
inline constexpr int kTaxRecords = 9;
inline constexpr int kTaxFields = 6;

// A table file of this layout: the monthly tax rate table, or the resident table of the
// cumulative method, whose threshold cell holds the monthly basic deduction and whose brackets
// are bounds on the year's taxable income so far. Both are protected by the same password.
struct TaxTableFile {
  const char* file_name;
  const char* alias;
  const char* title;              // the window's heading over the table
  const char* threshold_caption;  // what the threshold cell stands for
};
inline constexpr TaxTableFile kMonthlyTaxTable = {kTaxTableFileName, kTaxTableAlias, "税率表",
                                                  "起征点"};
inline constexpr TaxTableFile kResidentTaxTable = {"居民预扣率表.dat", "居民预扣率表",
                                                   "居民工资薪金累计预扣率表", "每月减除"};

// The table's values as read, record k field f at [k - 1][f - 1].
using TaxTableValues = std::array<std::array<Value, kTaxFields>, kTaxRecords>;

// The threshold and the brackets as the calculation uses them: T, R(k) and Q(k) cut to whole
// numbers, L(k) as stored. A bracket whose lower bound is 0 is not in use.
struct TaxBrackets {
  int threshold = 0;
  std::array<double, kTaxRecords> lower{};
  std::array<int, kTaxRecords> rate{};
  std::array<int, kTaxRecords> quick{};
};

// The table's path: the current directory at this moment, then the file name.
Text TaxTablePath(fs::FileSystem& files, const TaxTableFile& table = kMonthlyTaxTable);

// Opens the table at `path` (TaxTablePath) under its alias (an open copy under that alias is closed first, so a table
// left open by an earlier command is read afresh) and makes it current at its first record.
// REQUIRES: `message` non-null. On failure returns false with a message for the user that names
// the file and the reason; the current database is then unspecified but no other file is used.
bool OpenTaxTable(DatabaseTable& databases, const Text& path, Text* message,
                  const TaxTableFile& table = kMonthlyTaxTable);

// Reads all nine records of the open, current table. False with a user message when the file
// has fewer records or fields than the table needs, or a read fails.
bool ReadTaxTable(DatabaseTable& databases, const Text& path, TaxTableValues* values,
                  Text* message);

// Takes the values the calculation needs. False with a user message naming the record and the
// field when one of them is not a number.
bool ToBrackets(const TaxTableValues& values, const Text& path, TaxBrackets* brackets,
                Text* message);

// The texts the tax rate window saves, record k field f at [k - 1][f - 1].
using TaxTableTexts = std::array<std::array<Text, kTaxFields>, kTaxRecords>;

// Saves fields 1 to 5 of every record as whole numbers (ToInteger of the text) and empty text
// into field 6 of records 1 to 8 of the table at `path`, without ever leaving a table of old and
// new values there: a copy of the table with the new values is written beside it, made durable,
// and then takes its place (keeping its mode, owner and group; see FileReplacement). The table
// must not be open in `databases`. False with a user message naming the file and the reason
// when the table cannot be read or written; the table is then as it was.
bool SaveTaxTable(DatabaseTable& databases, fs::FileSystem& files, const Text& path,
                  const TaxTableTexts& texts, Text* message,
                  const TaxTableFile& table = kMonthlyTaxTable);

// Opens, reads and takes the brackets of a table in the current directory: OpenTaxTable,
// ReadTaxTable and ToBrackets in one. The table stays open and current.
bool LoadTaxBrackets(DatabaseTable& databases, fs::FileSystem& files, const TaxTableFile& table,
                     TaxBrackets* brackets, Text* message);

// The rate and quick deduction for a taxable sum S: the highest-numbered bracket whose lower
// bound is positive and not above S - T (within the amount tolerance); 0 and 0 when none is.
void LookUpBracket(const TaxBrackets& brackets, double taxable_sum, int* rate, int* quick);

}  // namespace sr::app

#endif  // SALARY_APP_TAX_RULES_TAX_TABLE_H_
