#ifndef SALARY_APP_REGISTER_REGISTER_COMMANDS_H_
#define SALARY_APP_REGISTER_REGISTER_COMMANDS_H_

#include <functional>
#include <optional>

#include "app/app_context.h"
#include "app/progress_display.h"
#include "app/register/register_storage.h"

namespace sr::app {

// What else a room keeps of the register shown, told of the register file's life: the
// withholding room writes the month calculated into the year's ledger when the register is saved.
class RegisterFileListener {
 public:
  virtual ~RegisterFileListener() = default;
  // The register is about to be written at `path`: false stops the save, the listener having
  // told the user why.
  virtual bool BeforeRegisterSaved(const Text& path) = 0;
  // The save that BeforeRegisterSaved let go on ended: `saved` tells whether the register file
  // at `path` was written.
  virtual void AfterRegisterSaved(const Text& path, bool saved) = 0;
  // Another register is shown (New, or Open of a file): what was kept of the last one goes.
  virtual void RegisterReplaced() = 0;
};

// The life of the one register that the main window holds: start-up, New, Open, Save, Save As,
// Exit, the unsaved-changes prompt and the head-count label.
class RegisterCommands {
 public:
  explicit RegisterCommands(AppContext& app) : app_(app), progress_(app.form) {}

  void SetFileListener(RegisterFileListener* listener) { listener_ = listener; }
  // Asked before the unsaved-changes prompt's 是 saves: false stops the command that asked, the
  // changes kept on screen (the shell asks there whether results changed since 计算 may go out).
  void SetResultsCheck(std::function<bool()> results_may_go_out) {
    results_may_go_out_ = std::move(results_may_go_out);
  }

  void StartUp();  // the main window's created event
  void New();
  void Open();
  // Open without the dialog: shows the register file at `path` as Open does after its dialog.
  void OpenFile(const Text& path);
  // Saves the grid into the register file (asking for a name first when untitled). A failure is
  // shown to the user and leaves the flags, the title and the file as they were.
  void Save();
  void SaveAs();
  // Closes the main window, which asks MayClose first.
  void Exit();
  // The main window's close query (Exit, also by the frame): asks about unsaved changes and
  // closes the databases. False keeps the program running with the changes still unsaved.
  bool MayClose();

  // Asks " 是否要保存所作的修改? " (是, 否, 取消) when the register holds unsaved changes; 是
  // saves. Returns whether the command that asked may go on and drop the changes: after 否, after
  // a save that completed, or after a failed save when the user answered 是 to `drop_question`
  // ("所作的修改没有保存。" + it). After 取消, a save dialog that was cancelled or a failed save
  // kept, the changes stay unsaved (the modified flag is set again) and the command should stop.
  // `explanation` follows the question on lines of its own (what 否 does, when it is not plain).
  bool PromptToSave(const Text& drop_question, const Text& explanation = Text()) {
    return AskToSave(drop_question, explanation) != PromptAnswer::kKept;
  }
  // "表内人数: N 人", N the people that Save would store.
  void UpdateHeadCount();

  // The full path of the register file shown in the grid while it is open under "打开的数据";
  // empty when the grid shows no register file (a new register, or after a failed reopen).
  const Text& shown_register_file() const { return shown_file_; }
  // Closes every database under "打开的数据" (the register file, or the relay file that the
  // settings window leaves there).
  void CloseRegisterFiles();
  // Opens `path` under "打开的数据" as the register file shown in the grid (for reading only
  // when the program may not write it there); false when it cannot be opened (then no register
  // file is shown).
  bool ReopenRegister(const Text& path);
  // The bytes each text column can hold in the file the register is saved to (0: not known).
  TextWidths TextFieldWidths() const;
  // What `path` is when it names a file that the program keeps for itself (the relay file, the
  // tax tables, the people file, a ledger, their journals); empty for any other file. No
  // register is written over one of them, whatever name the save dialog was given.
  Text OwnFileKind(const Text& path) const;
  // Tells the user that `path` could not be handled: "<what> <path>：<reason>".
  void ShowFailure(const char* what, const Text& path, const Text& reason, const char* title);

 private:
  enum class SaveOutcome { kSaved, kCancelled, kFailed };
  // kKept: the command stops; the changes stay on screen, marked unsaved again.
  enum class PromptAnswer { kNothingToSave, kSaved, kDiscarded, kKept };
  PromptAnswer AskToSave(const Text& drop_question, const Text& explanation = Text());
  // Saves the register; a new file (untitled) takes the structure of `structure_from`, a
  // register file, or of the relay file when that is empty.
  SaveOutcome SaveRegister(const Text& structure_from = Text());
  // Takes the structure of the register file shown again while it is open.
  void RefreshShownStructure();
  // Whether the file may be saved at `path`; otherwise tells the user why not.
  bool MaySaveAt(const Text& path);
  void LayOutNewRegister();
  Text RelayPath() const;
  // Whether the name `chosen` in the save dialog (`path` with the default extension) names a
  // file: not a folder, and not empty; otherwise tells the user.
  bool NamesAFile(const Text& chosen, const Text& path);

  AppContext& app_;
  ProgressDisplay progress_;
  std::function<bool()> results_may_go_out_;
  RegisterFileListener* listener_ = nullptr;
  Text shown_file_;
  // The structure of the register file last shown in the grid, as it was read; Save As copies it
  // even when that file has been damaged or removed since. None for a new register.
  std::optional<RegisterStructure> shown_structure_;
};

}  // namespace sr::app

#endif  // SALARY_APP_REGISTER_REGISTER_COMMANDS_H_
