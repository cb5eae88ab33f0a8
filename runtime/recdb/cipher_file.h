#ifndef SALARY_RUNTIME_RECDB_CIPHER_FILE_H_
#define SALARY_RUNTIME_RECDB_CIPHER_FILE_H_

#include <cstdint>
#include <memory>
#include <string>

#include "platform/fs/file_system.h"
#include "runtime/recdb/page_cipher.h"

namespace sr::recdb {

// An open database or companion file. Reads and writes go through the page cipher when the
// database has a password (cipher set), and are plain otherwise.
class CipherFile {
 public:
  CipherFile(std::unique_ptr<fs::File> file, std::shared_ptr<PageCipher> cipher)
      : file_(std::move(file)), cipher_(std::move(cipher)) {}

  // Reads `length` bytes at `offset`; *got is short only at the end of the file.
  int ReadAt(int64_t offset, void* buffer, size_t length, size_t* got);
  // Reads exactly `length` bytes; a short read gives `short_code`.
  int ReadExact(int64_t offset, void* buffer, size_t length, int short_code);
  // Scrambles a copy; `buffer` stays as it was.
  int WriteAt(int64_t offset, const void* buffer, size_t length);
  int WriteAt(int64_t offset, const std::string& bytes) {
    return WriteAt(offset, bytes.data(), bytes.size());
  }
  int Length(int64_t* length) { return file_->Length(length); }
  int Truncate(int64_t length) { return file_->Truncate(length); }
  int Lock(int64_t offset, int64_t length) { return file_->Lock(offset, length); }
  int Unlock(int64_t offset, int64_t length) { return file_->Unlock(offset, length); }

  // The file's bytes as stored, scrambled or not.
  fs::File& raw() { return *file_; }
  const std::shared_ptr<PageCipher>& cipher() const { return cipher_; }
  void set_cipher(std::shared_ptr<PageCipher> cipher) { cipher_ = std::move(cipher); }

 private:
  std::unique_ptr<fs::File> file_;
  std::shared_ptr<PageCipher> cipher_;
};

}  // namespace sr::recdb

#endif  // SALARY_RUNTIME_RECDB_CIPHER_FILE_H_
