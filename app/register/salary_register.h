#ifndef SALARY_APP_REGISTER_SALARY_REGISTER_H_
#define SALARY_APP_REGISTER_SALARY_REGISTER_H_

#include <vector>

#include "app/register/register_layout.h"
#include "app/register/row_texts.h"
#include "base/value.h"

// The salary register as the program's own data, apart from the grid that shows it: the titles
// of its 22 columns and one row of 22 texts per person row. Rows are numbered as the register
// shows them: row 0 is the title row, rows 1 to RowCount() - 1 are person rows (most of a new
// register's 5000 are empty, and every one of them is a row here too, though one that holds no
// texts until it is written).
//
// A cell keeps its text, not only a number: an amount typed as "1,500" stays "1,500" until it is
// stored, and reads as ToNumber("1,500") = 1 wherever it is used.
namespace sr::app {

// A rectangle of register cells, bounds included.
struct RegisterRange {
  int first_row = 0;
  int first_column = 0;
  int last_row = -1;
  int last_column = -1;

  int rows() const { return last_row - first_row + 1; }
  int columns() const { return last_column - first_column + 1; }
  bool operator==(const RegisterRange&) const = default;
};

// One change of the register, as its listeners hear of it. Each carries what it replaced, so a
// listener can undo it.
struct RegisterChange {
  enum class Kind {
    kTitles,        // titles of columns range.first_column..last_column (range rows are 0)
    kCells,         // texts of person cells inside `range`
    kRowsInserted,  // rows range.first_row..last_row are new (range spans every column)
    kRowsRemoved,   // rows range.first_row..last_row are gone; `previous_rows` held them
    kRowsReplaced,  // every person row was replaced (range: the new rows); `previous_rows`
                    // holds the old ones
  };
  RegisterChange(Kind kind, RegisterRange range) : kind(kind), range(range) {}

  Kind kind;
  RegisterRange range;
  // kTitles, kCells: the texts of `range` before, row after row.
  std::vector<Text> previous_texts;
  std::vector<RowTexts> previous_rows;
};

// Told of every change of the register, in the order they happen.
class RegisterListener {
 public:
  virtual ~RegisterListener() = default;
  // Just before the register changes: a view stores input that it still holds (an open cell
  // editor) here, and may change the register to do so.
  virtual void RegisterChanging() {}
  // After the change. REQUIRES: the listener does not change the register from here.
  virtual void RegisterChanged(const RegisterChange& change) = 0;
  // The changes between these two belong to one user action (one undo step); an action may
  // change nothing. A change outside any action is a step of its own.
  virtual void ActionBegins() {}
  virtual void ActionEnds() {}
};

// A column of the register as a pay item: its role, title and tax-exempt flag.
struct PayItem {
  int column = -1;
  int item = 0;  // 1 to kSalaryItems for an item the user names; 0 for the other columns
  ColumnRole role = ColumnRole::kRemark;
  Text title;
  bool exempt = false;  // the title carries "(免税)"
};

class SalaryRegister {
 public:
  SalaryRegister() = default;
  SalaryRegister(const SalaryRegister&) = delete;
  SalaryRegister& operator=(const SalaryRegister&) = delete;

  // Listeners must outlive the register or be removed first.
  void AddListener(RegisterListener* listener);
  void RemoveListener(RegisterListener* listener);

  // --- Size ---

  // The title row and the person rows, as the register grid counts its rows (at least 1).
  int RowCount() const { return static_cast<int>(rows_.size()) + 1; }
  // Row 0 (titles) or a person row, and a column of the layout.
  bool CellExists(int row, int column) const {
    return row >= 0 && row < RowCount() && column >= 0 && column < kRegisterColumns;
  }

  // --- Titles and items ---

  const Text& Title(int column) const { return titles_[column]; }
  const RowTexts& Titles() const { return titles_; }
  // False for a column outside the layout.
  bool SetTitle(int column, Text title);
  void SetTitles(RowTexts titles);
  // REQUIRES: 0 <= column < kRegisterColumns.
  bool IsExempt(int column) const { return IsTaxExempt(titles_[column]); }
  PayItem Item(int column) const;
  // Items 1 to kSalaryItems in order.
  std::vector<PayItem> SalaryItems() const;

  // --- Cells ---

  // REQUIRES: CellExists(row, column). Row 0 gives the title.
  const Text& CellText(int row, int column) const {
    return row == 0 ? titles_[column] : rows_[row - 1][column];
  }
  // The amount a cell stands for: ToNumber of its text (an empty or other text counts as 0).
  double Amount(int row, int column) const;
  const Text& Number(int row) const { return CellText(row, kNumberColumn); }
  const Text& Name(int row) const { return CellText(row, kNameColumn); }
  const Text& Remark(int row) const { return CellText(row, kRemarkColumn); }
  // REQUIRES: 1 <= row < RowCount().
  const RowTexts& Row(int row) const { return rows_[row - 1]; }

  // Whether the row holds a person: number and name both hold text. Only such rows are stored
  // and counted in the head count.
  bool IsPerson(int row) const;
  int CountPeople() const;
  // Whether the row stands for somebody on paper and in an export: its number or its name holds
  // text. A row with neither is nobody, whatever the calculation wrote into it.
  bool HasNumberOrName(int row) const;

  // Sets a cell's text (row 0: the title). False for a cell that does not exist. Listeners hear
  // of it only when the text changed.
  bool SetCellText(int row, int column, Text text);
  // Sets a cell to ToText(amount), the text the program shows for a number.
  bool SetAmount(int row, int column, double amount);
  // Sets the cells of a rectangle of person rows from `texts`, row after row. False, and nothing
  // changes, when the rectangle is empty, leaves the register, touches row 0 or `texts` does not
  // fill it. Listeners hear of it only when a text changed.
  bool SetCellTexts(const RegisterRange& range, std::vector<Text> texts);

  // --- Rows ---

  // Inserts `rows` before person row `before`; a position outside the person rows appends them
  // (as the grid's InsertRow does). Returns the number of the first new row.
  int InsertRows(int before, std::vector<RowTexts> rows);
  int InsertRow(int before) { return InsertRows(before, std::vector<RowTexts>(1)); }
  // Removes `count` person rows from `first` on; false, and nothing changes, unless they all
  // exist.
  bool RemoveRows(int first, int count);
  bool RemoveRow(int row) { return RemoveRows(row, 1); }
  // Adds empty rows at the end or removes rows from the end; a count below 1 is refused.
  bool SetRowCount(int count);
  // Replaces every person row at once (a register loaded, sorted or started anew).
  void ReplaceRows(std::vector<RowTexts> rows);

  // Brackets one user action (RegisterAction does it for a scope). Actions nest; listeners hear
  // only of the outermost.
  void BeginAction();
  void EndAction();

 private:
  void Changing();
  void Changed(const RegisterChange& change);
  // Whether the cells of `range` hold `texts` already. REQUIRES: a valid range that they fill.
  bool HoldsTexts(const RegisterRange& range, const std::vector<Text>& texts) const;

  RowTexts titles_;
  std::vector<RowTexts> rows_;
  std::vector<RegisterListener*> listeners_;
  int action_depth_ = 0;
};

// The changes of the register made while it lives are one user action.
class RegisterAction {
 public:
  explicit RegisterAction(SalaryRegister& salary_register) : register_(salary_register) {
    register_.BeginAction();
  }
  ~RegisterAction() { register_.EndAction(); }
  RegisterAction(const RegisterAction&) = delete;
  RegisterAction& operator=(const RegisterAction&) = delete;

 private:
  SalaryRegister& register_;
};

}  // namespace sr::app

#endif  // SALARY_APP_REGISTER_SALARY_REGISTER_H_
