#ifndef SALARY_FORMS_SECONDARY_FORMS_H_
#define SALARY_FORMS_SECONDARY_FORMS_H_

#include "forms/controls.h"
#include "forms/grid_control.h"
#include "forms/window.h"

namespace sr::forms {

// The secondary windows. Each is loaded modally and built afresh every time it is loaded;
// its handlers (implemented by app/) receive the form so that they reach its controls.

// The find window binds no event.
class FindForm : public Window {
 public:
  FindForm();

  Label& prompt_label() { return prompt_; }
  EditBox& edit_box() { return edit_; }
  Button& find_button() { return find_; }

 private:
  Label& prompt_;
  EditBox& edit_;
  Button& find_;
};

// The backups window "备份": the earlier versions of the program's files, newest first, and
// the button that puts the chosen one back. It binds no event; the app binds its buttons.
class BackupForm : public Window {
 public:
  BackupForm();

  Label& folder_label() { return folder_; }
  GridControl& grid_control() { return grid_; }
  Grid& grid() { return grid_.grid(); }
  Button& restore_button() { return restore_; }
  Button& close_button() { return close_; }

 private:
  Label& folder_;
  GridControl& grid_;
  Button& restore_;
  Button& close_;
};

class TaxRateForm;

class TaxRateWindowHandlers {
 public:
  virtual ~TaxRateWindowHandlers() = default;
  virtual void OnCreated(TaxRateForm& form) = 0;
  virtual void OnCloseQuery(TaxRateForm& form) = 0;
  virtual void OnSaveClicked(TaxRateForm& form) = 0;
};

class TaxRateForm : public Window {
 public:
  explicit TaxRateForm(TaxRateWindowHandlers& handlers);

  GridControl& grid_control() { return grid_; }
  Grid& grid() { return grid_.grid(); }
  Button& save_button() { return save_; }

 private:
  GridControl& grid_;
  Button& save_;
};

class SettingsForm;

class SettingsWindowHandlers {
 public:
  virtual ~SettingsWindowHandlers() = default;
  virtual void OnCreated(SettingsForm& form) = 0;
  virtual void OnEditBoxChanged(SettingsForm& form) = 0;
  virtual void OnGridClicked(SettingsForm& form, int x, int y) = 0;
  virtual void OnGridDoubleClick(SettingsForm& form) = 0;
  virtual void OnConfirmClicked(SettingsForm& form) = 0;
  virtual void OnCancelClicked(SettingsForm& form) = 0;
};

class SettingsForm : public Window {
 public:
  explicit SettingsForm(SettingsWindowHandlers& handlers);

  GridControl& grid_control() { return grid_; }
  Grid& grid() { return grid_.grid(); }
  ShapeBox& edit_frame() { return frame_; }
  EditBox& edit_box() { return edit_; }
  Label& help_label() { return help_; }
  Button& confirm_button() { return confirm_; }
  Button& cancel_button() { return cancel_; }

 private:
  GridControl& grid_;
  ShapeBox& frame_;
  EditBox& edit_;
  Label& help_;
  Button& confirm_;
  Button& cancel_;
};

class SummaryForm;

class SummaryWindowHandlers {
 public:
  virtual ~SummaryWindowHandlers() = default;
  virtual void OnCreated(SummaryForm& form) = 0;
  virtual void OnPrintClicked(SummaryForm& form) = 0;
};

class SummaryForm : public Window {
 public:
  explicit SummaryForm(SummaryWindowHandlers& handlers);

  GridControl& grid_control() { return grid_; }
  Grid& grid() { return grid_.grid(); }
  Button& print_button() { return print_; }

 private:
  GridControl& grid_;
  Button& print_;
};

class ImportForm;

class ImportWindowHandlers {
 public:
  virtual ~ImportWindowHandlers() = default;
  virtual void OnCreated(ImportForm& form) = 0;
  virtual void OnAppendClicked(ImportForm& form) = 0;
  virtual void OnReplaceClicked(ImportForm& form) = 0;
  virtual void OnCancelClicked(ImportForm& form) = 0;
};

// The import's preview "导入预览": what the file's columns match and the rows it brings, then
// append, replace or cancel.
class ImportForm : public Window {
 public:
  explicit ImportForm(ImportWindowHandlers& handlers);

  Label& summary_label() { return summary_; }
  GridControl& grid_control() { return grid_; }
  Grid& grid() { return grid_.grid(); }
  Button& append_button() { return append_; }
  Button& replace_button() { return replace_; }
  Button& cancel_button() { return cancel_; }

 private:
  Label& summary_;
  GridControl& grid_;
  Button& append_;
  Button& replace_;
  Button& cancel_;
};

}  // namespace sr::forms

#endif  // SALARY_FORMS_SECONDARY_FORMS_H_
