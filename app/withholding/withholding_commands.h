#ifndef SALARY_APP_WITHHOLDING_WITHHOLDING_COMMANDS_H_
#define SALARY_APP_WITHHOLDING_WITHHOLDING_COMMANDS_H_

#include <vector>

#include "app/app_context.h"
#include "app/withholding/ledger.h"
#include "app/withholding/pay_month.h"
#include "app/withholding/people_file.h"

namespace sr::app {

// The calculation with withholding by the cumulative method. Without a people file in the
// program directory it is exactly the monthly calculation. With one, residents in it are
// withheld by the cumulative method on the register's pay month and the year's ledger, and
// everybody else by the monthly table; the month's records go into the ledger.
class WithholdingCommands {
 public:
  explicit WithholdingCommands(AppContext& app) : app_(app) {}

  void Calculate();
  // "Why this tax" for the register row under the cursor: the month's calculation written out.
  void ExplainCursorRow();
  // Takes over earlier months of a year from a CSV file into the year's ledger.
  void ImportTakeOver();
  // The withholding list of the register's pay month, from the ledger.
  void ShowWithholdingList();

  // The people file and the ledger of a year, in the program directory.
  Text PeoplePath() const;
  Text LedgerPathOf(int year) const;
  // The register's source as the ledger notes it: its path, or a word for a new register.
  Text RegisterSource() const;

  // A new register got its file: the pay month it had goes beside that file.
  void NewRegisterSaved();
  // A new register was started: the last new register's pay month is not its.
  void ForgetNewRegister();

  // The pay month remembered for the register shown; unknown when none is.
  PayMonth RememberedPayMonth() const;
  // Asks the user for the pay month, proposing `proposed`; false when the user gave up.
  bool AskPayMonth(const PayMonth& proposed, PayMonth* chosen);

 private:
  // The register's pay month, asked for the first time and then remembered; false when the
  // user gave up.
  bool PayMonthOfRegister(PayMonth* pay_month);
  PayMonth ProposedPayMonth();
  void Remember(const PayMonth& pay_month);
  // The explanation of a person row; false with a message for the user when it cannot be had.
  bool Explain(int row, Text* text);
  void ShowError(const Text& text);
  bool Confirm(const Text& text);

  AppContext& app_;
  // A new register's pay month lives here until it has a file to sit beside.
  Text month_register_;
  PayMonth month_;
  PayMonth last_used_;
  // The register whose file a new register's first save made: the ledger records it left
  // as a new register are its own.
  Text saved_new_register_;
};

}  // namespace sr::app

#endif  // SALARY_APP_WITHHOLDING_WITHHOLDING_COMMANDS_H_
