#include "platform/posix/shared_module.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>

namespace sr::posix {

std::string ProgramFolder() {
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path);
  if (length <= 0 || length >= static_cast<ssize_t>(sizeof path)) return std::string();
  const std::string program(path, static_cast<size_t>(length));
  const size_t slash = program.rfind('/');
  return slash == std::string::npos ? std::string() : program.substr(0, slash);
}

void* LoadModuleFunction(const std::string& file, const char* symbol,
                         const std::string& build_folder, std::string* error) {
  std::string reasons;
  for (const std::string& folder : {ProgramFolder(), build_folder}) {
    if (folder.empty()) continue;
    const std::string path = folder + "/" + file;
    if (access(path.c_str(), F_OK) != 0) continue;
    // RTLD_LOCAL: the module's own copies of our libraries stay its own.
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
      reasons += reasons.empty() ? "" : "; ";
      reasons += dlerror();
      continue;
    }
    if (void* function = dlsym(module, symbol)) return function;
    reasons += reasons.empty() ? "" : "; ";
    reasons += path + ": no " + symbol;
  }
  *error = reasons.empty() ? file + " not found beside the program or in " + build_folder : reasons;
  return nullptr;
}

}  // namespace sr::posix
