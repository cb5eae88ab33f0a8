#include "tools/regdb/command.h"

#include "platform/fs/file_system.h"
#include "runtime/recdb/format.h"
#include "runtime/recdb/wait.h"
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

bool JournalBeside(const Text& path, Text* journal) {
  fs::FileSystem& files = ProcessDatabases().file_system();
  Text target = recdb::WithDefaultExtension(path);
  if (files.ResolveLinks(target, &target) != fs::kOk) return false;
  *journal = target + ".journal";
  bool exists = false;
  return files.Exists(*journal, &exists) == fs::kOk && exists;
}

bool OpenFile(const Io& io, const std::string& file, const Text& path, const OpenOptions& options) {
  Text journal;
  if (JournalBeside(path, &journal)) {
    const std::string what = file + ": a change of it was cut short, and " + Shown(journal) +
                             " holds what it replaced; ";
    if (options.read_only == 0) {
      Fail(io, what + "nothing was written: let the salary program read the file first, which " +
                   "puts it back as it was");
      return false;
    }
    io.err << "regdb: warning: " << what << "what is read may be half changed\n";
  }
  if (OpenDatabase(path, Text(), options)) return true;
  FailLast(io, file);
  return false;
}

bool TakeWriterLock(const Io& io, const std::string& file, const Text& path,
                    std::unique_ptr<recdb::WriterLock>* lock) {
  fs::FileSystem& files = ProcessDatabases().file_system();
  Text target = recdb::WithDefaultExtension(path);
  int code = files.ResolveLinks(target, &target);
  if (code == fs::kOk) {
    *lock = std::make_unique<recdb::WriterLock>(files, target);
    code = (*lock)->Take();
  }
  if (code == fs::kOk) return true;
  if (recdb::IsRefusal(code)) {
    Fail(io, file + ": another program is writing it; try again later");
  } else {
    FailCode(io, file, code);
  }
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
