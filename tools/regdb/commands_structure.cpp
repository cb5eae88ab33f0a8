// regdb sort, rename and copy-structure.
#include <charconv>

#include "runtime/recdb/database.h"
#include "tools/regdb/command.h"
#include "tools/regdb/utf8_edge.h"

namespace sr::regdb {
namespace {

// Texts in GBK; the first that GBK cannot hold is reported.
bool NamesArgument(const Io& io, const std::vector<std::string>& utf8, std::vector<Text>* gbk) {
  for (const std::string& name : utf8) {
    Text converted;
    std::string error;
    if (!ToGbk(name, "field name", &converted, &error)) {
      Fail(io, error);
      return false;
    }
    gbk->push_back(converted);
  }
  return true;
}

// Each name must be a field of the current database: the library skips unknown names, which
// would turn a typing error into a silently different file.
bool FieldsExist(const Io& io, const std::string& file, const std::vector<Text>& names) {
  recdb::Database& db = *ProcessDatabases().current();
  for (const Text& name : names) {
    if (db.FindField(Value::FromText(name)) < 0) {
      FailCode(io, file + ": field " + Shown(name), -61);
      return false;
    }
  }
  return true;
}

bool OpenSource(const Io& io, const Args& args, int read_only, int share_mode, Text* path) {
  Text password;
  if (!PathArgument(io, args.positional[0], path) || !PasswordArgument(io, args, &password)) {
    return false;
  }
  OpenOptions options;
  options.read_only = read_only;
  options.share_mode = share_mode;
  options.password = password;
  return OpenFile(io, args.positional[0], *path, options);
}

int Finish(const Io& io, const std::string& what, bool ok) {
  const int status = ok ? kExitOk : FailLast(io, what);
  CloseAllDatabases();
  return status;
}

}  // namespace

int RunSort(const Io& io, const std::vector<std::string>& words) {
  Args args;
  if (!ParseCommand(io, words, {{"key", "password"}, {"desc", "force"}}, 2, 2,
                    "sort FILE OUT --key NAME [--key NAME ...] [--desc] [--password P] [--force]",
                    &args)) {
    return kExitUsage;
  }
  if (args.All("key").empty()) return Fail(io, "sort needs at least one --key NAME");
  const std::string& out_file = args.positional[1];
  std::vector<Text> keys;
  Text path, out;
  if (!NamesArgument(io, args.All("key"), &keys) || !PathArgument(io, out_file, &out) ||
      !OpenSource(io, args, 1, 1, &path)) {
    return kExitFailed;
  }
  if (!FieldsExist(io, args.positional[0], keys) ||
      !CheckOutput(io, path, out_file, out, args.Has("force"))) {
    CloseAllDatabases();
    return kExitFailed;
  }
  SortOptions options;
  if (args.Has("desc")) options.ascending.assign(keys.size(), false);
  return Finish(io, out_file, SortToFile(out, keys, options));
}

int RunRename(const Io& io, const std::vector<std::string>& words) {
  Args args;
  if (!ParseCommand(io, words, {{"password"}, {}}, 3, 3, "rename FILE POS NAME [--password P]",
                    &args)) {
    return kExitUsage;
  }
  const std::string& position_text = args.positional[1];
  int position = 0;
  const char* end = position_text.data() + position_text.size();
  auto [ptr, ec] = std::from_chars(position_text.data(), end, position);
  if (ec != std::errc() || ptr != end || position < 1) {
    return Fail(io, "POS must be a field position from 1, not \"" + position_text + "\"");
  }
  std::vector<Text> name;
  Text path;
  if (!NamesArgument(io, {args.positional[2]}, &name)) return kExitFailed;
  // Renaming needs the database held exclusively.
  if (!OpenSource(io, args, 0, 4, &path)) return kExitFailed;
  return Finish(io, args.positional[0], RenameField(position, name[0]));
}

int RunCopyStructure(const Io& io, const std::vector<std::string>& words) {
  Args args;
  if (!ParseCommand(io, words, {{"password"}, {"force"}}, 2, SIZE_MAX,
                    "copy-structure FILE OUT [NAME ...] [--password P] [--force]", &args)) {
    return kExitUsage;
  }
  const std::string& out_file = args.positional[1];
  std::vector<Text> names;
  Text path, out;
  if (!NamesArgument(io, {args.positional.begin() + 2, args.positional.end()}, &names) ||
      !PathArgument(io, out_file, &out) || !OpenSource(io, args, 1, 1, &path)) {
    return kExitFailed;
  }
  if (!FieldsExist(io, args.positional[0], names) ||
      !CheckOutput(io, path, out_file, out, args.Has("force"))) {
    CloseAllDatabases();
    return kExitFailed;
  }
  return Finish(io, out_file, CopyStructure(out, names));
}

}  // namespace sr::regdb
