// Expectations on the record database files that the program writes, read through the record
// database itself. Each check opens the file read-only in a table of its own, so that the
// program's open databases and its current database stay as they are.
#include <string>
#include <vector>

#include "base/gbk.h"
#include "platform/fs/file_system.h"
#include "runtime/convert/conversions.h"
#include "runtime/convert/fatal_error.h"
#include "runtime/recdb/errors.h"
#include "runtime/recdb/recdb.h"
#include "tools/scenario/runner.h"

namespace sr::scenario {

namespace {

const char kPasswordPrefix[] = "password=";

// The file (relative to the program directory) and the other arguments of a line
// "expect KIND FILE [password=P] ARGS...".
struct FileArgs {
  Text file;
  Text password;
  std::vector<Text> rest;
};

FileArgs ParseFileArgs(const Line& line) {
  FileArgs args;
  args.file = Runner::Arg(line, 2);
  const Text prefix = kPasswordPrefix;
  for (size_t i = 3; i < line.words.size(); ++i) {
    if (line.words[i].compare(0, prefix.size(), prefix) == 0) {
      args.password = line.words[i].substr(prefix.size());
    } else {
      args.rest.push_back(line.words[i]);
    }
  }
  return args;
}

// A register file opened for reading for the length of one check.
class OpenedFile {
 public:
  OpenedFile(fs::FileSystem& files, const FileArgs& args) : table_(files) {
    OpenOptions options;
    options.read_only = 1;
    options.password = args.password;
    if (!table_.OpenDatabase(args.file, Text(), options)) {
      int code = LastDatabaseError();
      throw Failure("cannot open " + ToUtf8(args.file) + ": " + std::to_string(code) + " " +
                    ToUtf8(DatabaseErrorMessage(code)));
    }
  }
  ~OpenedFile() { table_.CloseAllDatabases(); }

  DatabaseTable& table() { return table_; }

 private:
  DatabaseTable table_;
};

// Runs a check that reads the file; a read that the record database cannot do (a field that does
// not exist) is an unmet expectation, not the end of the scenario.
template <typename Fn>
void Reading(Fn fn) {
  try {
    fn();
  } catch (const FatalRuntimeError& error) {
    throw Failure("the record database refused the read: " + ToUtf8(error.what()));
  }
}

}  // namespace

void AddRecordExpectations(Runner& runner) {
  // expect records FILE COUNT
  runner.AddExpectation("records", [](Runner& r, const Line& line) {
    FileArgs args = ParseFileArgs(line);
    if (args.rest.size() != 1) throw Failure("expected: records FILE COUNT");
    OpenedFile file(r.file_system(), args);
    Runner::ExpectEqual("record count", args.rest[0],
                        std::to_string(file.table().GetRecordCount()));
  });
  // expect record FILE NUMBER VALUE... : the first fields of record NUMBER (1-based), as texts.
  runner.AddExpectation("record", [](Runner& r, const Line& line) {
    FileArgs args = ParseFileArgs(line);
    if (args.rest.size() < 2) throw Failure("expected: record FILE NUMBER VALUE...");
    OpenedFile file(r.file_system(), args);
    int number = Runner::Int(args.rest[0]);
    if (number < 1 || number > file.table().GetRecordCount()) {
      throw Failure("the file has no record " + std::to_string(number));
    }
    file.table().GotoRecord(number);
    Reading([&] {
      for (size_t i = 1; i < args.rest.size(); ++i) {
        Runner::ExpectEqual("field " + std::to_string(i), args.rest[i],
                            ToText(file.table().ReadField(static_cast<int>(i))));
      }
    });
  });
  // expect fields FILE NAME... : the first field names, in order.
  runner.AddExpectation("fields", [](Runner& r, const Line& line) {
    FileArgs args = ParseFileArgs(line);
    OpenedFile file(r.file_system(), args);
    Reading([&] {
      for (size_t i = 0; i < args.rest.size(); ++i) {
        Runner::ExpectEqual("field name " + std::to_string(i + 1), args.rest[i],
                            file.table().GetFieldName(static_cast<int>(i + 1)));
      }
    });
  });
}

}  // namespace sr::scenario
