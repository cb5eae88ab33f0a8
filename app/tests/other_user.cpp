#include "app/tests/other_user.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace sr::app::testing {

constexpr uid_t kNobody = 65534;

pid_t StartAsUser(const std::function<int()>& body) {
  const pid_t child = ::fork();
  if (child == 0) {
    // The test's own folder may lie where the user may not enter (a clone in root's home, mode
    // 700): the child starts in the root folder, which every user may enter, and a body that
    // changes folders comes back there.
    if (::chdir("/") != 0) ::_exit(97);
    if (::geteuid() == 0 &&
        (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
      ::_exit(98);
    }
    ::_exit(body());
  }
  return child;
}

int WaitForUser(pid_t child) {
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int RunAsUser(const std::function<int()>& body) { return WaitForUser(StartAsUser(body)); }

bool CanChangeOwners() { return ::geteuid() == 0; }

}  // namespace sr::app::testing
