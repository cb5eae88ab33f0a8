#ifndef SALARY_PLATFORM_POSIX_NATIVE_PATH_H_
#define SALARY_PLATFORM_POSIX_NATIVE_PATH_H_

#include <string>

#include "platform/fs/file_system.h"

namespace sr::posix {

// The native (UTF-8) form of a GBK path, with every separator a '/'. A GBK trail byte 0x5C stays
// part of its character. An empty path, a NUL inside it, or a byte sequence that is not GBK
// gives kBadPath.
int ToNativePath(const fs::Path& path, std::string* native);

// The GBK form of a native path, separators left as '/'. A name that GBK cannot hold (or that
// is not UTF-8) gives kBadPath.
int FromNativePath(const std::string& native, fs::Path* path);

// The absolute form of a native path, worked out from the text alone as Windows does: a
// relative path is joined to `cwd`, "." and empty parts are dropped and ".." takes away the part
// before it (never above the root). The file need not exist.
std::string AbsoluteNativePath(const std::string& native, const std::string& cwd);

// The folder part of a native path ("." when it has none, "/" for a name in the root).
std::string NativeParent(const std::string& native);

// The code for a failed call on the name `native`. A missing file whose folder is missing too is
// a bad path, as Windows tells "path not found" from "file not found".
int PathFailureCode(int err, const std::string& native);

}  // namespace sr::posix

#endif  // SALARY_PLATFORM_POSIX_NATIVE_PATH_H_
