#ifndef SALARY_APP_WITHHOLDING_TESTS_LEDGER_LINES_H_
#define SALARY_APP_WITHHOLDING_TESTS_LEDGER_LINES_H_

#include <vector>

#include "app/withholding/ledger.h"
#include "platform/fs/real_file_system.h"
#include "runtime/convert/conversions.h"

namespace sr::app::test {

// The ledger of 2026 at `path` as text, one line per record (month, number, name, ID, income,
// tax withheld, basic deduction, source), read with a table of its own; a line naming the
// failure when it cannot be read.
inline std::vector<Text> LedgerLines(const Text& path) {
  DatabaseTable databases(fs::RealFileSystem());
  std::vector<LedgerEntry> entries;
  Text message;
  if (!LoadLedger(databases, fs::RealFileSystem(), path, 2026, &entries, &message)) {
    return {"<" + message + ">"};
  }
  std::vector<Text> lines;
  for (const LedgerEntry& e : entries) {
    lines.push_back(Concat({ToText(e.month), " ", e.number, " ", e.name, " ", e.id_number, " ",
                            ToText(e.figures.income), " ", ToText(e.figures.withheld), " ",
                            ToText(e.basic), " ", e.source}));
  }
  return lines;
}

}  // namespace sr::app::test

#endif  // SALARY_APP_WITHHOLDING_TESTS_LEDGER_LINES_H_
