#ifndef SALARY_APP_WITHHOLDING_WITHHOLDING_LIST_WINDOW_H_
#define SALARY_APP_WITHHOLDING_WITHHOLDING_LIST_WINDOW_H_

#include <vector>

#include "app/app_context.h"
#include "app/withholding/ledger.h"
#include "forms/withholding_list_form.h"

namespace sr::app {

// The month's withholding list in a window: 打印 prints it through the printer object, 导出
// sends it to a new workbook of the spreadsheet application for filing, 个人累计 shows the
// year-to-date statement of the person in the cursor's row.
class WithholdingListWindow : public forms::WithholdingListHandlers {
 public:
  // `ledger`: the year's ledger; the list shows its records of `month`.
  WithholdingListWindow(AppContext& app, std::vector<LedgerEntry> ledger, int year, int month);

  void Show();

  void OnCreated(forms::WithholdingListForm& form) override;
  void OnPrintClicked(forms::WithholdingListForm& form) override;
  void OnExportClicked(forms::WithholdingListForm& form) override;
  void OnStatementClicked(forms::WithholdingListForm& form) override;

 private:

  AppContext& app_;
  std::vector<LedgerEntry> ledger_;
  std::vector<std::vector<Text>> rows_;
  Text heading_;
};

}  // namespace sr::app

#endif  // SALARY_APP_WITHHOLDING_WITHHOLDING_LIST_WINDOW_H_
