#ifndef SALARY_TOOLS_REGDB_COMMAND_H_
#define SALARY_TOOLS_REGDB_COMMAND_H_

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "base/value.h"
#include "runtime/recdb/format.h"
#include "runtime/recdb/process_databases.h"
#include "runtime/recdb/writer_lock.h"
#include "tools/regdb/args.h"

// What the regdb commands share: where they write, how they fail, how they open a database.
namespace sr::regdb {

// Exit statuses: 0 done, 1 a database or data failure, 2 a usage error.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

struct Io {
  std::ostream& out;
  std::ostream& err;
};

// "regdb: MESSAGE" on stderr; returns kExitFailed.
int Fail(const Io& io, const std::string& message);
// "regdb: WHAT: CODE MESSAGE" on stderr; returns kExitFailed.
int FailCode(const Io& io, const std::string& what, int code);
// The database's last error after a failed operation.
int FailLast(const Io& io, const std::string& what);

// Parses the words after the command name; on failure prints the error and the usage line.
bool ParseCommand(const Io& io, const std::vector<std::string>& words, const OptionSpec& description,
                  size_t min_positional, size_t max_positional, const char* usage, Args* args);

// A path argument in GBK, the form the file seam takes.
bool PathArgument(const Io& io, const std::string& utf8, Text* gbk);
// The --password option in GBK (empty when absent).
bool PasswordArgument(const Io& io, const Args& args, Text* password);

// Opens FILE as the current database of the process's table; prints the failure. A writable
// open is refused while the program's rollback journal lies beside FILE (a change cut short,
// which the program puts back at its next reading of the file: a change made now would be
// undone); a read-only one says that what it reads may be half changed.
bool OpenFile(const Io& io, const std::string& file, const Text& path, const OpenOptions& options);

// The program's rollback journal beside the database file at `path` (default extension
// applied), when one lies there.
bool JournalBeside(const Text& path, Text* journal);

// Takes the writer lock of the database file at `path` (see recdb::WriterLock) into *lock,
// waiting a while for another writer; prints why not.
bool TakeWriterLock(const Io& io, const std::string& file, const Text& path,
                    std::unique_ptr<recdb::WriterLock>* lock);

// Refuses to create OUT over an existing file unless `force`, and always over FILE itself or
// its companion file (creating truncates, which would destroy the source).
bool CheckOutput(const Io& io, const Text& source, const std::string& out_utf8, const Text& out,
                 bool force);

// A GBK text for the terminal.
std::string Shown(const Text& gbk);

// "record R, field NAME" (R from 1).
std::string RecordFieldWhere(int32_t record, const recdb::FieldDescriptor& field);
// Reads every field of every record of the current database in order and hands each record's
// values to `visit`. Reports the first failing read. Closes the database.
int ReadEveryRecord(const Io& io, const std::string& file,
                    const std::function<void(int32_t, const std::vector<Value>&)>& visit);

int RunInfo(const Io& io, const std::vector<std::string>& words);
int RunDump(const Io& io, const std::vector<std::string>& words);
int RunCheck(const Io& io, const std::vector<std::string>& words);
int RunCreate(const Io& io, const std::vector<std::string>& words);
int RunImport(const Io& io, const std::vector<std::string>& words);
int RunSort(const Io& io, const std::vector<std::string>& words);
int RunRename(const Io& io, const std::vector<std::string>& words);
int RunCopyStructure(const Io& io, const std::vector<std::string>& words);

}  // namespace sr::regdb

#endif  // SALARY_TOOLS_REGDB_COMMAND_H_
