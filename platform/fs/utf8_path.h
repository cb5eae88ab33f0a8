#ifndef SALARY_PLATFORM_FS_UTF8_PATH_H_
#define SALARY_PLATFORM_FS_UTF8_PATH_H_

#include <string>

#include "platform/fs/file_system.h"

// Paths as UTF-8 text with '/' between folders: the native form on Linux, and the form in which
// the memory file system keeps its names. Worked out from the text alone, touching no disk.
namespace sr::fs {

// The UTF-8 form of a GBK path, with every separator a '/'. A GBK trail byte 0x5C stays part of
// its character. An empty path, a NUL inside it, or a byte sequence that is not GBK gives
// kBadPath.
int ToUtf8Path(const Path& path, std::string* utf8);

// The GBK form of a UTF-8 path, separators left as '/'. A name that GBK cannot hold (or that is
// not UTF-8) gives kBadPath.
int FromUtf8Path(const std::string& utf8, Path* path);

// The absolute form of a UTF-8 path, as Windows works it out: a relative path is joined to `cwd`,
// "." and empty parts are dropped and ".." takes away the part before it (never above the
// root). The file need not exist.
std::string AbsoluteUtf8Path(const std::string& utf8, const std::string& cwd);

// The folder part of a UTF-8 path ("." when it has none, "/" for a name in the root).
std::string Utf8PathParent(const std::string& utf8);

}  // namespace sr::fs

#endif  // SALARY_PLATFORM_FS_UTF8_PATH_H_
