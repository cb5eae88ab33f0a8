#ifndef SALARY_APP_OWN_FILES_H_
#define SALARY_APP_OWN_FILES_H_

#include <vector>

#include "base/value.h"
#include "platform/fs/file_system.h"

namespace sr::app {

// A file that the program keeps for itself in its folder. No register is ever written in its
// place, nor in the place of its journal or of the copy a save writes before the swap.
struct OwnFile {
  Text name;  // a '#' stands for any digit: "扣缴台账####.dat" is the ledger of every year
  Text what;  // what it is, for a refusal: "新建工资表所用的中转文件"
};

// What `path` is when it names one of `own` (or one of its side files) in `folder`, as `what`
// or "<what>的日志文件"; empty when it names none of them. Letters compare without regard to case,
// as the Windows file system does.
Text OwnFileAt(fs::FileSystem& files, const std::vector<OwnFile>& own, const Text& folder,
               const Text& path);

}  // namespace sr::app

#endif  // SALARY_APP_OWN_FILES_H_
