#include "runtime/recdb/open_validate.h"

#include <algorithm>
#include <string>

#include "runtime/recdb/coding.h"
#include "runtime/recdb/errors.h"

namespace sr::recdb {
namespace {

// Holds a lock over the whole file until released or destroyed.
class WholeFileLock {
 public:
  explicit WholeFileLock(CipherFile* file) : file_(file) {}
  ~WholeFileLock() { Release(); }
  int Take() {
    int code = file_->Lock(0, kWholeFileLength);
    held_ = code == fs::kOk;
    return code;
  }
  void Release() {
    if (held_) file_->Unlock(0, kWholeFileLength);
    held_ = false;
  }

 private:
  CipherFile* file_;
  bool held_ = false;
};

int OpenFile(fs::FileSystem& fs, const Text& path, const OpenRequest& request,
             std::unique_ptr<fs::File>* file) {
  fs::Access access = request.read_only == 1 ? fs::Access::kRead : fs::Access::kReadWrite;
  return fs.Open(path, access, ShareOfMode(request.share_mode), fs::Disposition::kOpenExisting,
                 file);
}

int CheckPassword(const uint8_t* raw, const Text& password, Header* header,
                  std::shared_ptr<PageCipher>* cipher) {
  if (!header->is_protected) return password.empty() ? kDbOk : kDbBadPassword;
  if (password.empty()) return kDbBadPassword;
  *cipher = std::make_shared<PageCipher>(password);
  uint8_t plain[kHeaderSize];
  std::copy(raw, raw + kHeaderSize, plain);
  (*cipher)->Apply(0, plain, kHeaderSize);
  DecodeHeader(plain, header);
  if (!NamesEqual(header->digest_text, (*cipher)->digest_text())) return kDbBadPassword;
  return kDbOk;
}

int ReadFields(CipherFile& file, int64_t length, OpenedDatabase* out) {
  uint8_t count_bytes[4];
  int code = file.ReadExact(kHeaderSize, count_bytes, 4, kDbNotDatabaseFile);
  if (code != kDbOk) return code;
  int32_t count = GetI32(count_bytes);
  if (count < 1 || DataStart(count) > length) return kDbNotDatabaseFile;
  std::string bytes(kDescriptorSize * count, '\0');
  code = file.ReadExact(kFieldsOffset, bytes.data(), bytes.size(), kDbNotDatabaseFile);
  if (code != kDbOk) return code;
  out->fields.resize(count);
  for (int32_t n = 0; n < count; ++n) {
    FieldDescriptor& field = out->fields[n];
    if (!DecodeDescriptor(Raw(bytes) + kDescriptorSize * n, &field)) return kDbNotDatabaseFile;
    // A field reaching past the record would read or overwrite its neighbour record.
    if (static_cast<int64_t>(field.offset) + field.width() > out->header.record_size) {
      return kDbNotDatabaseFile;
    }
  }
  out->data_start = DataStart(count);
  return kDbOk;
}

// The first of NAME.bak, NAME.2.bak, ... that does not exist yet.
int FreeCopyName(fs::FileSystem& fs, const Text& path, Text* copy) {
  constexpr int kMostCopies = 100;
  for (int n = 1; n <= kMostCopies; ++n) {
    *copy = path + (n == 1 ? Text() : "." + std::to_string(n)) + ".bak";
    bool exists = true;
    if (int code = fs.Exists(*copy, &exists); code != fs::kOk) return code;
    if (!exists) return fs::kOk;
  }
  return fs::kDirectoryFull;
}

// Copies the file's bytes as they are, through the handle that holds its lock, to a new file
// beside it, synced before the repair changes anything.
int KeepCopy(fs::FileSystem& fs, const Text& path, CipherFile& file, int64_t length, Text* copy) {
  int code = FreeCopyName(fs, path, copy);
  std::unique_ptr<fs::File> out;
  if (code == fs::kOk) {
    code = fs.Open(*copy, fs::Access::kWrite, fs::Share::kExclusive,
                   fs::Disposition::kCreateAlways, &out);
  }
  if (code == fs::kOk) code = fs.CopyPermissions(path, *copy);
  std::string chunk(1 << 16, '\0');
  for (int64_t at = 0; code == fs::kOk && at < length;) {
    size_t got = 0;
    code = file.raw().ReadAt(at, chunk.data(), chunk.size(), &got);
    if (code == fs::kOk && got == 0) code = kDbRecordReadFailed;
    if (code == fs::kOk) code = out->WriteAt(at, chunk.data(), got);
    at += static_cast<int64_t>(got);
  }
  if (code == fs::kOk) code = out->Sync();
  if (code != fs::kOk && out != nullptr) {
    out.reset();
    fs.RemoveFile(*copy);
  }
  return code;
}

int CheckSize(fs::FileSystem& fs, CipherFile& file, int64_t length, const OpenRequest& request,
              OpenedDatabase* out) {
  Header& header = out->header;
  int64_t complete = (length - out->data_start) / header.record_size;
  bool repairable = request.read_only == 0;
  const int64_t counted =
      out->data_start + static_cast<int64_t>(header.record_count) * header.record_size;
  if (repairable && counted != length && request.keep_repair_copy) {
    if (int code = KeepCopy(fs, request.path, file, length, &out->repair_copy); code != fs::kOk) {
      return code;
    }
  }
  if (complete < header.record_count) {
    if (!repairable) return kDbFileSize;
    header.record_count = static_cast<int32_t>(complete);
    uint8_t bytes[4];
    PutI32(bytes, header.record_count);
    int code = file.WriteAt(kCountOffset, bytes, 4);
    if (code != fs::kOk) return code;
  } else if (!repairable) {
    return kDbOk;
  }
  int64_t end = out->data_start + static_cast<int64_t>(header.record_count) * header.record_size;
  return end == length ? kDbOk : file.Truncate(end);
}

int OpenCompanion(fs::FileSystem& fs, const OpenRequest& request, OpenedDatabase* out) {
  std::unique_ptr<fs::File> raw;
  if (OpenFile(fs, CompanionPath(request.path), request, &raw) != fs::kOk) {
    return kDbCompanionReadFailed;
  }
  auto file = std::make_unique<CipherFile>(std::move(raw), out->cipher);
  WholeFileLock lock(file.get());
  int code = lock.Take();
  if (code != fs::kOk) return code;
  uint8_t bytes[kCompanionHeaderSize];
  CompanionHeader header;
  if (file->ReadExact(0, bytes, sizeof bytes, kDbCompanionReadFailed) != kDbOk ||
      !DecodeCompanionHeader(bytes, &header) || header.block_count < 1 ||
      header.free_count < 0 || header.free_count >= header.block_count ||
      header.first_free < 0 || header.first_free >= header.block_count) {
    return kDbCompanionReadFailed;
  }
  if (header.version != out->header.version) return kDbCompanionVersion;
  int64_t length = 0;
  if ((code = file->Length(&length)) != fs::kOk) return code;
  int64_t blocks = length / kBlockSize;
  if (blocks < header.block_count) {
    if (request.read_only != 0) return kDbCompanionDamaged;
    // A file shorter than its header block is padded back to one block.
    if (blocks < 1 && (code = file->Truncate(kBlockSize)) != fs::kOk) return code;
    uint8_t count[4];
    PutI32(count, static_cast<int32_t>(std::max<int64_t>(blocks, 1)));
    if ((code = file->WriteAt(16, count, 4)) != fs::kOk) return code;
  }
  lock.Release();
  out->companion = std::make_unique<Companion>(std::move(*file));
  return kDbOk;
}

// The header, the password and the descriptors; *length receives the file's size.
int ReadLayout(const OpenRequest& request, CipherFile& file, OpenedDatabase* out, int64_t* length) {
  uint8_t raw[kHeaderSize];
  int code = file.ReadExact(0, raw, kHeaderSize, kDbNotDatabaseFile);
  if (code != kDbOk) return code;
  if (!DecodeHeader(raw, &out->header)) return kDbNotDatabaseFile;
  code = CheckPassword(raw, request.password, &out->header, &out->cipher);
  if (code != kDbOk) return code;
  const Header& header = out->header;
  if (header.record_size < 1 || header.record_count < 0 || header.next_serial < 1) {
    return kDbNotDatabaseFile;
  }
  if (header.version > kFormatVersion) return kDbVersionTooHigh;
  // From here on the file is read through the cipher of the given password.
  file.set_cipher(out->cipher);
  if ((code = file.Length(length)) != fs::kOk) return code;
  return ReadFields(file, *length, out);
}

int Validate(fs::FileSystem& fs, const OpenRequest& request, CipherFile& file,
             OpenedDatabase* out) {
  int64_t length = 0;
  int code = ReadLayout(request, file, out, &length);
  if (code != kDbOk) return code;
  // A record size other than the fields describe would make the size check cut away records.
  if (out->header.record_size != DescribedRecordSize(out->fields)) return kDbNotDatabaseFile;
  if ((code = CheckSize(fs, file, length, request, out)) != kDbOk) return code;
  bool has_chains = std::any_of(out->fields.begin(), out->fields.end(),
                                [](const FieldDescriptor& f) { return IsChainType(f.type); });
  return has_chains ? OpenCompanion(fs, request, out) : kDbOk;
}

}  // namespace

fs::Share ShareOfMode(int share_mode) {
  switch (share_mode) {
    case 1: return fs::Share::kDenyNone;
    case 2: return fs::Share::kDenyRead;
    case 3: return fs::Share::kDenyWrite;
    default: return fs::Share::kExclusive;
  }
}

bool IsExclusiveMode(int share_mode) { return share_mode != 1 && share_mode != 3; }

int OpenAndValidate(fs::FileSystem& fs, const OpenRequest& request, OpenedDatabase* out) {
  if (request.path.empty()) return kDbNotFound;
  std::unique_ptr<fs::File> raw;
  int code = OpenFile(fs, request.path, request, &raw);
  if (code != fs::kOk) return code;
  OpenedDatabase opened;
  // The cipher is not known until the header is read: the file gets it afterwards.
  auto file = std::make_unique<CipherFile>(std::move(raw), nullptr);
  WholeFileLock lock(file.get());
  if (!IsExclusiveMode(request.share_mode) && (code = lock.Take()) != fs::kOk) return code;
  code = Validate(fs, request, *file, &opened);
  if (code != kDbOk) return code;
  lock.Release();
  opened.file = std::move(file);
  opened.read_only = request.read_only == 1;
  *out = std::move(opened);
  return kDbOk;
}

int ReadDatabaseLayout(fs::FileSystem& fs, const Text& path, const Text& password,
                       DatabaseLayout* out) {
  OpenRequest request;
  request.path = path;
  request.password = password;
  request.read_only = 1;
  std::unique_ptr<fs::File> raw;
  int code = OpenFile(fs, path, request, &raw);
  if (code != fs::kOk) return code;
  CipherFile file(std::move(raw), nullptr);
  OpenedDatabase opened;
  if ((code = ReadLayout(request, file, &opened, &out->length)) != kDbOk) return code;
  out->header = opened.header;
  out->fields = std::move(opened.fields);
  out->data_start = opened.data_start;
  return kDbOk;
}

}  // namespace sr::recdb
