#ifndef SALARY_APP_REGISTER_BACKUP_WINDOW_H_
#define SALARY_APP_REGISTER_BACKUP_WINDOW_H_

#include "app/app_context.h"
#include "app/register/register_commands.h"

namespace sr::app {

// Shows the backups window over the main window: every copy in the backup folder, newest first.
// 恢复 puts the chosen copy back, after a question, in the place of the file it was made of: the
// register shown when it has that name (asking about its unsaved changes first, and showing the
// restored file afterwards), else the file of that name in the program directory. The file that
// it replaces is kept as a backup first; when that cannot be done nothing is replaced. Returns
// when the window is closed.
void ShowBackupWindow(AppContext& app, RegisterCommands& register_commands);

}  // namespace sr::app

#endif  // SALARY_APP_REGISTER_BACKUP_WINDOW_H_
