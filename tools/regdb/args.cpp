#include "tools/regdb/args.h"

namespace sr::regdb {

const std::vector<std::string>& Args::All(const std::string& name) const {
  static const std::vector<std::string> kNone;
  auto it = values.find(name);
  return it == values.end() ? kNone : it->second;
}

std::string Args::Last(const std::string& name, const std::string& fallback) const {
  const auto& all = All(name);
  return all.empty() ? fallback : all.back();
}

bool ParseArgs(const std::vector<std::string>& words, const OptionSpec& description, Args* args,
               std::string* error) {
  *args = Args();
  bool options_ended = false;
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (options_ended || word.size() < 3 || word.compare(0, 2, "--") != 0) {
      if (word == "--" && !options_ended) {
        options_ended = true;
      } else {
        args->positional.push_back(word);
      }
      continue;
    }
    std::string name = word.substr(2);
    std::string value;
    const size_t equals = name.find('=');
    const bool inline_value = equals != std::string::npos;
    if (inline_value) {
      value = name.substr(equals + 1);
      name.resize(equals);
    }
    if (description.flags.count(name)) {
      if (inline_value) {
        *error = "option --" + name + " takes no value";
        return false;
      }
      args->flags.insert(name);
    } else if (description.valued.count(name)) {
      if (!inline_value) {
        if (i + 1 >= words.size()) {
          *error = "option --" + name + " needs a value";
          return false;
        }
        value = words[++i];
      }
      args->values[name].push_back(value);
    } else {
      *error = "unknown option --" + name;
      return false;
    }
  }
  return true;
}

}  // namespace sr::regdb
