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
    const int64_t stop = std::min(end, page_start + kCipherPageSize);
    const int64_t span_pages = (end - page_start + kCipherPageSize - 1) / kCipherPageSize;
    const uint8_t* key = StreamOf(page_start / kCipherPageSize, span_pages) + (p - page_start);
    uint8_t* out = data + (p - offset);
    for (int64_t n = 0; n < stop - p; ++n) out[n] ^= key[n];
    p = stop;
  }
}

namespace {

// Calls run.operator()<N>() for N = count, 1 to kSideBySide: the side-by-side RC4 functions
// take their number of streams as a template argument.
template <class Run>
void WithCount(int count, Run run) {
  static_assert(PageCipher::kSideBySide == 3);
  if (count == 1) {
    run.template operator()<1>();
  } else if (count == 2) {
    run.template operator()<2>();
  } else {
    run.template operator()<3>();
  }
}

template <int N, class T>
std::array<T, N> FirstOf(T const* items) {
  std::array<T, N> first;
  std::copy(items, items + N, first.begin());
  return first;
}

}  // namespace

const uint8_t* PageCipher::StreamOf(int64_t page, int64_t span_pages) {
  if (PageStream* kept = Recent(page)) return kept->bytes.data();
  int count = 1;
  while (count < kSideBySide && count < span_pages && Recent(page + count) == nullptr) ++count;
  Rc4 streams[kSideBySide];
  KeyedPages(page, count, streams);
  Rc4* stream_of[kSideBySide];
  uint8_t* out[kSideBySide];
  for (int n = 0; n < count; ++n) {
    stream_of[n] = &streams[n];
    out[n] = TakeRecent(page + n).bytes.data();
  }
  WithCount(count, [&]<int N>() {
    GenerateSideBySide<N>(FirstOf<N>(stream_of), FirstOf<N>(out), kCipherPageSize);
  });
  return out[0];
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

void PageCipher::KeyedPages(int64_t first, int count, Rc4* streams) {
  Rc4* fresh[kSideBySide];
  int64_t fresh_pages[kSideBySide];
  int fresh_count = 0;
  for (int n = 0; n < count; ++n) {
    const int64_t page = first + n;
    if (page < static_cast<int64_t>(keyed_.size()) && keyed_[page].has_value()) {
      streams[n] = *keyed_[page];
    } else {
      fresh[fresh_count] = &streams[n];
      fresh_pages[fresh_count++] = page;
    }
  }
  if (fresh_count == 0) return;
  KeyPages(fresh_pages, fresh_count, fresh);
  for (int n = 0; n < fresh_count; ++n) {
    if (fresh_pages[n] < kKeyedPagesKept) Keep(fresh_pages[n], *fresh[n]);
  }
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

void PageCipher::KeyPages(const int64_t* pages, int count, Rc4** streams) {
  uint8_t keys[kSideBySide][40];
  const uint8_t* key_of[kSideBySide];
  for (int n = 0; n < count; ++n) {
    const int32_t seed = PageSeed(pages[n]);
    PutI32(keys[n], seed);
    std::copy(digest_text_.begin(), digest_text_.end(), keys[n] + 4);
    PutI32(keys[n] + 36, seed ^ static_cast<int32_t>(pages[n]));
    key_of[n] = keys[n];
  }
  uint8_t dropped[kSideBySide][36];
  uint8_t* dropped_of[kSideBySide] = {dropped[0], dropped[1], dropped[2]};
  WithCount(count, [&]<int N>() {
    KeySideBySide<N>(FirstOf<N>(streams), FirstOf<N>(key_of), sizeof keys[0]);
    GenerateSideBySide<N>(FirstOf<N>(streams), FirstOf<N>(dropped_of), sizeof dropped[0]);
  });
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
