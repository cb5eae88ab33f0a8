#include "runtime/recdb/create_file.h"

#include <algorithm>

#include "runtime/recdb/cipher_file.h"
#include "runtime/recdb/coding.h"
#include "runtime/recdb/companion.h"
#include "runtime/recdb/errors.h"

namespace sr::recdb {
namespace {

int CreateFile(fs::FileSystem& fs, const Text& path, const std::shared_ptr<PageCipher>& cipher,
               std::unique_ptr<CipherFile>* file) {
  std::unique_ptr<fs::File> raw;
  int code = fs.Open(path, fs::Access::kReadWrite, fs::Share::kExclusive,
                     fs::Disposition::kCreateAlways, &raw);
  if (code != fs::kOk) return code;
  *file = std::make_unique<CipherFile>(std::move(raw), cipher);
  return kDbOk;
}

}  // namespace

int CreateDatabaseFile(fs::FileSystem& fs, const Text& path, std::vector<FieldDescriptor> fields,
                       const std::shared_ptr<PageCipher>& cipher, double created) {
  if (path.empty()) return kDbNotFound;
  const Text database_path = WithDefaultExtension(path);
  Header header;
  header.is_protected = cipher != nullptr;
  header.created = created;
  header.record_size = AssignOffsets(&fields);
  if (cipher != nullptr) header.digest_text = cipher->digest_text();
  std::string bytes = EncodeHeader(header);
  uint8_t count[4];
  PutI32(count, static_cast<int32_t>(fields.size()));
  bytes.append(reinterpret_cast<const char*>(count), 4);
  for (const FieldDescriptor& field : fields) bytes += EncodeDescriptor(field);

  std::unique_ptr<CipherFile> file;
  int code = CreateFile(fs, database_path, cipher, &file);
  if (code != kDbOk) return code;
  if ((code = file->WriteAt(0, bytes)) != fs::kOk) return code;
  file.reset();

  bool has_chains = std::any_of(fields.begin(), fields.end(),
                                [](const FieldDescriptor& f) { return IsChainType(f.type); });
  if (!has_chains) return kDbOk;
  std::unique_ptr<CipherFile> companion;
  CompanionHeader companion_header;
  companion_header.created = created;
  if (CreateFile(fs, CompanionPath(database_path), cipher, &companion) != kDbOk ||
      companion->WriteAt(0, EncodeCompanionHeader(companion_header)) != fs::kOk) {
    return kDbCompanionCreateFailed;
  }
  return kDbOk;
}

}  // namespace sr::recdb
