#ifndef SALARY_TOOLS_REGDB_ARGS_H_
#define SALARY_TOOLS_REGDB_ARGS_H_

#include <map>
#include <set>
#include <string>
#include <vector>

// Command-line arguments of a regdb command: positional arguments, options with a value
// ("--key NAME" or "--key=NAME", repeatable) and flags ("--desc"). "--" ends the options.
namespace sr::regdb {

struct OptionSpec {
  std::set<std::string> valued;  // names without the leading "--"
  std::set<std::string> flags;
};

struct Args {
  std::vector<std::string> positional;
  std::map<std::string, std::vector<std::string>> values;
  std::set<std::string> flags;

  bool Has(const std::string& flag) const { return flags.count(flag) > 0; }
  // The option's values in the order given; empty when absent.
  const std::vector<std::string>& All(const std::string& name) const;
  // The last value of the option, or `fallback` when absent.
  std::string Last(const std::string& name, const std::string& fallback = "") const;
};

// Returns false, with *error saying why, for an unknown option, an option without its value, a
// value given to a flag.
bool ParseArgs(const std::vector<std::string>& words, const OptionSpec& description, Args* args,
               std::string* error);

}  // namespace sr::regdb

#endif  // SALARY_TOOLS_REGDB_ARGS_H_
