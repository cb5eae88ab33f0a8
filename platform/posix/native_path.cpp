#include "platform/posix/native_path.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "base/gbk.h"
#include "platform/posix/posix_error.h"

namespace sr::posix {

int ToNativePath(const fs::Path& path, std::string* native) {
  if (path.empty() || path.find('\0') != fs::Path::npos) return fs::kBadPath;
  std::string utf8;
  if (!GbkToUtf8(path, &utf8)) return fs::kBadPath;
  // In UTF-8 the byte 0x5C is always the backslash itself: a GBK trail byte 0x5C became part of
  // a multi-byte sequence, whose bytes are all 0x80 or above.
  std::replace(utf8.begin(), utf8.end(), '\\', '/');
  *native = std::move(utf8);
  return fs::kOk;
}

int FromNativePath(const std::string& native, fs::Path* path) {
  Text gbk;
  if (!Utf8ToGbk(native, &gbk)) return fs::kBadPath;
  *path = std::move(gbk);
  return fs::kOk;
}

std::string AbsoluteNativePath(const std::string& native, const std::string& cwd) {
  std::string joined = !native.empty() && native[0] == '/' ? native : cwd + "/" + native;
  std::vector<std::string> parts;
  size_t pos = 0;
  while (pos <= joined.size()) {
    size_t end = joined.find('/', pos);
    if (end == std::string::npos) end = joined.size();
    std::string part = joined.substr(pos, end - pos);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(std::move(part));
    }
    pos = end + 1;
  }
  std::string result;
  for (const std::string& part : parts) result += "/" + part;
  return result.empty() ? "/" : result;
}

std::string NativeParent(const std::string& native) {
  size_t slash = native.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return native.substr(0, slash);
}

int PathFailureCode(int err, const std::string& native) {
  struct stat info;
  if (err == ENOENT && stat(NativeParent(native).c_str(), &info) != 0 &&
      (errno == ENOENT || errno == ENOTDIR)) {
    err = ENOTDIR;
  }
  return CodeForErrno(err, ErrnoContext::kPath);
}

}  // namespace sr::posix
