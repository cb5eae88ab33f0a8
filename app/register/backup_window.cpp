#include "app/register/backup_window.h"

#include <cstdio>

#include "app/register/backups.h"
#include "app/register/undo_history.h"
#include "base/gbk.h"
#include "base/text.h"
#include "forms/events.h"
#include "forms/secondary_forms.h"
#include "runtime/recdb/errors.h"

namespace sr::app {
namespace {

constexpr char kTitle[] = "备份";
constexpr int kTextKind = 1;

Text TimeText(const DateTimeParts& t) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  return text;
}

void ShowBackups(forms::BackupForm& form, const Text& folder, const std::vector<Backup>& backups) {
  form.folder_label().SetCaption(
      backups.empty()
          ? Concat({"备份文件夹 ", folder, " 中还没有备份。每次保存时，被替换的文件先留在那里。"})
          : Concat({"备份文件夹 ", folder, "：每次保存前的文件，最新的在前。选中一行，按“恢复”。"}));
  Grid& grid = form.grid();
  grid.SetRowCount(1 + static_cast<int>(backups.size()));
  const char* titles[] = {"文件", "被替换的时间", "备份文件"};
  for (int c = 0; c < 3; ++c) grid.SetCellValue(0, c, kTextKind, Value::FromText(titles[c]));
  grid.SetColumnWidth(2, 250);
  for (size_t i = 0; i < backups.size(); ++i) {
    const int row = static_cast<int>(i) + 1;
    grid.SetCellValue(row, 0, kTextKind, Value::FromText(backups[i].file_name));
    grid.SetCellValue(row, 1, kTextKind, Value::FromText(TimeText(backups[i].time)));
    grid.SetCellValue(row, 2, kTextKind, Value::FromText(backups[i].name));
  }
}

class Restorer {
 public:
  Restorer(AppContext& app, RegisterCommands& register_commands)
      : app_(app), register_(register_commands) {}

  // Puts `backup` back; false when nothing was replaced.
  bool Restore(const Text& folder, const Backup& backup);

 private:
  // The file that the copy goes back to.
  Text TargetOf(const Backup& backup) const;
  void ShowRestoredRegister(const Text& path);

  AppContext& app_;
  RegisterCommands& register_;
};

Text Restorer::TargetOf(const Backup& backup) const {
  const Text& shown = register_.shown_register_file();
  const size_t separator = LastSeparator(shown);
  if (!shown.empty() && shown.substr(separator == Text::npos ? 0 : separator + 1) ==
                            backup.file_name) {
    return shown;
  }
  return SideFilePath(app_.state.program_directory, backup.file_name);
}

bool Restorer::Restore(const Text& folder, const Backup& backup) {
  const Text target = TargetOf(backup);
  const bool shown = target == register_.shown_register_file();
  if (app_.framework.ShowMessage(
          Concat({"用 ", TimeText(backup.time), " 的备份替换文件 ", target,
                  "？\r\n现在的文件先留作备份，需要时还可以换回来。"}),
          kTitle, ui::MessageButtons::kYesNo, ui::MessageIcon::kQuestion) != ui::MessageAnswer::kYes) {
    return false;
  }
  if (shown && !register_.PromptToSave("是否放弃这些修改，恢复备份？")) return false;
  if (shown) register_.CloseRegisterFiles();
  Text problem = KeepBackup(app_.seams.files, folder, target, Now());
  int code = fs::kOk;
  if (problem.empty()) {
    code = app_.seams.files.CopyFile(SideFilePath(folder, backup.name), target);
    if (code != fs::kOk) problem = DatabaseErrorMessage(code);
  }
  if (shown) ShowRestoredRegister(target);
  if (!problem.empty()) {
    register_.ShowFailure("无法恢复备份到文件", target, problem, kTitle);
    return false;
  }
  app_.framework.ShowMessage(Concat({"已用 ", TimeText(backup.time), " 的备份恢复文件 ", target, "。"}),
                             kTitle, ui::MessageButtons::kOk, ui::MessageIcon::kInformation);
  return true;
}

// Shows the register file as it now is, as Open would.
void Restorer::ShowRestoredRegister(const Text& path) {
  Text reason;
  if (!register_.ReopenRegister(path)) {
    register_.ShowFailure("无法重新打开文件", path, DatabaseErrorMessage(LastDatabaseError()),
                          kTitle);
    return;
  }
  if (!LoadRegister(app_.databases, app_.salary_register, nullptr, &reason)) {
    register_.ShowFailure("读取文件时出错", path, reason, kTitle);
  }
  app_.state.modified = 0;
  if (app_.history != nullptr) app_.history->MarkSaved();
  register_.UpdateHeadCount();
}

}  // namespace

void ShowBackupWindow(AppContext& app, RegisterCommands& register_commands) {
  const Text folder = BackupFolder(app.state.program_directory);
  std::vector<Backup> backups = ListBackups(app.seams.files, folder);
  forms::BackupForm form;
  Restorer restorer(app, register_commands);
  form.Bind(forms::kWindowCreated, [&](const forms::EventArgs&) {
    ShowBackups(form, folder, backups);
  });
  form.restore_button().Bind(forms::kButtonClicked, [&](const forms::EventArgs&) {
    const int row = form.grid().GetCursorRow();
    if (row < 1 || row > static_cast<int>(backups.size())) {
      app.framework.ShowMessage("请先点选要恢复的备份。", kTitle);
      return;
    }
    if (restorer.Restore(folder, backups[row - 1])) {
      backups = ListBackups(app.seams.files, folder);
      ShowBackups(form, folder, backups);
    }
  });
  form.close_button().Bind(forms::kButtonClicked,
                           [&](const forms::EventArgs&) { app.framework.Close(form); });
  app.framework.ShowModal(form);
}

}  // namespace sr::app
