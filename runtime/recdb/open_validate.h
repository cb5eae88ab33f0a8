#ifndef SALARY_RUNTIME_RECDB_OPEN_VALIDATE_H_
#define SALARY_RUNTIME_RECDB_OPEN_VALIDATE_H_

#include <memory>
#include <vector>

#include "platform/fs/file_system.h"
#include "runtime/recdb/cipher_file.h"
#include "runtime/recdb/companion.h"
#include "runtime/recdb/format.h"

namespace sr::recdb {

// Share modes 2 and 4 (and any value other than 1 to 3) hold the database exclusively.
fs::Share ShareOfMode(int share_mode);
bool IsExclusiveMode(int share_mode);

struct OpenRequest {
  Text path;  // full path with the default extension applied
  Text password;
  int read_only = 0;  // 1 opens for reading only; any non-zero value refuses size repairs
  int share_mode = 1;
  // A size repair first keeps a copy of the file beside it (see OpenedDatabase::repair_copy);
  // false for a caller that kept its own copy.
  bool keep_repair_copy = true;
};

struct OpenedDatabase {
  Header header;
  std::vector<FieldDescriptor> fields;
  int64_t data_start = 0;
  std::shared_ptr<PageCipher> cipher;  // null without a password
  std::unique_ptr<CipherFile> file;
  std::unique_ptr<Companion> companion;  // null without memo or bytes fields
  bool read_only = false;                // opened for reading only
  Text repair_copy;  // the copy kept before a size repair changed the file; empty without one
};

// Opens the database file and its companion and checks them in a fixed order, each check with
// its own code: the header (-22), the password (-78), the version (-23), the descriptors (-22,
// also when the header's record size is not the one they describe: such a file is damaged and
// never cut), the size (-48, or repaired when writable, after a copy of the file was kept as
// NAME.bak, or NAME.2.bak and so on when an earlier copy is there), the companion file (-35,
// -36, -37, or repaired).
// Returns 0 and fills *out, or a database error code with every file closed again.
int OpenAndValidate(fs::FileSystem& fs, const OpenRequest& request, OpenedDatabase* out);

// What ReadDatabaseLayout finds: the header, the descriptors and the file's size.
struct DatabaseLayout {
  Header header;
  std::vector<FieldDescriptor> fields;
  int64_t data_start = 0;
  int64_t length = 0;
};

// Reads a database file's header and descriptors with the open's checks of them (-22, -78, -23)
// but without its size check, companion, locks or repairs: for tools looking at a file that the
// open refuses. `path` is used as it is (no default extension).
int ReadDatabaseLayout(fs::FileSystem& fs, const Text& path, const Text& password,
                       DatabaseLayout* out);

}  // namespace sr::recdb

#endif  // SALARY_RUNTIME_RECDB_OPEN_VALIDATE_H_
