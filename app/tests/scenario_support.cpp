#include "app/tests/scenario_support.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sstream>
#include <vector>

#include "platform/fs/real_file_system.h"
#include "tools/scenario/script.h"

namespace sr::app::testing {

constexpr uid_t kNobody = 65534;

int RunScript(const std::string& folder, const std::u8string& script, std::string* transcript,
              const std::function<void(scenario::Runner&)>& extend) {
  std::vector<scenario::Line> lines;
  std::string error;
  if (!scenario::ParseScript(std::string(script.begin(), script.end()), &lines, &error)) {
    *transcript = "script does not parse: " + error;
    return 2;
  }
  char previous[4096];
  if (::getcwd(previous, sizeof previous) == nullptr || ::chdir(folder.c_str()) != 0) {
    *transcript = "cannot enter " + folder;
    return 2;
  }
  std::ostringstream out;
  scenario::Runner runner(fs::RealFileSystem(), out);
  if (extend) extend(runner);
  const int code = runner.Run(lines);
  *transcript = out.str();
  if (::chdir(previous) != 0) return 2;
  return code;
}

int RunAsUser(const std::function<int()>& body) {
  const pid_t child = ::fork();
  if (child == 0) {
    if (::geteuid() == 0 &&
        (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
      ::_exit(98);
    }
    ::_exit(body());
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool CanChangeOwners() { return ::geteuid() == 0; }

}  // namespace sr::app::testing
