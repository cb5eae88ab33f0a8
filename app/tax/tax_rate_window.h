#ifndef SALARY_APP_TAX_TAX_RATE_WINDOW_H_
#define SALARY_APP_TAX_TAX_RATE_WINDOW_H_

#include <vector>

#include "app/app_context.h"
#include "app/tax_rules/tax_table.h"
#include "forms/secondary_forms.h"

namespace sr::app {

// The tax rate window: shows the tax rate table in its merged 14 x 9 grid and saves it on the
// save button and on the close box. Only whole numbers are saved; a table that cannot be opened
// or read is reported and the window does not open.
class TaxRateWindow : public forms::TaxRateWindowHandlers {
 public:
  // Edits `table`: the monthly tax rate table, or the resident table of the cumulative method.
  explicit TaxRateWindow(AppContext& app, const TaxTableFile& table = kMonthlyTaxTable)
      : app_(app), table_(table) {}

  // Opens the table and shows the window modally until it is saved or given up.
  void Show();

  void OnCreated(forms::TaxRateForm& form) override;
  void OnCloseQuery(forms::TaxRateForm& form) override;
  void OnSaveClicked(forms::TaxRateForm& form) override;

 private:
  enum class Outcome { kOpen, kDone, kShowAgain };

  // Saves the grid into the file and closes the window; false (nothing saved) when a cell is
  // not a whole number or the file refused, after telling the user.
  bool Save(forms::TaxRateForm& form, bool from_close_box);
  void FillFromTable(Grid& grid) const;

  AppContext& app_;
  const TaxTableFile& table_;
  Text path_;
  TaxTableTexts loaded_;     // the texts read from the file
  std::vector<Text> kept_;   // the grid's cells, row after row, when the window is shown again
  Outcome outcome_ = Outcome::kOpen;
};

// A cell of the tax rate window that holds a field of the table.
struct TaxCell {
  int record;
  int field;
  int row;
  int column;
};

// Every cell that the window saves, in the order of the save: the unused field 1 of records 2
// to 9 in row 2, the threshold, then lower bounds, upper bounds, rates and quick deductions.
const std::vector<TaxCell>& SavedTaxCells();

// "第 r 行第 c 列：text" for every saved cell that is not a whole number; empty cells are allowed
// for lower bounds, upper bounds, row 2 and every cell of a bracket whose lower bound is empty
// or 0 (not in use).
std::vector<Text> CellsNotWhole(const Grid& grid);

// One line per bracket k >= 2 at whose lower bound the tax jumps: its quick deduction differs
// from Q(k-1) + L(k) x (R(k) - R(k-1)) / 100, Q(k-1) as stored (bracket 1 has none: 0). The
// line gives the value expected. Only brackets in use are checked: those before the first one
// with a lower bound of 0.
std::vector<Text> QuickDeductionMismatches(const TaxTableTexts& texts);

}  // namespace sr::app

#endif  // SALARY_APP_TAX_TAX_RATE_WINDOW_H_
