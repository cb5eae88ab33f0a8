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

}  // namespace sr::app::testing

#endif  // SALARY_APP_TESTS_SCENARIO_SUPPORT_H_
