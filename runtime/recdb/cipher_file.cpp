#include "runtime/recdb/cipher_file.h"

#include <vector>

namespace sr::recdb {

int CipherFile::ReadAt(int64_t offset, void* buffer, size_t length, size_t* got) {
  *got = 0;
  int code = file_->ReadAt(offset, buffer, length, got);
  if (code == fs::kOk && cipher_ != nullptr) {
    cipher_->Apply(offset, static_cast<uint8_t*>(buffer), *got);
  }
  return code;
}

int CipherFile::ReadExact(int64_t offset, void* buffer, size_t length, int short_code) {
  size_t got = 0;
  int code = ReadAt(offset, buffer, length, &got);
  if (code != fs::kOk) return code;
  return got == length ? fs::kOk : short_code;
}

int CipherFile::WriteAt(int64_t offset, const void* buffer, size_t length) {
  if (cipher_ == nullptr) return file_->WriteAt(offset, buffer, length);
  const uint8_t* bytes = static_cast<const uint8_t*>(buffer);
  std::vector<uint8_t> copy(bytes, bytes + length);
  cipher_->Apply(offset, copy.data(), copy.size());
  return file_->WriteAt(offset, copy.data(), copy.size());
}

}  // namespace sr::recdb
