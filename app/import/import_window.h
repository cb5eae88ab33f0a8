#ifndef SALARY_APP_IMPORT_IMPORT_WINDOW_H_
#define SALARY_APP_IMPORT_IMPORT_WINDOW_H_

#include <optional>

#include "app/import/import_plan.h"
#include "forms/framework.h"
#include "forms/secondary_forms.h"

namespace sr::app {

// The handlers of the preview "导入预览": it shows the file's titles, the item each matched and
// the rows the import brings, and what the file's problem is; 追加 and 替换 close it with the
// user's choice (only when the file may be imported), 取消 and the close box without one.
class ImportWindow : public forms::ImportWindowHandlers {
 public:
  ImportWindow(forms::Framework& framework, const ImportPlan& plan, const Text& path,
               const SalaryRegister& salary_register);

  const std::optional<ImportMode>& choice() const { return choice_; }

  void OnCreated(forms::ImportForm& form) override;
  void OnAppendClicked(forms::ImportForm& form) override { Choose(form, ImportMode::kAppend); }
  void OnReplaceClicked(forms::ImportForm& form) override { Choose(form, ImportMode::kReplace); }
  void OnCancelClicked(forms::ImportForm& form) override { framework_.Close(form); }

 private:
  void Choose(forms::ImportForm& form, ImportMode mode);

  forms::Framework& framework_;
  const ImportPlan& plan_;
  const Text& path_;
  const SalaryRegister& register_;
  std::optional<ImportMode> choice_;
};

}  // namespace sr::app

#endif  // SALARY_APP_IMPORT_IMPORT_WINDOW_H_
