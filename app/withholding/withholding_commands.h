#ifndef SALARY_APP_WITHHOLDING_WITHHOLDING_COMMANDS_H_
#define SALARY_APP_WITHHOLDING_WITHHOLDING_COMMANDS_H_

#include <optional>
#include <vector>

#include "app/app_context.h"
#include "app/register/register_commands.h"
#include "app/withholding/ledger.h"
#include "app/withholding/pay_month.h"
#include "app/withholding/people_file.h"
#include "app/withholding/register_month.h"

namespace sr::app {

// The calculation with withholding by the cumulative method. Without a people file in the
// program directory it is exactly the monthly calculation. With one, residents in it are
// withheld by the cumulative method on the register's pay month and the year's ledger, and
// everybody else by the monthly table. 计算 changes no file: the month's records go into the
// ledger when the register is saved, before the register file.
class WithholdingCommands : public RegisterFileListener {
 public:
  // `registers`, when given, opens the registers of later months to calculate them again.
  explicit WithholdingCommands(AppContext& app, RegisterCommands* registers = nullptr)
      : app_(app), registers_(registers) {}

  void Calculate();
  bool BeforeRegisterSaved(const Text& path) override;
  void AfterRegisterSaved(const Text& path, bool saved) override;
  void RegisterReplaced() override;
  // After a save that wrote a month while the ledger holds later months: names the months that
  // rest on other figures now, and with `may_open` offers to open the first one's register and
  // calculate it (its save offers the next).
  void OfferRecalculation(bool may_open);
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

  // Whether the register may be calculated with the other registers of the month that hold
  // some of its people; asks the user when there are any.
  bool MayCountOtherRegisters(const PayMonth& pay_month, const LedgerOfMonth& ledger,
                              const MonthOutcome& outcome);
  // Whether to go on when months of employment before the pay month are missing from the
  // ledger; asks the user when there are any.
  bool MayGoOnWithoutEarlierMonths(const PayMonth& pay_month, const LedgerOfMonth& ledger,
                                   const MonthOutcome& outcome);
  // The month just written at `path`: later months that now rest on other figures join the
  // registers to calculate again, and the register written leaves them.
  void NoteLaterMonths(const Text& path);
  // Whether the register still shows the tax of every person that the month calculated.
  bool ShowsPendingTax() const;
  // Puts back the register's records that the save wrote over, the register file not having
  // been written.
  void PutBackLedger();

  // The month calculated and not yet saved: what goes into the ledger at the next save.
  struct PendingMonth {
    PayMonth pay_month;
    std::vector<LedgerEntry> entries;
    LedgerOfMonth ledger;  // as the calculation read it, for the register it was calculated as
  };
  // The register's records of the month that a save replaced, until the register is written.
  struct Replaced {
    PayMonth pay_month;
    Text source;
    std::vector<LedgerEntry> entries;
  };

  AppContext& app_;
  // The register shown's pay month lives here until a save puts it beside the register file.
  Text month_register_;
  PayMonth month_;
  PayMonth last_used_;
  std::optional<PendingMonth> pending_;
  std::optional<Replaced> replaced_;
  RegisterCommands* registers_;
  // The registers of months to calculate again, in month order, of the year `stale_year_`;
  // `stale_news_` while the user has not been told of them since they changed.
  std::vector<std::pair<int, Text>> stale_;
  int stale_year_ = 0;
  bool stale_news_ = false;
};

}  // namespace sr::app

#endif  // SALARY_APP_WITHHOLDING_WITHHOLDING_COMMANDS_H_
