#ifndef SALARY_APP_MAIN_WINDOW_H_
#define SALARY_APP_MAIN_WINDOW_H_

#include "app/program_state.h"
#include "forms/framework.h"
#include "forms/main_form.h"
#include "platform/fs/file_system.h"

namespace sr::app {

// The main window's handlers: the document lifecycle and the commands that the menu and the
// toolbar reach.
class MainWindow : public forms::MainWindowHandlers {
 public:
  MainWindow(forms::Framework& framework, fs::FileSystem& file_system, ProgramState& state);

  forms::MainForm& form() { return form_; }

  // Start-up and the window's close query.
  void OnCreated() override;
  void OnCloseQuery() override;

  void OnNew() override;
  void OnOpen() override {}
  void OnSave() override {}
  void OnSaveAs() override {}
  void OnExit() override;
  void OnModify() override {}
  void OnDeleteRow() override {}
  void OnInsertBlankRow() override {}
  void OnFind() override {}
  void OnCopy() override;
  void OnPaste() override;
  void OnSort() override {}
  void OnCalculate() override {}
  void OnSummary() override {}
  void OnExport() override {}
  void OnTaxRate() override {}
  void OnSettings() override {}

  void OnGridEditBegins() override;
  void OnGridKeyDown(int key, int modifiers) override;

 private:
  // Empties the register grid into a new, untitled register.
  void LayOutNewRegister();

  forms::Framework& framework_;
  fs::FileSystem& file_system_;
  ProgramState& state_;
  forms::MainForm form_;
};

}  // namespace sr::app

#endif  // SALARY_APP_MAIN_WINDOW_H_
