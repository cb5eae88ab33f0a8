#ifndef SALARY_PLATFORM_WIN32_FS_WINDOWS_FILE_H_
#define SALARY_PLATFORM_WIN32_FS_WINDOWS_FILE_H_

#include <memory>
#include <string>

#include "platform/fs/file_system.h"

namespace sr::win32 {

// Opens the wide path `wide` with the system's own share modes and locks. A folder, a device or
// a pipe gives kAccessDenied.
int OpenWideFile(const std::wstring& wide, fs::Access access, fs::Share share,
                 fs::Disposition disposition, std::unique_ptr<fs::File>* file);

}  // namespace sr::win32

#endif  // SALARY_PLATFORM_WIN32_FS_WINDOWS_FILE_H_
