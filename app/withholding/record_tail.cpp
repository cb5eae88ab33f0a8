#include "app/withholding/record_tail.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "app/withholding/record_file.h"
#include "app/withholding/rollback_journal.h"
#include "runtime/convert/conversions.h"
#include "runtime/recdb/coding.h"
#include "runtime/recdb/errors.h"

namespace sr::app {
namespace {

Text WriteFailure(const Text& path, int code) {
  return Concat({"无法写入文件 ", path, "：", DatabaseErrorMessage(code)});
}

// The header and field descriptors that a file of `fields` with `count` records appended one
// by one from the first serial number has, created at `created`.
std::string ExpectedPrefix(std::vector<recdb::FieldDescriptor> fields, double created,
                           int32_t count) {
  recdb::Header header;
  header.created = created;
  header.record_size = recdb::AssignOffsets(&fields);
  header.record_count = count;
  header.next_serial = count + 1;
  std::string bytes = recdb::EncodeHeader(header);
  uint8_t field_count[4];
  recdb::PutI32(field_count, int32_t(fields.size()));
  bytes.append(reinterpret_cast<const char*>(field_count), 4);
  for (const recdb::FieldDescriptor& field : fields) bytes += recdb::EncodeDescriptor(field);
  return bytes;
}

int ReadExactly(fs::File& file, int64_t offset, std::string* bytes) {
  size_t got = 0;
  const int code = file.ReadAt(offset, bytes->data(), bytes->size(), &got);
  return code != fs::kOk ? code : got == bytes->size() ? fs::kOk : fs::kEndOfFile;
}

// Whether the open file is what the whole-file write made at `created`, with `count` records
// ending in `old_tail` from record `first` on; *prefix receives its header and field
// descriptors. A file written whole since has another creation time, even when the records
// that changed lie before `first`.
bool IsAsRead(fs::File& file, const std::vector<recdb::FieldDescriptor>& fields, double created,
              int32_t count, int32_t first, std::string_view old_tail, int64_t record_size,
              std::string* prefix) {
  const int64_t data = recdb::DataStart(fields.size());
  int64_t length = 0;
  prefix->assign(size_t(data), '\0');
  if (file.Length(&length) != fs::kOk || length != data + count * record_size ||
      ReadExactly(file, 0, prefix) != fs::kOk ||
      *prefix != ExpectedPrefix(fields, created, count)) {
    return false;
  }
  std::string tail(old_tail.size(), '\0');
  return ReadExactly(file, data + first * record_size, &tail) == fs::kOk && tail == old_tail;
}

// Gives the records their serial numbers (from `first` + 1 on) and puts them down, then the
// record count and the next serial number.
int WriteTail(fs::File& file, int64_t data, int32_t first, std::string& records,
              int64_t record_size) {
  const int32_t count = first + int32_t(size_t(records.size()) / size_t(record_size));
  uint8_t* record = reinterpret_cast<uint8_t*>(records.data());
  for (int32_t serial = first + 1; serial <= count; ++serial, record += record_size) {
    recdb::PutI32(record, serial);
  }
  int64_t old_length = 0;
  int code = file.Length(&old_length);
  const int64_t offset = data + first * record_size;
  if (code == fs::kOk && !records.empty()) {
    code = file.WriteAt(offset, records.data(), records.size());
  }
  const int64_t length = offset + int64_t(records.size());
  if (code == fs::kOk && length < old_length) code = file.Truncate(length);
  uint8_t counts[8];
  recdb::PutI32(counts, count);
  recdb::PutI32(counts + 4, count + 1);
  return code == fs::kOk ? file.WriteAt(recdb::kCountOffset, counts, 8) : code;
}

}  // namespace

TailWrite ReplaceTailRecords(fs::FileSystem& files, const Text& path,
                             const std::vector<recdb::FieldDescriptor>& fields, double created,
                             int32_t count, int32_t first, std::string_view old_tail,
                             std::string records, Text* message) {
  std::vector<recdb::FieldDescriptor> laid = fields;
  const int64_t record_size = recdb::AssignOffsets(&laid);
  if (first < 0 || first > count || records.size() % size_t(record_size) != 0) {
    return TailWrite::kNotInPlace;
  }
  Text target;
  std::unique_ptr<fs::File> file;
  int code = files.ResolveLinks(path, &target);
  if (code == fs::kOk) {
    code = files.Open(target, fs::Access::kReadWrite, fs::Share::kExclusive,
                      fs::Disposition::kOpenExisting, &file);
  }
  if (code == fs::kNotFound) return TailWrite::kNotInPlace;
  if (code != fs::kOk) {
    *message = WriteFailure(path, code);
    return TailWrite::kFailed;
  }
  std::string prefix;
  if (!IsAsRead(*file, fields, created, count, first, old_tail, record_size, &prefix)) {
    return TailWrite::kNotInPlace;
  }
  const int64_t data = recdb::DataStart(fields.size());
  RollbackJournal journal(files, target);
  const std::string_view counts = std::string_view(prefix).substr(recdb::kCountOffset, 8);
  code = journal.Begin(data + count * record_size,
                       {{recdb::kCountOffset, counts}, {data + first * record_size, old_tail}});
  if (code == fs::kOk) {
    code = WriteTail(*file, data, first, records, record_size);
    if (code == fs::kOk) code = journal.Commit(*file);
    if (code != fs::kOk) journal.RollBack(*file);
  }
  if (code == fs::kOk) return TailWrite::kWritten;
  *message = WriteFailure(path, code);
  return TailWrite::kFailed;
}

namespace {

// The journal as the user would look for it: beside the path they know, unless that is a link
// to a file elsewhere (Windows spells a resolved path with other separators).
Text JournalShownFor(const Text& path, const Text& target) {
  const auto same_place = [](char a, char b) {
    return a == b || ((a == '/' || a == '\\') && (b == '/' || b == '\\'));
  };
  const bool beside_path = std::equal(path.begin(), path.end(), target.begin(), target.end(),
                                      same_place);
  return JournalPath(beside_path ? path : target);
}

}  // namespace

bool RecoverRecordFile(fs::FileSystem& files, const Text& path, Text* message) {
  Text target;
  int code = files.ResolveLinks(path, &target);
  if (code == fs::kOk) code = RollbackJournal(files, target).Recover();
  if (code == fs::kOk) return true;
  if (code == kDamagedJournal) {
    *message = Concat({"文件 ", path, " 上次的保存没有做完，而记着它保存前内容的 ",
                       JournalShownFor(path, target), " 已损坏，无法把它恢复成保存前的样子"});
  } else if (code == fs::kSharingViolation) {
    *message = FileInUse(path);
  } else {
    *message = Concat({"文件 ", path, " 上次的保存没有做完，无法把它恢复成保存前的样子：",
                       DatabaseErrorMessage(code)});
  }
  return false;
}

std::unique_ptr<recdb::WriterLock> LockForWriting(fs::FileSystem& files, const Text& path,
                                                  Text* message) {
  Text target;
  int code = files.ResolveLinks(path, &target);
  auto lock = std::make_unique<recdb::WriterLock>(files, code == fs::kOk ? target : path);
  if (code == fs::kOk) code = lock->Take();
  if (code == fs::kSharingViolation || code == fs::kLockViolation) {
    *message = FileInUse(path);
    return nullptr;
  }
  if (code != fs::kOk) {
    *message = WriteFailure(path, code);
    return nullptr;
  }
  return RecoverRecordFile(files, path, message) ? std::move(lock) : nullptr;
}

}  // namespace sr::app
