#include "app/register/backups.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "app/register/register_storage.h"
#include "base/gbk.h"
#include "base/text.h"
#include "runtime/recdb/errors.h"

namespace sr::app {
namespace {

constexpr char kSuffix[] = ".bak";
constexpr size_t kStampLength = 18;  // YYYYMMDD-HHMMSS-NN
constexpr int kMostInOneSecond = 99;

Text FileNameOf(const Text& path) {
  const size_t separator = LastSeparator(path);
  return separator == Text::npos ? path : path.substr(separator + 1);
}

Text BackupName(const Text& file_name, const DateTimeParts& t, int number) {
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, ".%04d%02d%02d-%02d%02d%02d-%02d", t.year, t.month, t.day,
                t.hour, t.minute, t.second, number);
  return file_name + stamp + kSuffix;
}

// The parts of a copy's name; false for a name that is not one.
bool ParseBackupName(const Text& name, Backup* backup) {
  const size_t suffix = sizeof kSuffix - 1;
  if (name.size() < kStampLength + suffix + 2 ||
      name.compare(name.size() - suffix, suffix, kSuffix) != 0) {
    return false;
  }
  const size_t stamp_at = name.size() - suffix - kStampLength;
  if (name[stamp_at - 1] != '.') return false;
  DateTimeParts& t = backup->time;
  char tail = 0;
  if (std::sscanf(name.c_str() + stamp_at, "%4d%2d%2d-%2d%2d%2d-%2d%c", &t.year, &t.month, &t.day,
                  &t.hour, &t.minute, &t.second, &backup->number, &tail) != 8 ||
      tail != '.') {
    return false;
  }
  backup->name = name;
  backup->file_name = name.substr(0, stamp_at - 1);
  return true;
}

// A moment's place in time, to the second, for sorting.
long long Ordinal(const Backup& b) {
  const DateTimeParts& t = b.time;
  return ((((t.year * 13LL + t.month) * 32 + t.day) * 24 + t.hour) * 60 + t.minute) * 60 * 100 +
         t.second * 100 + b.number;
}

int MonthIndex(const DateTimeParts& t) { return t.year * 12 + t.month - 1; }

// Removes the copies of `file_name` that are no longer kept.
void ThinOut(fs::FileSystem& files, const Text& folder, const Text& file_name, double now) {
  std::vector<Backup> mine;
  for (Backup& backup : ListBackups(files, folder)) {
    if (backup.file_name == file_name) mine.push_back(std::move(backup));
  }
  const std::vector<bool> kept = BackupsKept(mine, now);
  for (size_t i = 0; i < mine.size(); ++i) {
    if (!kept[i]) files.RemoveFile(SideFilePath(folder, mine[i].name));
  }
}

}  // namespace

Text BackupFolder(const Text& program_directory) {
  return SideFilePath(program_directory, kBackupFolderName);
}

Text KeepBackup(fs::FileSystem& files, const Text& folder, const Text& path, double now) {
  bool exists = false;
  if (files.Exists(path, &exists) != fs::kOk || !exists) return Text();
  if (int code = files.MakeFolder(folder); code != fs::kOk) {
    return Concat({"无法建立备份文件夹 ", folder, "：", DatabaseErrorMessage(code)});
  }
  const Text file_name = FileNameOf(path);
  Backup copy{Text(), file_name, BreakDateTime(now), 1};
  // After the newest of this second, even when older ones of it have been thinned out.
  for (const Backup& backup : ListBackups(files, folder)) {
    if (backup.file_name == file_name && Ordinal(backup) / 100 == Ordinal(copy) / 100) {
      copy.number = std::max(copy.number, backup.number + 1);
    }
  }
  if (copy.number > kMostInOneSecond) {
    return Concat({"无法把 ", path, " 备份到 ", folder, "：一秒内的备份太多"});
  }
  const Text copy_path = SideFilePath(folder, BackupName(file_name, copy.time, copy.number));
  if (int code = files.CopyFile(path, copy_path); code != fs::kOk) {
    return Concat({"无法把 ", path, " 备份到 ", folder, "：", DatabaseErrorMessage(code)});
  }
  ThinOut(files, folder, file_name, now);
  return Text();
}

std::vector<Backup> ListBackups(fs::FileSystem& files, const Text& folder) {
  std::vector<fs::Path> names;
  std::vector<Backup> backups;
  bool exists = false;
  if (files.Exists(folder, &exists) != fs::kOk || !exists ||
      files.ListFolder(folder, &names) != fs::kOk) {
    return backups;
  }
  for (const fs::Path& name : names) {
    Backup backup;
    if (ParseBackupName(name, &backup)) backups.push_back(std::move(backup));
  }
  std::sort(backups.begin(), backups.end(), [](const Backup& a, const Backup& b) {
    return Ordinal(a) != Ordinal(b) ? Ordinal(a) > Ordinal(b) : a.file_name < b.file_name;
  });
  return backups;
}

std::vector<bool> BackupsKept(const std::vector<Backup>& newest_first, double now) {
  const int this_month = MonthIndex(BreakDateTime(now));
  std::vector<bool> kept(newest_first.size());
  std::set<int> months_seen;
  for (size_t i = 0; i < newest_first.size(); ++i) {
    const int month = MonthIndex(newest_first[i].time);
    const bool newest_of_month = months_seen.insert(month).second;
    kept[i] = i < kRecentBackupsKept || (newest_of_month && this_month - month < 12);
  }
  return kept;
}

void BackUpBeforeSaving(AppContext& app, const Text& path) {
  const Text problem =
      KeepBackup(app.seams.files, BackupFolder(app.state.program_directory), path, Now());
  if (!problem.empty()) {
    app.framework.ShowMessage(Concat({problem, "\r\n文件照常保存，只是这一次没有留下备份。"}),
                              "备份", ui::MessageButtons::kOk, ui::MessageIcon::kWarning);
  }
}

}  // namespace sr::app
