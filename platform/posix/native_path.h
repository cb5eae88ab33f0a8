#ifndef SALARY_PLATFORM_POSIX_NATIVE_PATH_H_
#define SALARY_PLATFORM_POSIX_NATIVE_PATH_H_

#include <string>

#include "platform/fs/file_system.h"
#include "platform/fs/utf8_path.h"

namespace sr::posix {

// Native paths on Linux are the UTF-8 paths of platform/fs/utf8_path.h.

// The code for a failed call on the name `native`. A missing file whose folder is missing too is
// a bad path, as Windows tells "path not found" from "file not found".
int PathFailureCode(int err, const std::string& native);

}  // namespace sr::posix

#endif  // SALARY_PLATFORM_POSIX_NATIVE_PATH_H_
