#ifndef SALARY_RUNTIME_RECDB_PAGE_CIPHER_H_
#define SALARY_RUNTIME_RECDB_PAGE_CIPHER_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "base/value.h"
#include "runtime/recdb/rc4.h"

namespace sr::recdb {

// The 32 lower-case hexadecimal digits of the password's MD5 digest, last digest byte first.
Text PasswordDigestText(const Text& password);

inline constexpr int64_t kCipherPageSize = 4096;
inline constexpr int64_t kPlainPrefix = 4;

// Scrambles and unscrambles spans of a protected file; both directions are the same XOR.
//
// Every byte at offset p >= 4 is XORed with byte 36 + (p mod 4096) of an RC4 stream keyed by the
// page seed, the digest text and the seed XOR the page number; the seed of page k is the int32 at
// bytes 4k..4k+3 of the RC4 stream of the password.
//
// A cipher belongs to one open database (its file and companion file). What it keeps follows from
// its password and the page numbers alone, never from a file's bytes, so it cannot go stale:
// - the master stream up to the highest page touched, 4 bytes a page;
// - the page streams of the first 4096 pages (16 MiB of file) keyed and past their dropped bytes,
//   259 bytes a page, at most about 1 MiB: a page read again skips its key schedule;
// - the key streams of the last 4 pages made (16 KiB), for reads of a few bytes within a page.
// Not safe for use from two threads at once: Apply changes what is kept.
class PageCipher {
 public:
  // REQUIRES: password is not empty.
  explicit PageCipher(const Text& password);

  const Text& password() const { return password_; }
  const Text& digest_text() const { return digest_text_; }

  // Applies the cipher in place to the `length` bytes that sit at file offset `offset`.
  void Apply(int64_t offset, uint8_t* data, size_t length);

  // Pages of a long span are keyed and made this many at a time, side by side.
  static constexpr int kSideBySide = 3;

 private:
  static constexpr int kRecentPages = 4;
  static constexpr int64_t kKeyedPagesKept = 4096;
  struct PageStream {
    int64_t page = -1;
    std::array<uint8_t, kCipherPageSize> bytes;
  };

  // The key stream of `page`. A page made now is made together with the next ones of the span
  // (`span_pages` from this one on) that are not at hand, up to kSideBySide in all.
  const uint8_t* StreamOf(int64_t page, int64_t span_pages);
  PageStream* Recent(int64_t page);
  PageStream& TakeRecent(int64_t page);
  // The page streams of pages first .. first + count - 1 keyed and past their dropped bytes,
  // into streams[0 .. count - 1]; kept for the first pages.
  void KeyedPages(int64_t first, int count, Rc4* streams);
  void Keep(int64_t page, const Rc4& stream);
  // Keys the `count` pages pages[n] into *streams[n], side by side.
  void KeyPages(const int64_t* pages, int count, Rc4** streams);
  int32_t PageSeed(int64_t page);

  Text password_;
  Text digest_text_;
  Rc4 master_;
  std::vector<uint8_t> master_bytes_;
  PageStream recent_[kRecentPages];
  int next_recent_ = 0;
  std::vector<std::optional<Rc4>> keyed_;  // by page, below kKeyedPagesKept
};

}  // namespace sr::recdb

#endif  // SALARY_RUNTIME_RECDB_PAGE_CIPHER_H_
