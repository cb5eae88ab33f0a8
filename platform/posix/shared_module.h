#ifndef SALARY_PLATFORM_POSIX_SHARED_MODULE_H_
#define SALARY_PLATFORM_POSIX_SHARED_MODULE_H_

#include <string>

namespace sr::posix {

// The folder of the running program's executable, without a trailing '/'; empty if unknown.
std::string ProgramFolder();

// Loads the shared module `file` (a bare file name such as "libsr_sheet_module.so") and returns
// the address of its function `symbol`. The module is looked for beside the running program
// first (where the build and an installation put it), then in `build_folder` (the build tree's
// program folder, for test programs that live elsewhere in it). A loaded module stays loaded
// until the process ends. Returns null and sets *error to why when the module cannot be loaded or
// lacks the symbol.
void* LoadModuleFunction(const std::string& file, const char* symbol,
                         const std::string& build_folder, std::string* error);

}  // namespace sr::posix

#endif  // SALARY_PLATFORM_POSIX_SHARED_MODULE_H_
