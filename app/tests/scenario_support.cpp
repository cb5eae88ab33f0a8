#include "app/tests/scenario_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <vector>

#include "platform/fs/real_file_system.h"
#include "tools/scenario/script.h"

namespace sr::app::testing {

int RunScript(const std::string& folder, const std::u8string& script, std::string* transcript,
              const std::function<void(scenario::Runner&)>& extend) {
  std::vector<scenario::Line> lines;
  std::string error;
  if (!scenario::ParseScript(std::string(script.begin(), script.end()), &lines, &error)) {
    *transcript = "script does not parse: " + error;
    return 2;
  }
  std::error_code failed;
  const std::filesystem::path previous = std::filesystem::current_path(failed);
  if (!failed) std::filesystem::current_path(folder, failed);
  if (failed) {
    *transcript = "cannot enter " + folder;
    return 2;
  }
  std::ostringstream out;
  scenario::Runner runner(fs::RealFileSystem(), out);
  if (extend) extend(runner);
  const int code = runner.Run(lines);
  *transcript = out.str();
  std::filesystem::current_path(previous, failed);
  return failed ? 2 : code;
}

}  // namespace sr::app::testing
