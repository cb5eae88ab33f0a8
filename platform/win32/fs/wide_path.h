#ifndef SALARY_PLATFORM_WIN32_FS_WIDE_PATH_H_
#define SALARY_PLATFORM_WIN32_FS_WIDE_PATH_H_

#include <cstdint>
#include <string>

#include "platform/fs/file_system.h"

namespace sr::win32 {

// The UTF-16 form of a GBK path, every separator a backslash. A GBK trail byte 0x5C stays part
// of its character. An empty path, a NUL inside it, or a byte sequence that is not GBK gives
// kBadPath.
int ToWidePath(const fs::Path& path, std::wstring* wide);

// The GBK form of a path the system handed back, every separator a '/' and without the "\\?\"
// that some calls put in front. A name that GBK cannot hold gives kBadPath.
int FromWidePath(std::wstring wide, fs::Path* path);

// The folder part of a wide path ("." when it has none).
std::wstring WideParent(const std::wstring& wide);

// The code for a failed call on the name `wide`. A missing file whose folder is missing too, or
// is no folder, is a bad path; the system does not always tell the two apart (Wine says "file
// not found" for a name under a plain file).
int PathFailureCode(uint32_t error, const std::wstring& wide);

}  // namespace sr::win32

#endif  // SALARY_PLATFORM_WIN32_FS_WIDE_PATH_H_
