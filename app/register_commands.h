#ifndef SALARY_APP_REGISTER_COMMANDS_H_
#define SALARY_APP_REGISTER_COMMANDS_H_

#include "app/app_context.h"

namespace sr::app {

// The life of the one register that the main window holds: start-up, New, Open, Save, Save As,
// Exit, the unsaved-changes prompt and the head-count label.
class RegisterCommands {
 public:
  explicit RegisterCommands(AppContext& app) : app_(app) {}

  void StartUp();  // the main window's created event
  void New();
  void Open();
  void Save();
  void SaveAs();
  void Exit();  // also the close query of the main window

  // Asks " 是否要保存所作的修改? " when the register holds unsaved changes; Yes saves.
  void PromptToSave();
  void UpdateHeadCount();

 private:
  void LayOutNewRegister();

  AppContext& app_;
};

}  // namespace sr::app

#endif  // SALARY_APP_REGISTER_COMMANDS_H_
