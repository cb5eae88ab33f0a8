#include "tools/regdb/command.h"

#include "platform/fs/file_system.h"
#include "runtime/recdb/format.h"
#include "tools/regdb/utf8_edge.h"

namespace sr::regdb {

int Fail(const Io& io, const std::string& message) {
  io.err << "regdb: " << message << "\n";
  return kExitFailed;
}

int FailCode(const Io& io, const std::string& what, int code) {
  return Fail(io, what + ": " + DatabaseErrorText(code));
}

int FailLast(const Io& io, const std::string& what) {
  return FailCode(io, what, LastDatabaseError());
}

bool ParseCommand(const Io& io, const std::vector<std::string>& words, const OptionSpec& description,
                  size_t min_positional, size_t max_positional, const char* usage, Args* args) {
  std::string error;
  if (ParseArgs(words, description, args, &error)) {
    const size_t n = args->positional.size();
    if (n >= min_positional && n <= max_positional) return true;
    error = n < min_positional ? "missing arguments" : "too many arguments";
  }
  io.err << "regdb: " << error << "\nusage: regdb " << usage << "\n";
  return false;
}

bool PathArgument(const Io& io, const std::string& utf8, Text* gbk) {
  std::string error;
  if (ToGbk(utf8, "path", gbk, &error)) return true;
  Fail(io, error);
  return false;
}

bool PasswordArgument(const Io& io, const Args& args, Text* password) {
  std::string error;
  if (ToGbk(args.Last("password"), "password", password, &error)) return true;
  Fail(io, error);
  return false;
}

bool OpenFile(const Io& io, const std::string& file, const Text& path, const OpenOptions& options) {
  if (OpenDatabase(path, Text(), options)) return true;
  FailLast(io, file);
  return false;
}

bool CheckOutput(const Io& io, const Text& source, const std::string& out_utf8, const Text& out,
                 bool force) {
  fs::FileSystem& files = ProcessDatabases().file_system();
  Text source_full, out_full;
  const Text out_path = recdb::WithDefaultExtension(out);
  if (files.FullPath(recdb::WithDefaultExtension(source), &source_full) != fs::kOk ||
      files.FullPath(out_path, &out_full) != fs::kOk) {
    Fail(io, out_utf8 + ": not a valid path");
    return false;
  }
  if (recdb::NamesEqual(source_full, out_full) ||
      recdb::NamesEqual(recdb::CompanionPath(source_full), recdb::CompanionPath(out_full))) {
    Fail(io, out_utf8 + ": the new file would replace the source database or its companion file");
    return false;
  }
  bool exists = false;
  if (!force && files.Exists(out_path, &exists) == fs::kOk && exists) {
    Fail(io, out_utf8 + ": the file exists (--force replaces it)");
    return false;
  }
  return true;
}

std::string Shown(const Text& gbk) {
  std::string utf8;
  ToUtf8Shown(gbk, &utf8);
  return utf8;
}

}  // namespace sr::regdb
