#ifndef SALARY_APP_TESTS_SCENARIO_SUPPORT_H_
#define SALARY_APP_TESTS_SCENARIO_SUPPORT_H_

#include <functional>
#include <string>

#include "tools/scenario/runner.h"

namespace sr::app::testing {

// Runs a scenario script (UTF-8, the salary-scenario language) with `folder` as the program
// directory and returns the runner's result (0 when every expectation held); *transcript gets
// what the user saw. `extend` may add actions and expectations that only this test needs.
int RunScript(const std::string& folder, const std::u8string& script, std::string* transcript,
              const std::function<void(scenario::Runner&)>& extend = {});

// Runs `body` in a child process that has given up root (user and group 65534) when the test
// runs as root, so that file permissions hold for it as for a user; returns the child's exit
// status, or -1 when it did not exit normally.
int RunAsUser(const std::function<int()>& body);

// Whether files can be given to another owner here (the test runs as root).
bool CanChangeOwners();

}  // namespace sr::app::testing

#endif  // SALARY_APP_TESTS_SCENARIO_SUPPORT_H_
