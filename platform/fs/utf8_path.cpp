#include "platform/fs/utf8_path.h"

#include <algorithm>
#include <vector>

#include "base/gbk.h"

namespace sr::fs {

int ToUtf8Path(const Path& path, std::string* utf8) {
  if (path.empty() || path.find('\0') != Path::npos) return kBadPath;
  std::string converted;
  if (!GbkToUtf8(path, &converted)) return kBadPath;
  // In UTF-8 the byte 0x5C is always the backslash itself: a GBK trail byte 0x5C became part of
  // a multi-byte sequence, whose bytes are all 0x80 or above.
  std::replace(converted.begin(), converted.end(), '\\', '/');
  *utf8 = std::move(converted);
  return kOk;
}

int FromUtf8Path(const std::string& utf8, Path* path) {
  Text gbk;
  if (!Utf8ToGbk(utf8, &gbk)) return kBadPath;
  *path = std::move(gbk);
  return kOk;
}

std::string AbsoluteUtf8Path(const std::string& utf8, const std::string& cwd) {
  std::string joined = !utf8.empty() && utf8[0] == '/' ? utf8 : cwd + "/" + utf8;
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

std::string Utf8PathParent(const std::string& utf8) {
  size_t slash = utf8.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return utf8.substr(0, slash);
}

}  // namespace sr::fs
