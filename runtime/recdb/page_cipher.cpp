#include "runtime/recdb/page_cipher.h"

#include <algorithm>
#include <utility>

#include "runtime/recdb/coding.h"
#include "runtime/recdb/md5.h"

namespace sr::recdb {

Rc4::Rc4(const uint8_t* key, size_t length) {
  for (int n = 0; n < 256; ++n) s_[n] = static_cast<uint8_t>(n);
  uint8_t j = 0;
  for (int n = 0; n < 256; ++n) {
    j = static_cast<uint8_t>(j + s_[n] + key[n % length]);
    std::swap(s_[n], s_[j]);
  }
}

uint8_t Rc4::Next() {
  i_ = static_cast<uint8_t>(i_ + 1);
  j_ = static_cast<uint8_t>(j_ + s_[i_]);
  std::swap(s_[i_], s_[j_]);
  return s_[static_cast<uint8_t>(s_[i_] + s_[j_])];
}

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

int32_t PageCipher::PageSeed(int64_t page) {
  size_t end = static_cast<size_t>(page) * 4 + 4;
  while (master_bytes_.size() < end) master_bytes_.push_back(master_.Next());
  return GetI32(master_bytes_.data() + end - 4);
}

const PageCipher::PageStream& PageCipher::StreamOf(int64_t page) {
  for (const PageStream& cached : pages_) {
    if (cached.page == page) return cached;
  }
  int32_t seed = PageSeed(page);
  uint8_t key[40];
  PutI32(key, seed);
  std::copy(digest_text_.begin(), digest_text_.end(), key + 4);
  PutI32(key + 36, seed ^ static_cast<int32_t>(page));
  Rc4 stream(key, sizeof key);
  stream.Discard(36);
  PageStream& slot = pages_[next_slot_];
  next_slot_ = (next_slot_ + 1) % kCachedPages;
  slot.page = page;
  for (uint8_t& byte : slot.bytes) byte = stream.Next();
  return slot;
}

void PageCipher::Apply(int64_t offset, uint8_t* data, size_t length) {
  int64_t end = offset + static_cast<int64_t>(length);
  int64_t p = std::max(offset, kPlainPrefix);
  while (p < end) {
    int64_t page = p / kCipherPageSize;
    int64_t page_end = std::min(end, (page + 1) * kCipherPageSize);
    const PageStream& stream = StreamOf(page);
    for (int64_t q = p; q < page_end; ++q) {
      data[q - offset] ^= stream.bytes[q - page * kCipherPageSize];
    }
    p = page_end;
  }
}

}  // namespace sr::recdb
