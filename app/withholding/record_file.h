#ifndef SALARY_APP_WITHHOLDING_RECORD_FILE_H_
#define SALARY_APP_WITHHOLDING_RECORD_FILE_H_

#include <functional>
#include <vector>

#include "base/value.h"
#include "platform/fs/file_system.h"
#include "runtime/recdb/format.h"
#include "runtime/recdb/recdb.h"

// A whole record database of the withholding room read or written at once: the people file and
// the year's ledger are small enough to be held in memory, and are always rewritten whole.
namespace sr::app {

using RecordValues = std::vector<Value>;

// Reads every record of the file at `path` (opened read-only under `alias`, closed again). The
// file must have exactly the fields of `fields`, by name and in order. False with a message for
// the user that names the file and what is wrong; `records` is then unspecified.
bool ReadRecordFile(DatabaseTable& databases, const Text& path, const Text& alias,
                    const std::vector<recdb::FieldDescriptor>& fields,
                    std::vector<RecordValues>* records, Text* message);

// Writes `records` as the whole content of the file at `path`, made anew with `fields`, without
// ever leaving a half-written file there: a new file is written beside it, made durable and then
// takes its place (an existing file's mode, owner and group are kept). False with a message
// naming the file and the reason; the file is then as it was.
// REQUIRES: every record has one value per field, of a kind the field takes.
bool WriteRecordFile(DatabaseTable& databases, fs::FileSystem& files, const Text& path,
                     const Text& alias, const std::vector<recdb::FieldDescriptor>& fields,
                     const std::vector<RecordValues>& records, Text* message);

// The same two for a file whose records the caller codes itself (recdb::AssignOffsets lays
// `fields` out as every created file is), without a value per field.
// ReadStoredRecords tells `begin` the number of records and the file's creation time, then hands
// the stored bytes of each record in turn to `take`, which returns false to stop the reading with
// its own message. A file whose fields are not laid out exactly as `fields` counts as a file of
// another kind, unless `earlier` is given and it is laid out as that: an earlier layout of the
// same file, whose records are handed on as records of `fields` (each field of the same name,
// type and width taking the earlier value, the others zero, then `earlier->upgrade` for what
// else differs), and `*was_earlier` is set.
struct EarlierLayout {
  std::vector<recdb::FieldDescriptor> fields;
  std::function<void(uint8_t* record)> upgrade;
};
bool ReadStoredRecords(DatabaseTable& databases, const Text& path, const Text& alias,
                       const std::vector<recdb::FieldDescriptor>& fields,
                       const std::function<void(int32_t count, double created)>& begin,
                       const std::function<bool(const uint8_t* record, Text* message)>& take,
                       Text* message, const EarlierLayout* earlier = nullptr,
                       bool* was_earlier = nullptr);
// WriteStoredRecords writes `count` records whose bytes `encode` fills in (the record arrives
// zeroed; its first 4 bytes, the serial number, are given by the file); crash-safe as
// WriteRecordFile. The new file's creation time is later than `replaces_created` (the creation
// time of the file it replaces, 0 for none), even within the same second: a writer that compares
// creation times to see whether the file was written anew since it read it always sees it.
// REQUIRES: no memo or bytes field.
bool WriteStoredRecords(DatabaseTable& databases, fs::FileSystem& files, const Text& path,
                        const Text& alias, const std::vector<recdb::FieldDescriptor>& fields,
                        size_t count,
                        const std::function<void(size_t index, uint8_t* record)>& encode,
                        Text* message, double replaces_created = 0);

// A field for such a file.
recdb::FieldDescriptor TextField(const char* name, int width);
recdb::FieldDescriptor NumberField(const char* name);
recdb::FieldDescriptor WholeField(const char* name);

// What the reading or writing of the file at `path` says when another program holds it.
Text FileInUse(const Text& path);

// The whole content of the file at `path`, read with others kept from writing it meanwhile.
// Returns 0 or a file code.
int ReadFileContent(fs::FileSystem& files, const Text& path, std::string* content);
// The same, for a file of at most `most_bytes`: a longer one is not read, *too_large is set and
// *content left empty.
int ReadFileContentUpTo(fs::FileSystem& files, const Text& path, int64_t most_bytes,
                        std::string* content, bool* too_large);

// Whether a file exists at `path` (an unreadable folder counts as no).
bool FileExists(fs::FileSystem& files, const Text& path);

}  // namespace sr::app

#endif  // SALARY_APP_WITHHOLDING_RECORD_FILE_H_
