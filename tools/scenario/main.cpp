// salary-scenario: runs the salary register on the headless backend from a script of user
// actions and expectations, and prints what a user would have seen.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <vector>

#include "platform/fs/real_file_system.h"
#include "tools/scenario/runner.h"
#include "tools/scenario/script.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: salary-scenario SCRIPT\n"
                 "Runs the program in the current directory (its program directory).\n";
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::cerr << "salary-scenario: cannot read " << argv[1] << "\n";
    return 2;
  }
  std::ostringstream text;
  text << in.rdbuf();
  std::vector<sr::scenario::Line> lines;
  std::string error;
  if (!sr::scenario::ParseScript(text.str(), &lines, &error)) {
    std::cerr << argv[1] << ": " << error << "\n";
    return 2;
  }
  sr::scenario::Runner runner(sr::fs::RealFileSystem(), std::cout);
  const std::filesystem::path folder = std::filesystem::path(argv[1]).parent_path();
  runner.set_script_folder(folder.empty() ? "." : folder.string());
  return runner.Run(lines);
}
