#ifndef SALARY_APP_TESTS_OTHER_USER_H_
#define SALARY_APP_TESTS_OTHER_USER_H_

#include <sys/types.h>

#include <functional>

// File permissions and owners as a user meets them, for the Linux tests of registers that may
// not be written.
namespace sr::app::testing {

// Runs `body` in a child process that has given up root (user and group 65534) when the test
// runs as root, so that file permissions hold for it as for a user; returns the child's exit
// status, or -1 when it did not exit normally. The child starts in the root folder, so that it
// does all its work in folders the user may enter wherever the test itself runs.
int RunAsUser(const std::function<int()>& body);
// The same in two steps, for a body that runs while the test goes on: StartAsUser gives the
// child's id, and WaitForUser waits for it and gives its exit status (-1 as above).
pid_t StartAsUser(const std::function<int()>& body);
int WaitForUser(pid_t child);

// Whether files can be given to another owner here (the test runs as root).
bool CanChangeOwners();

}  // namespace sr::app::testing

#endif  // SALARY_APP_TESTS_OTHER_USER_H_
