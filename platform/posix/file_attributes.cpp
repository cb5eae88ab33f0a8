#include "platform/posix/file_attributes.h"

#include <fcntl.h>
#include <limits.h>
#include <unistd.h>

#include <cerrno>

#include "platform/fs/file_system.h"
#include "platform/posix/native_path.h"
#include "platform/posix/posix_error.h"

namespace sr::posix {
namespace {

constexpr int kMaxLinks = 40;  // as many as the kernel follows before ELOOP

}  // namespace

int FollowLinks(const std::string& native, std::string* target) {
  std::string path = native;
  for (int hops = 0; hops <= kMaxLinks; ++hops) {
    struct stat info;
    // A missing name, or one that cannot be looked at, ends the chain: the call that uses the
    // name reports what is wrong with it.
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
      *target = path;
      return fs::kOk;
    }
    char link[PATH_MAX];
    const ssize_t length = readlink(path.c_str(), link, sizeof link);
    if (length < 0) return PathFailureCode(errno, path);
    if (length == static_cast<ssize_t>(sizeof link)) return fs::kBadPath;
    const std::string next(link, static_cast<size_t>(length));
    path = next[0] == '/' ? next : fs::Utf8PathParent(path) + "/" + next;
  }
  return fs::kBadPath;
}

int HandOnAttributes(const struct stat& old, int fd) {
  if (fchown(fd, old.st_uid, old.st_gid) != 0) {
    // Only a privileged process gives a file away; a user may still choose one of its groups.
    // When neither works, the mode alone keeps others out.
    (void)!fchown(fd, static_cast<uid_t>(-1), old.st_gid);
  }
  // After fchown, since a change of owner clears the set-id bits.
  if (fchmod(fd, old.st_mode & 07777) != 0) return CodeForErrno(errno, ErrnoContext::kIo);
  return fs::kOk;
}

bool MayReplaceNative(const std::string& target) {
  // The effective ids decide, as they decide the open and the rename that a save makes. Only a
  // refusal counts: a name that does not lead anywhere is for the save itself to report.
  auto refused = [](const std::string& path, int mode) {
    return faccessat(AT_FDCWD, path.c_str(), mode, AT_EACCESS) != 0 &&
           (errno == EACCES || errno == EPERM || errno == EROFS || errno == ETXTBSY);
  };
  return !refused(target, W_OK) && !refused(fs::Utf8PathParent(target), W_OK | X_OK);
}

}  // namespace sr::posix
