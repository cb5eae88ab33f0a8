#ifndef SALARY_APP_WITHHOLDING_LEDGER_H_
#define SALARY_APP_WITHHOLDING_LEDGER_H_

#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/withholding/cumulative_method.h"
#include "app/withholding/record_file.h"

// The year's ledger: one record per person per month that the cumulative method withheld for
// (or that was taken over from before), with the month's figures and the cumulative figures the
// calculation used. Earlier months are read from it; a calculation rewrites its month.
namespace sr::app {

// How a record's tax was worked out: residents by the cumulative method, everybody else paid
// in the month (non-residents) by the monthly table.
inline constexpr char kCumulativeMethod[] = "累计预扣法";
inline constexpr char kMonthlyMethod[] = "月度税率表";
// What the source of a month taken over from a file starts with.
inline constexpr char kTakenOverSource[] = "往月导入：";

// One record.
struct LedgerEntry {
  int year = 0;
  int month = 0;
  Text number;
  Text name;
  Text id_number;
  Text id_type;             // 居民身份证, 护照, ... as the people file had it
  Text method;              // kCumulativeMethod or kMonthlyMethod
  MonthFigures figures;     // figures.withheld: the tax withheld that month
  double basic = 0;         // the month's basic deduction
  CumulativeResult result;  // the cumulative figures (zero for months taken over)
  Text source;              // the register it came from, or a note for months taken over
};

// The fields of a ledger. Ledgers of the earlier layout, without 证件类型 and 计算方法, are read
// as well: their records are all of residents, by the cumulative method, and their 收入额 and
// 累计收入额 held the taxable income items only, so the tax-exempt income is added back (not to
// months taken over, whose 收入额 always was the whole income). The first saving writes such a
// ledger whole in this layout.
std::vector<recdb::FieldDescriptor> LedgerFields();
std::vector<recdb::FieldDescriptor> EarlierLedgerFields();

// "扣缴台账2026.dat" in `folder`.
Text LedgerPath(const Text& folder, int year);
// The names of the ledgers of every year, a '#' standing for each digit of the year.
inline constexpr char kLedgerFileNames[] = "扣缴台账####.dat";

// The ledger file as it was read: a ledger written anew since has another creation time, one
// with a month added another number of records.
struct LedgerStamp {
  bool existed = false;
  double created = 0;
  int32_t count = 0;

  bool operator==(const LedgerStamp&) const = default;
};

// Reads the ledger of `year`, first rolling back a save that a kill cut short (every reading
// and saving of a ledger does). A missing file is an empty ledger. False with a message naming the
// file when it cannot be read, is not a ledger, or holds a record of another year. `stamp`, when
// given, receives the file's stamp.
bool LoadLedger(DatabaseTable& databases, fs::FileSystem& files, const Text& path, int year,
                std::vector<LedgerEntry>* entries, Text* message, LedgerStamp* stamp = nullptr);

// Writes the whole ledger crash-safely (see WriteRecordFile). Given the stamp of the ledger read,
// a ledger that another program changed since is refused with a message, and left as it is.
bool SaveLedger(DatabaseTable& databases, fs::FileSystem& files, const Text& path,
                const std::vector<LedgerEntry>& entries, Text* message,
                const LedgerStamp* as_read = nullptr);

// The ledger as the calculation of one pay month reads it: what the month is worked out from,
// and the stored bytes of the records that its saving writes back as they are instead of
// decoding and coding them again.
//
// A pay month may have several registers (one per department, or a bonus beside the salary):
// each register's records of the month are kept apart, and a person's month is the sum over
// them. Calculating one register replaces only its own records, and takes the other registers'
// records of the month as already withheld this month.
struct LedgerOfMonth {
  int month = 0;
  // The register whose records of the month are replaced; empty: the whole month's.
  Text source;
  LedgerStamp stamp;
  std::unordered_map<Text, CumulativeSums> earlier;  // SumsBefore(entries, month)
  // SumsOfOtherRegisters(entries, month, source): the month's records of the other registers.
  std::unordered_map<Text, CumulativeSums> this_month;
  std::vector<Text> sources;  // of the month's records, in order, each once
  std::vector<int8_t> months;  // the month of each record, in file order
  // Whether the records are in month order and each is stored as writing the whole ledger
  // stores it.
  bool as_written = true;
  // When the month can be written in place (InPlace), the bytes of the month's own records;
  // else those of every record, one after another in file order.
  std::string stored;
};

// Whether the month of `ledger` is the last one or comes after it, in a ledger as_written: its
// records can then be written in place.
bool InPlace(const LedgerOfMonth& ledger);

// The records of the ledger's month, in file order, decoded from the bytes it keeps.
std::vector<LedgerEntry> RecordsOfMonth(const LedgerOfMonth& ledger);

// Reads the ledger of `year` for calculating `month` of the register `source` (empty: the whole
// month is calculated anew); fails as LoadLedger does.
bool LoadLedgerOfMonth(DatabaseTable& databases, fs::FileSystem& files, const Text& path, int year,
                       int month, LedgerOfMonth* ledger, Text* message,
                       const Text& source = Text());

// Writes the ledger with the records of its month (of its source, when it has one) replaced by
// `fresh`: the same file, byte for byte, as SaveLedger(ReplaceMonth(entries, month, fresh,
// source)) writes for the entries it was read
// from (the creation time aside). When the month is the last one or comes after it, and the
// file is still as it was read, only its records are written, in place and crash-safely (see
// ReplaceTailRecords); otherwise the whole ledger is written anew. A ledger that another
// program changed since it was read is refused with a message, and left as it is.
// REQUIRES: every fresh entry is of the ledger's month.
bool SaveLedgerOfMonth(DatabaseTable& databases, fs::FileSystem& files, const Text& path,
                       const LedgerOfMonth& ledger, const std::vector<LedgerEntry>& fresh,
                       Text* message);

// The sums of each person's months before `month`, by number.
std::unordered_map<Text, CumulativeSums> SumsBefore(const std::vector<LedgerEntry>& entries,
                                                    int month);

// The months that the entries cover, ascending, each once.
std::vector<int> MonthsOf(const std::vector<LedgerEntry>& entries);

// The last month that the ledger holds (0 when it is empty).
int LastMonth(const std::vector<LedgerEntry>& entries);

// The ledger with the records of `month` (those of `source` only, when it is given) replaced by
// `fresh`, which follow the month's other records.
std::vector<LedgerEntry> ReplaceMonth(std::vector<LedgerEntry> entries, int month,
                                      std::vector<LedgerEntry> fresh,
                                      const Text& source = Text());

// Whether the two lists hold the same records, field for field, their sources aside.
bool SameRecords(const std::vector<LedgerEntry>& a, const std::vector<LedgerEntry>& b);

// The sums of each person's records of `month` that came from registers other than `source`.
std::unordered_map<Text, CumulativeSums> SumsOfOtherRegisters(
    const std::vector<LedgerEntry>& entries, int month, const Text& source);

// The month of each person over every register of it, one entry per person in the order of
// their first record: the month's figures summed, the basic deduction once, the cumulative
// figures of the person's last record (the last calculated, which took the others in).
std::vector<LedgerEntry> PersonMonths(const std::vector<LedgerEntry>& entries, int month);

}  // namespace sr::app

#endif  // SALARY_APP_WITHHOLDING_LEDGER_H_
