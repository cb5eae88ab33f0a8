#ifndef SALARY_APP_REGISTER_BACKUPS_H_
#define SALARY_APP_REGISTER_BACKUPS_H_

#include <vector>

#include "app/app_context.h"
#include "base/value.h"
#include "platform/fs/file_system.h"
#include "runtime/convert/date_time.h"

// The earlier versions of the program's files. Before a save replaces a register, the people
// file, a tax rate table or the ledger, the file as it was is copied whole, and synced, into the
// folder 备份 of the program directory (made readable by its user alone) as
// "<name>.<YYYYMMDD-HHMMSS>-<NN>.bak", NN counting the copies made in one second. Of each file
// the last 20 copies are kept, and of the year before those, the last copy of each month.
namespace sr::app {

inline constexpr char kBackupFolderName[] = "备份";
inline constexpr size_t kRecentBackupsKept = 20;

struct Backup {
  Text name;       // the copy's name in the backup folder
  Text file_name;  // the name of the file that it is an earlier version of
  DateTimeParts time;  // when that version was replaced
  int number = 1;      // NN
};

// The backup folder of the program directory.
Text BackupFolder(const Text& program_directory);

// Copies the file at `path`, when there is one, into `folder` (made when missing), then removes
// the copies of that file that are no longer kept. Returns an empty text, or why no copy was
// kept, for a warning: the save goes on either way.
Text KeepBackup(fs::FileSystem& files, const Text& folder, const Text& path, double now);

// Every copy in `folder`, newest first; none when the folder is missing.
std::vector<Backup> ListBackups(fs::FileSystem& files, const Text& folder);

// Which of one file's copies, newest first, are kept at `now`: the newest kRecentBackupsKept,
// and the newest of each month of the twelve that end with the month of `now`.
std::vector<bool> BackupsKept(const std::vector<Backup>& newest_first, double now);

// KeepBackup in the program's own backup folder, before a save writes `path`: a copy that could
// not be made is told as a warning that the file is saved all the same.
void BackUpBeforeSaving(AppContext& app, const Text& path);

}  // namespace sr::app

#endif  // SALARY_APP_REGISTER_BACKUPS_H_
