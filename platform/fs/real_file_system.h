#ifndef SALARY_PLATFORM_FS_REAL_FILE_SYSTEM_H_
#define SALARY_PLATFORM_FS_REAL_FILE_SYSTEM_H_

#include "platform/fs/file_system.h"

namespace sr::fs {

// The process's real file system, defined by the platform's own implementation (platform/posix
// on Linux, library sr_posix). Only the programs, the tools, the benchmarks and the tests that
// need the real disk pick it; the record database, the forms and the program's logic take the
// file system they work on as an argument and never include this header.
FileSystem& RealFileSystem();

// Makes whatever the process creates on disk from now on, also past this seam (a PDF that the
// printer writes, a workbook that the export writes, a folder), its owner's alone: on Linux the
// process's umask becomes 077. The program and the tools call it first thing.
void KeepNewFilesPrivate();

}  // namespace sr::fs

#endif  // SALARY_PLATFORM_FS_REAL_FILE_SYSTEM_H_
