#include "runtime/recdb/page_cipher.h"

#include <algorithm>

#include "runtime/recdb/coding.h"
#include "runtime/recdb/md5.h"

namespace sr::recdb {

Text PasswordDigestText(const Text& password) {
  static const char kHex[] = "0123456789abcdef";
  std::array<uint8_t, 16> digest = Md5(password);
  Text text;
  for (int n = 15; n >= 0; --n) {
    text.push_back(kHex[digest[n] >> 4]);
    text.push_back(kHex[digest[n] & 15]);
  }
  return text;
}

PageCipher::PageCipher(const Text& password)
    : password_(password),
      digest_text_(PasswordDigestText(password)),
      master_(reinterpret_cast<const uint8_t*>(password.data()), password.size()) {}

void PageCipher::Apply(int64_t offset, uint8_t* data, size_t length) {
  const int64_t end = offset + static_cast<int64_t>(length);
  for (int64_t p = std::max(offset, kPlainPrefix); p < end;) {
    const int64_t page_start = p / kCipherPageSize * kCipherPageSize;
    const int64_t page_end = page_start + kCipherPageSize;
    const int64_t stop = std::min(end, page_end);
    const uint8_t* key = StreamOf(page_start / kCipherPageSize, end > page_end) + (p - page_start);
    uint8_t* out = data + (p - offset);
    for (int64_t n = 0; n < stop - p; ++n) out[n] ^= key[n];
    p = stop;
  }
}

const uint8_t* PageCipher::StreamOf(int64_t page, bool with_next) {
  if (PageStream* kept = Recent(page)) return kept->bytes.data();
  Rc4 first = Keyed(page);
  uint8_t* first_out = TakeRecent(page).bytes.data();
  if (with_next && Recent(page + 1) == nullptr) {
    Rc4 second = Keyed(page + 1);
    GenerateSideBySide<2>({&first, &second}, {first_out, TakeRecent(page + 1).bytes.data()},
                          kCipherPageSize);
  } else {
    first.Generate(first_out, kCipherPageSize);
  }
  return first_out;
}

PageCipher::PageStream* PageCipher::Recent(int64_t page) {
  for (PageStream& kept : recent_) {
    if (kept.page == page) return &kept;
  }
  return nullptr;
}

PageCipher::PageStream& PageCipher::TakeRecent(int64_t page) {
  PageStream& slot = recent_[next_recent_];
  next_recent_ = (next_recent_ + 1) % kRecentPages;
  slot.page = page;
  return slot;
}

Rc4 PageCipher::Keyed(int64_t page) {
  if (page < static_cast<int64_t>(keyed_.size()) && keyed_[page].has_value()) {
    return *keyed_[page];
  }
  const Rc4 stream = KeyPage(page);
  if (page < kKeyedPagesKept) Keep(page, stream);
  return stream;
}

void PageCipher::Keep(int64_t page, const Rc4& stream) {
  // Grown by doubling as far as the bound and no further (a resize alone could pass it).
  const int64_t capacity = static_cast<int64_t>(keyed_.capacity());
  if (page >= capacity) {
    keyed_.reserve(std::min(kKeyedPagesKept, std::max(page + 1, 2 * capacity)));
  }
  if (page >= static_cast<int64_t>(keyed_.size())) keyed_.resize(page + 1);
  keyed_[page] = stream;
}

Rc4 PageCipher::KeyPage(int64_t page) {
  const int32_t seed = PageSeed(page);
  uint8_t key[40];
  PutI32(key, seed);
  std::copy(digest_text_.begin(), digest_text_.end(), key + 4);
  PutI32(key + 36, seed ^ static_cast<int32_t>(page));
  Rc4 stream(key, sizeof key);
  stream.Discard(36);
  return stream;
}

int32_t PageCipher::PageSeed(int64_t page) {
  const size_t end = static_cast<size_t>(page) * 4 + 4;
  const size_t made = master_bytes_.size();
  if (made < end) {
    master_bytes_.resize(end);
    master_.Generate(master_bytes_.data() + made, end - made);
  }
  return GetI32(master_bytes_.data() + end - 4);
}

}  // namespace sr::recdb
