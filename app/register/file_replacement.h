#ifndef SALARY_APP_REGISTER_FILE_REPLACEMENT_H_
#define SALARY_APP_REGISTER_FILE_REPLACEMENT_H_

#include "base/value.h"
#include "platform/fs/file_system.h"

namespace sr::app {

// Writes a file anew without ever leaving a half-written one in its place: the new content goes
// into a file beside it (the saving file), which is made durable and then takes the file's name
// in one step. A kill at any moment leaves the old file or the new one. A symbolic link is
// followed: the file that it names is replaced and the link stays a link. The new file has the
// old one's mode, owner and group from the moment it is made, so a private file never shows
// its content to others on the way.
//
// Use: Prepare; make the saving file (CopyTarget does it all, or create it, then Protect before
// writing anything into it); write and close it; Commit. After any failure, Abandon.
// Every call returns 0 or a file code (sr::fs::Code).
class FileReplacement {
 public:
  // REQUIRES: `files` outlives this object.
  FileReplacement(fs::FileSystem& files, const Text& path) : files_(files), path_(path) {}

  // Finds the file that the path names (links followed) and removes a saving file that a save
  // cut short left beside it.
  int Prepare();
  // The file replaced (links followed) and the file written beside it; valid after Prepare.
  const Text& target() const { return target_; }
  const Text& saving() const { return saving_; }

  // Gives the saving file the target's mode, owner and group (nothing when there is no target
  // yet).
  int Protect();
  // Makes the saving file a protected, byte-for-byte copy of the target.
  int CopyTarget();
  // Makes the saving file durable, then lets it take the target's place. The saving file must
  // be closed, and so must the target.
  int Commit();
  // Removes the saving file.
  void Abandon();

 private:
  fs::FileSystem& files_;
  Text path_;
  Text target_;
  Text saving_;
};

// The file beside `target` that a save writes before it replaces `target`.
Text SavingFilePath(const Text& target);

}  // namespace sr::app

#endif  // SALARY_APP_REGISTER_FILE_REPLACEMENT_H_
