#include "app/register/register_commands.h"

#include "app/register/backups.h"
#include "app/register/register_storage.h"
#include "forms/grid/grid.h"
#include "runtime/convert/conversions.h"
#include "runtime/recdb/database.h"
#include "runtime/recdb/names.h"

namespace sr::app {

namespace {
const char kNewTitle[] = "新建";
const char kSavePrompt[] = " 是否要保存所作的修改? ";
const char kSavePromptTitle[] = "保存文件提示";
const char kOpenTitle[] = "打开文件";
const char kSaveTitle[] = "保存文件";
const char kNotSaved[] = "所作的修改没有保存。";
constexpr int kNewRegisterPeople = 5000;
constexpr int kFirstCursorCell = 2;
const char kNoWriteReason[] =
    "程序没有写入这个文件或它所在文件夹的权限（文件只读、文件夹或磁盘不可写，或文件属于别的用户）。"
    "要保存修改，请用“另存为”保存到别处。";
}  // namespace

void RegisterCommands::StartUp() {
  ProgramState& state = app_.state;
  state.untitled = 1;
  // Nothing is restored from an earlier run: the program directory is where it was started.
  Text directory;
  if (app_.seams.files.GetCurrentDirectory(&directory) == fs::kOk) {
    state.program_directory = directory;
  }
  app_.form.open_dialog().SetInitialDirectory(state.program_directory);
  app_.form.save_dialog().SetInitialDirectory(state.program_directory);
  New();
}

TextWidths RegisterCommands::TextFieldWidths() const {
  return app::TextFieldWidths(app_.seams.files, RelayPath(),
                              shown_structure_ ? &*shown_structure_ : nullptr);
}

Text RegisterCommands::RelayPath() const {
  return SideFilePath(app_.state.program_directory, kRelayFileName);
}

Text RegisterCommands::OwnFileKind(const Text& path) const {
  return OwnFileAt(app_.seams.files, app_.state.own_files, app_.state.program_directory, path);
}

bool RegisterCommands::NamesAFile(const Text& chosen, const Text& path) {
  const Text title = recdb::FileTitle(chosen);
  bool folder = title.find_first_not_of('.') == Text::npos;  // "", ".", "..", "dir/", ".dat"
  for (const Text* name : {&chosen, &path}) {
    bool is_folder = false;
    if (!folder && app_.seams.files.IsFolder(*name, &is_folder) == fs::kOk) folder = is_folder;
  }
  if (!folder) return true;
  ShowFailure("无法保存文件", chosen, "这是文件夹或没有文件名，请输入要保存的文件名", kSaveTitle);
  return false;
}

void RegisterCommands::New() {
  if (!PromptToSave("是否放弃这些修改，新建工资表？")) return;
  app_.state.untitled = 1;
  app_.databases.CloseAllDatabases();
  shown_file_.clear();
  shown_structure_.reset();
  if (listener_ != nullptr) listener_->RegisterReplaced();
  LayOutNewRegister();
  app_.form.menu().SetDisabled(forms::kMenuSave, false);
  app_.grid().SetEditable(true);
  app_.form.SetCaption(kNewTitle);
  UpdateHeadCount();  // a new register holds nobody
  if (app_.history != nullptr) app_.history->Reset();
}

void RegisterCommands::LayOutNewRegister() {
  Grid& grid = app_.grid();
  grid.Reset();
  app_.salary_register.ReplaceRows(std::vector<RowTexts>(kNewRegisterPeople));
  FillTitleRow(app_.databases, RelayPath(), app_.salary_register);
  grid.SetColumnWidth(kNumberColumn, 50);
  grid.SetColumnWidth(kRemarkColumn, 200);
}

void RegisterCommands::CloseRegisterFiles() {
  for (size_t left = app_.databases.open_count(); left > 0; --left) {
    if (!app_.databases.SelectDatabase(kRegisterAlias)) break;
    app_.databases.CloseDatabase(kRegisterAlias);
  }
  shown_file_.clear();
}

bool RegisterCommands::ReopenRegister(const Text& path) {
  shown_file_.clear();
  bool view_only = false;
  if (path.empty() || !OpenRegisterDatabase(app_.databases, app_.seams.files, path, &view_only)) {
    return false;
  }
  shown_file_ = app_.databases.current()->full_path();
  shown_structure_ = CurrentStructure(app_.databases);
  return true;
}

void RegisterCommands::RefreshShownStructure() {
  if (!shown_file_.empty() && app_.databases.SelectDatabase(kRegisterAlias) &&
      app_.databases.current()->full_path() == shown_file_) {
    shown_structure_ = CurrentStructure(app_.databases);
  }
}

void RegisterCommands::ShowFailure(const char* what, const Text& path, const Text& reason,
                                   const char* title) {
  app_.framework.ShowMessage(Concat({what, " ", path, "：", reason}), title,
                             ui::MessageButtons::kOk, ui::MessageIcon::kError);
}

void RegisterCommands::Open() {
  forms::FileDialog& dialog = app_.form.open_dialog();
  if (!dialog.Run(app_.framework, &app_.form)) return;
  OpenFile(RegisterFileName(dialog.path()));
}

void RegisterCommands::OpenFile(const Text& path) {
  Text reason;
  // Before anything changes: a file that is refused stays as it was, and so does the register
  // shown now, unsaved changes and all.
  if (!CheckRegisterFile(app_.seams.files, path, &reason)) {
    ShowFailure("无法打开文件", path, reason, kOpenTitle);
    return;
  }
  // Changes to the register shown now are not dropped without a question, nor after a failed
  // save unless the user says so.
  const PromptAnswer answer = AskToSave(Concat({"是否放弃这些修改，打开 ", path, "？"}));
  if (answer == PromptAnswer::kKept) return;
  const Text previous = shown_file_;
  app_.databases.CloseAllDatabases();
  shown_file_.clear();
  bool view_only = false;
  if (!OpenRegisterDatabase(app_.databases, app_.seams.files, path, &view_only)) {
    reason = DatabaseErrorMessage(LastDatabaseError());
  } else if (!HasRegisterShape(app_.databases, &reason)) {
    app_.databases.CloseDatabase(kRegisterAlias);
  } else {
    shown_file_ = app_.databases.current()->full_path();
    shown_structure_ = CurrentStructure(app_.databases);
  }
  if (shown_file_.empty()) {
    ReopenRegister(previous);
    // The register shown stays as it was: changes that the prompt was told to drop are still
    // not in its file.
    if (answer == PromptAnswer::kDiscarded) app_.state.modified = 1;
    ShowFailure("无法打开文件", path, reason, kOpenTitle);
    return;
  }
  const Text repaired = RepairNotice(app_.databases, path);
  ProgramState& state = app_.state;
  state.untitled = 0;
  state.register_path = path;
  if (listener_ != nullptr) listener_->RegisterReplaced();
  Grid& grid = app_.grid();
  if (!LoadRegister(app_.databases, app_.salary_register, &progress_, &reason)) {
    ShowFailure("读取文件时出错", path, reason, kOpenTitle);
  }
  app_.form.menu().SetDisabled(forms::kMenuSave, false);
  app_.form.toolbar().ClearButtonState(forms::kToolModify, ui::kToolbarDisabled);
  app_.form.SetCaption(path);
  UpdateHeadCount();
  grid.SetEditable(false);
  if (app_.history != nullptr) app_.history->Reset();
  grid.SetCursor(kFirstCursorCell, kFirstCursorCell);
  app_.form.grid_control().SetFocus();
  if (!repaired.empty()) {
    app_.framework.ShowMessage(repaired, kOpenTitle, ui::MessageButtons::kOk,
                               ui::MessageIcon::kWarning);
  }
  if (view_only) {
    app_.framework.ShowMessage(Concat({"文件 ", path, " 只能查看：", kNoWriteReason}), kOpenTitle,
                               ui::MessageButtons::kOk, ui::MessageIcon::kWarning);
  }
}

void RegisterCommands::Save() { SaveRegister(); }

bool RegisterCommands::MaySaveAt(const Text& path) {
  bool allowed = true;
  if (app_.seams.files.MayReplace(path, &allowed) != fs::kOk || allowed) return true;
  ShowFailure("无法保存文件", path, kNoWriteReason, kSaveTitle);
  return false;
}

RegisterCommands::SaveOutcome RegisterCommands::SaveRegister(const Text& structure_from) {
  ProgramState& state = app_.state;
  const bool create = state.untitled == 1;
  Text path = state.register_path;
  Text chosen;
  if (create) {
    forms::FileDialog& dialog = app_.form.save_dialog();
    if (!dialog.Run(app_.framework, &app_.form)) return SaveOutcome::kCancelled;
    chosen = dialog.path();
    path = RegisterFileName(chosen);
  }
  app_.seams.files.SetCurrentDirectory(state.program_directory);
  if (create && !NamesAFile(chosen, path)) return SaveOutcome::kFailed;
  Grid& grid = app_.grid();
  grid.SetCursor(grid.GetCursorRow(), grid.GetCursorColumn());  // commits an edit in progress
  app_.form.grid_control().SetFocus();

  if (const Text own = OwnFileKind(path); !own.empty()) {
    ShowFailure("无法保存文件", path, Concat({"这是", own, "，请换一个文件名"}), kSaveTitle);
    return SaveOutcome::kFailed;
  }
  if (!MaySaveAt(path)) return SaveOutcome::kFailed;
  // The year's ledger first: a register file never holds figures that the ledger lacks.
  if (listener_ != nullptr && !listener_->BeforeRegisterSaved(path)) return SaveOutcome::kFailed;
  const bool from_relay = create && structure_from.empty();
  const Text source = from_relay ? RelayPath() : create ? structure_from : path;
  StructureSource kind = from_relay ? StructureSource::kRelayFile : StructureSource::kSavedRegister;
  // Save As copies the structure of the register shown as it was read, so a register file that
  // was damaged or removed meanwhile does not keep its edits from being saved elsewhere.
  RefreshShownStructure();  // the settings window may have renamed its fields
  if (create && !from_relay && shown_structure_) kind = StructureSource::kShownRegister;
  const Text previous = shown_file_;
  CloseRegisterFiles();
  BackUpBeforeSaving(app_, path);
  Text reason;
  const bool saved =
      SaveRegisterFile(app_.databases, app_.seams.files, kind, source, path, app_.salary_register,
                       &progress_, &reason, shown_structure_ ? &*shown_structure_ : nullptr);
  if (listener_ != nullptr) listener_->AfterRegisterSaved(path, saved);
  if (!saved) {
    ReopenRegister(previous);
    ShowFailure("无法保存文件", path, reason, kSaveTitle);
    return SaveOutcome::kFailed;
  }
  if (!ReopenRegister(path)) {
    ShowFailure("文件已保存，但无法重新打开", path,
                DatabaseErrorMessage(LastDatabaseError()), kSaveTitle);
  }
  state.register_path = path;
  app_.form.SetCaption(path);
  state.untitled = 0;
  state.modified = 0;
  if (app_.history != nullptr) app_.history->MarkSaved();
  app_.form.toolbar().ClearButtonState(forms::kToolModify, ui::kToolbarDisabled);
  UpdateHeadCount();
  progress_.Hide();
  return SaveOutcome::kSaved;
}

void RegisterCommands::SaveAs() {
  ProgramState& state = app_.state;
  const int untitled = state.untitled;
  // The copy keeps the item names and tax-exempt marks of the register's own file; only a
  // register that has no file yet starts from the relay file.
  const Text structure_from = untitled == 1 ? Text() : state.register_path;
  state.untitled = 1;
  // A failed Save As leaves the flags as they were; a cancelled one leaves the next Save asking
  // for a name again.
  if (SaveRegister(structure_from) == SaveOutcome::kFailed) state.untitled = untitled;
}

void RegisterCommands::Exit() { app_.framework.Close(app_.form); }

bool RegisterCommands::MayClose() {
  if (!PromptToSave("是否放弃这些修改，退出程序？")) return false;
  app_.databases.CloseAllDatabases();
  shown_file_.clear();
  return true;
}

RegisterCommands::PromptAnswer RegisterCommands::AskToSave(const Text& drop_question,
                                                           const Text& explanation) {
  if (app_.state.modified != 1) return PromptAnswer::kNothingToSave;
  app_.state.modified = 0;
  const Text question = explanation.empty() ? Text(kSavePrompt)
                                            : Concat({kSavePrompt, "\r\n", explanation});
  const ui::MessageAnswer answer = app_.framework.ShowMessage(
      question, kSavePromptTitle, ui::MessageButtons::kYesNoCancel, ui::MessageIcon::kNone);
  if (answer == ui::MessageAnswer::kNo) return PromptAnswer::kDiscarded;
  if (answer == ui::MessageAnswer::kYes && (!results_may_go_out_ || results_may_go_out_())) {
    switch (SaveRegister()) {
      case SaveOutcome::kSaved:
        return PromptAnswer::kSaved;
      case SaveOutcome::kCancelled:
        break;
      case SaveOutcome::kFailed:
        // The failure has been shown: the user decides whether the changes may go.
        if (app_.framework.ShowMessage(Concat({kNotSaved, drop_question}), kSavePromptTitle,
                                       ui::MessageButtons::kYesNo,
                                       ui::MessageIcon::kNone) == ui::MessageAnswer::kYes) {
          return PromptAnswer::kDiscarded;
        }
        break;
    }
  }
  // 取消 (Esc, the prompt's close box), or the save dialog that 是 opened was cancelled: the
  // command that asked stops and the changes stay on screen, unsaved.
  app_.state.modified = 1;
  return PromptAnswer::kKept;
}

void RegisterCommands::UpdateHeadCount() {
  app_.form.head_count_label().SetCaption(Concat(
      {"表内人数: ", ToText(static_cast<double>(app_.salary_register.CountPeople())), " 人"}));
}

}  // namespace sr::app
