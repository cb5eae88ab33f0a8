// A second process for the sharing tests.
//   share_worker append FILE ID COUNT   opens FILE in the default share mode, creates FILE.readyID,
//                                       waits for FILE.go, then appends COUNT records writing
//                                       every field; exits with 0 when all succeeded
//   share_worker append-now FILE ID COUNT   the same without waiting: it appends while other
//                                       processes are still opening the file
//   share_worker open FILE              opens FILE in the default share mode; exits with the
//                                       negated database error code (0 when it opened)
//   share_worker reopen FILE            opens and closes FILE again and again, as other copies of
//                                       the program opening it would, until FILE.done exists;
//                                       exits with 0 when every open succeeded
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/gbk.h"
#include "platform/fs/real_file_system.h"
#include "runtime/recdb/recdb.h"

namespace {

bool Exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

// Opens validate under a whole-file lock and do not wait, so processes that meet retry (for
// up to about ten seconds: the other processes hold record locks nearly all the time).
bool OpenPatiently(sr::DatabaseTable& table, const std::string& file) {
  for (int tries = 0; !table.OpenDatabase(sr::FromUtf8(file), ""); ++tries) {
    if (tries == 20000) return false;
    usleep(500);
  }
  return true;
}

int Reopen(const std::string& file) {
  while (!Exists(file + ".done")) {
    sr::DatabaseTable table(sr::fs::RealFileSystem());
    if (!OpenPatiently(table, file)) return 100;
  }
  return 0;
}

int Append(const std::string& file, int id, int count, bool wait_for_go) {
  sr::DatabaseTable table(sr::fs::RealFileSystem());
  if (!OpenPatiently(table, file)) return 100;
  std::fclose(std::fopen((file + ".ready" + std::to_string(id)).c_str(), "w"));
  for (int waited = 0; wait_for_go && !Exists(file + ".go"); ++waited) {
    if (waited == 20000) return 102;
    usleep(500);
  }
  int failures = 0;
  for (int n = 0; n < count; ++n) {
    const std::string tag = std::to_string(id) + "-" + std::to_string(n);
    bool ok = table.AppendBlankRecord() && table.WriteField(1, sr::Value::Int(id)) &&
              table.WriteField(2, sr::Value::Int(n)) &&
              table.WriteField(3, sr::Value::FromText("记录" + tag)) &&
              table.WriteField(4, sr::Value::Double(id * 10000.25 + n));
    if (!ok && ++failures == 1) {
      std::fprintf(stderr, "share_worker %d: record %d failed with %d\n", id, n,
                   sr::LastDatabaseError());
    }
  }
  table.CloseAllDatabases();
  return failures == 0 ? 0 : 101;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if ((command == "append" || command == "append-now") && argc == 5) {
    return Append(argv[2], std::atoi(argv[3]), std::atoi(argv[4]), command == "append");
  }
  if (command == "reopen" && argc == 3) return Reopen(argv[2]);
  if (command == "open" && argc == 3) {
    sr::DatabaseTable table(sr::fs::RealFileSystem());
    return table.OpenDatabase(sr::FromUtf8(argv[2]), "") ? 0 : -sr::LastDatabaseError();
  }
  std::fprintf(stderr,
               "usage: share_worker append|append-now FILE ID COUNT | open FILE | reopen FILE\n");
  return 2;
}
