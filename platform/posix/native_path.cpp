#include "platform/posix/native_path.h"

#include <sys/stat.h>

#include <cerrno>

#include "platform/posix/posix_error.h"

namespace sr::posix {

int PathFailureCode(int err, const std::string& native) {
  struct stat info;
  if (err == ENOENT && stat(fs::Utf8PathParent(native).c_str(), &info) != 0 &&
      (errno == ENOENT || errno == ENOTDIR)) {
    err = ENOTDIR;
  }
  return CodeForErrno(err, ErrnoContext::kPath);
}

}  // namespace sr::posix
