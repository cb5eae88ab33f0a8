#include "app/own_files.h"

#include "base/gbk.h"
#include "runtime/recdb/names.h"

namespace sr::app {

namespace {

// The side files of a file: its rollback journal, the journal being written, and the new copy
// a save writes before it takes the file's place.
struct SideFile {
  const char* suffix;
  const char* what;
};
constexpr SideFile kSideFiles[] = {
    {"", ""}, {".journal", "的日志文件"}, {".journal.new", "的日志文件"}, {".saving", "的新副本"}};

bool NameMatches(const Text& pattern, Text name) {
  if (name.size() != pattern.size()) return false;
  for (size_t i = 0; i < name.size(); ++i) {
    if (pattern[i] == '#' && name[i] >= '0' && name[i] <= '9') name[i] = '#';
  }
  return recdb::NamesEqual(name, pattern);
}

}  // namespace

Text OwnFileAt(fs::FileSystem& files, const std::vector<OwnFile>& own, const Text& folder,
               const Text& path) {
  Text full_path, full_folder;
  if (files.FullPath(path, &full_path) != fs::kOk ||
      files.FullPath(folder, &full_folder) != fs::kOk) {
    return Text();
  }
  const size_t separator = LastSeparator(full_path);
  if (separator == Text::npos || !recdb::PathsEqual(full_path.substr(0, separator), full_folder)) {
    return Text();
  }
  const Text name = full_path.substr(separator + 1);
  for (const OwnFile& file : own) {
    for (const SideFile& side : kSideFiles) {
      if (NameMatches(file.name + side.suffix, name)) return file.what + side.what;
    }
  }
  return Text();
}

}  // namespace sr::app
