#ifndef SALARY_RUNTIME_RECDB_CREATE_FILE_H_
#define SALARY_RUNTIME_RECDB_CREATE_FILE_H_

#include <memory>
#include <vector>

#include "platform/fs/file_system.h"
#include "runtime/recdb/format.h"
#include "runtime/recdb/page_cipher.h"

namespace sr::recdb {

// Writes an empty database file with the given fields (offsets are assigned from 4), and an
// empty companion file when a memo or bytes field is present. `cipher` gives the password, null
// for none; `created` is the creation time. Returns 0 or a database error code (-50 when the
// companion file cannot be written).
int CreateDatabaseFile(fs::FileSystem& fs, const Text& path, std::vector<FieldDescriptor> fields,
                       const std::shared_ptr<PageCipher>& cipher, double created);

}  // namespace sr::recdb

#endif  // SALARY_RUNTIME_RECDB_CREATE_FILE_H_
