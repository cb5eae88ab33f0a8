#include "app/register/editing_commands.h"

#include "app/register/find_window.h"
#include "app/register/register_storage.h"
#include "base/text.h"
#include "forms/grid/grid.h"
#include "runtime/recdb/database.h"

namespace sr::app {

namespace {

const char kDeletePrompt[] = " 真的要删除吗？  ";
const char kDeletePromptTitle[] = "确认删除";
const char kSortTitle[] = "排序";

}  // namespace

void EditingCommands::Modify() {
  app_.grid().SetEditable(true);
  app_.state.modified = 1;
}

void EditingCommands::DeleteRow() {
  const ui::MessageAnswer answer = app_.framework.ShowMessage(
      kDeletePrompt, kDeletePromptTitle, ui::MessageButtons::kYesNo, ui::MessageIcon::kNone);
  if (answer != ui::MessageAnswer::kYes) return;
  app_.salary_register.RemoveRow(app_.grid().GetCursorRow());
  app_.state.modified = 1;
  register_.UpdateHeadCount();
}

void EditingCommands::InsertBlankRow() {
  app_.salary_register.InsertRow(app_.grid().GetCursorRow());
  app_.state.modified = 1;
  register_.UpdateHeadCount();
}

void EditingCommands::Find() { ShowFindWindow(app_.framework, app_.grid()); }

void EditingCommands::Copy() { app_.grid().CopySelection(); }

// A paste that changed cells tells the main window through the grid, which marks the register
// modified, as for every other route to a paste.
void EditingCommands::Paste() { app_.grid().Paste(); }

bool EditingCommands::ShowsRegisterFile() {
  DatabaseTable& databases = app_.databases;
  const Text& shown = register_.shown_register_file();
  return !shown.empty() && databases.SelectDatabase(kRegisterAlias) &&
         databases.current()->full_path() == shown;
}

void EditingCommands::Sort() {
  DatabaseTable& databases = app_.databases;
  Grid& grid = app_.grid();
  const int column = grid.GetCursorColumn();
  if (!ShowsRegisterFile()) {
    app_.framework.ShowMessage("没有打开的工资表文件：请先保存或打开工资表，再排序。", kSortTitle);
    return;
  }
  if (const Text own = register_.OwnFileKind(register_.shown_register_file()); !own.empty()) {
    register_.ShowFailure("无法排序文件", register_.shown_register_file(),
                          Concat({"这是", own, "，排序不会写入它"}), kSortTitle);
    return;
  }
  if (grid.GetCursorRow() < 0 || column < 0 || column >= kRegisterFields) {
    app_.framework.ShowMessage("请先点选要按其排序的那一列中的单元格。", kSortTitle);
    return;
  }
  // Sort works on the file and the grid is replaced by it: unsaved edits are offered for saving
  // first, and the question says plainly that without a save they are gone.
  if (!register_.PromptToSave("是否放弃这些修改，按文件中的内容排序？",
                              "是：先保存修改，再排序。\r\n否：放弃屏幕上的修改，按已保存的文件排序。\r\n"
                              "取消：不排序，回到表格。")) {
    return;
  }
  if (!ShowsRegisterFile()) return;  // a failed save has said why
  const Text shown = register_.shown_register_file();
  const Text key = databases.GetFieldName(column + 1);
  fs::FileSystem& files = app_.seams.files;
  const Text scratch = SideFilePath(app_.state.program_directory, kScratchFileName);
  // Only the copy that this Sort writes may ever replace the register file.
  if (int code = files.RemoveFile(scratch); code != fs::kOk && code != fs::kNotFound) {
    register_.ShowFailure("无法排序：无法删除临时文件", scratch, DatabaseErrorMessage(code), kSortTitle);
    return;
  }
  if (!databases.SortToFile(scratch, {key})) {
    const int code = LastDatabaseError();
    files.RemoveFile(scratch);
    register_.ShowFailure("无法排序文件", shown, DatabaseErrorMessage(code), kSortTitle);
    return;
  }
  register_.CloseRegisterFiles();
  const int copied = files.CopyFile(scratch, shown);
  // The scratch copy holds every salary: it goes as soon as it has served, whatever happened.
  if (int code = files.RemoveFile(scratch); code != fs::kOk && code != fs::kNotFound) {
    register_.ShowFailure("排序用的临时文件没能删除（其中有全部工资数据，请手工删除）", scratch,
                          DatabaseErrorMessage(code), kSortTitle);
  }
  if (copied != fs::kOk) {
    register_.ReopenRegister(shown);
    register_.ShowFailure("无法写入排序结果到文件", shown, DatabaseErrorMessage(copied), kSortTitle);
    return;
  }
  Text reason;
  if (!register_.ReopenRegister(shown)) {
    register_.ShowFailure("无法重新打开文件", shown, DatabaseErrorMessage(LastDatabaseError()), kSortTitle);
    return;
  }
  if (!LoadSortedRegister(databases, app_.salary_register, &reason)) {
    register_.ShowFailure("读取文件时出错", shown, reason, kSortTitle);
  } else if (app_.history != nullptr) {
    app_.history->MarkSaved();  // the grid shows the file as the sort wrote it
  }
  app_.form.toolbar().ClearButtonState(forms::kToolModify, ui::kToolbarDisabled);
}

}  // namespace sr::app
