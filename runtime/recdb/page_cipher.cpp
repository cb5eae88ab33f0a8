#include "runtime/recdb/page_cipher.h"

#include <algorithm>
#include <utility>

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

int32_t PageCipher::PageSeed(int64_t page) {
  const size_t end = static_cast<size_t>(page) * 4 + 4;
  const size_t made = master_bytes_.size();
  if (made < end) {
    master_bytes_.resize(end);
    master_.Generate(master_bytes_.data() + made, end - made);
  }
  return GetI32(master_bytes_.data() + end - 4);
}

PageCipher::PageStream* PageCipher::Find(int64_t page) {
  for (PageStream& kept : pages_) {
    if (kept.page == page) return &kept;
  }
  return nullptr;
}

PageCipher::PageStream& PageCipher::TakeSlot() {
  PageStream& slot = pages_[next_slot_];
  next_slot_ = (next_slot_ + 1) % kCachedPages;
  return slot;
}

// Keys the page streams of the N pages from `first_page` on and drops their first bytes.
template <int N>
void PageCipher::KeyPages(int64_t first_page, Rc4State* states) {
  constexpr size_t kKeySize = 40;
  constexpr size_t kDropped = 36;
  uint8_t keys[N][kKeySize];
  std::array<const uint8_t*, N> key_of;
  uint8_t dropped[N][kDropped];
  std::array<uint8_t*, N> dropped_of;
  for (int n = 0; n < N; ++n) {
    const int64_t page = first_page + n;
    const int32_t seed = PageSeed(page);
    PutI32(keys[n], seed);
    std::copy(digest_text_.begin(), digest_text_.end(), keys[n] + 4);
    PutI32(keys[n] + 36, seed ^ static_cast<int32_t>(page));
    key_of[n] = keys[n];
    dropped_of[n] = dropped[n];
  }
  Rc4Streams<N> streams(key_of, kKeySize);
  streams.Generate(dropped_of, kDropped);
  for (int n = 0; n < N; ++n) states[n] = streams.state(n);
}

template <int N>
void PageCipher::KeyedStates(int64_t first_page, std::array<Rc4State, N>* states) {
  bool kept[N];
  bool any_kept = false;
  for (int n = 0; n < N; ++n) {
    const int64_t page = first_page + n;
    kept[n] = page < static_cast<int64_t>(keyed_.size()) && keyed_[page].has_value();
    if (kept[n]) (*states)[n] = *keyed_[page];
    any_kept = any_kept || kept[n];
  }
  if (!any_kept) {
    KeyPages<N>(first_page, states->data());
  } else {
    for (int n = 0; n < N; ++n) {
      if (!kept[n]) KeyPages<1>(first_page + n, &(*states)[n]);
    }
  }
  for (int n = 0; n < N; ++n) {
    if (!kept[n]) KeepKeyed(first_page + n, (*states)[n]);
  }
}

void PageCipher::KeepKeyed(int64_t page, const Rc4State& state) {
  if (page >= kKeyedPagesKept) return;
  if (page >= static_cast<int64_t>(keyed_.capacity())) {
    // Grown by doubling, as far as the bound and no further.
    const int64_t doubled = 2 * static_cast<int64_t>(keyed_.capacity());
    keyed_.reserve(std::min(kKeyedPagesKept, std::max(page + 1, doubled)));
  }
  if (page >= static_cast<int64_t>(keyed_.size())) keyed_.resize(page + 1);
  keyed_[page] = state;
}

// Makes the key streams of the N pages from `first_page` on into `slots`.
template <int N>
void PageCipher::MakeStreams(const std::array<PageStream*, N>& slots, int64_t first_page) {
  std::array<Rc4State, N> states;
  KeyedStates<N>(first_page, &states);
  std::array<const Rc4State*, N> from;
  std::array<uint8_t*, N> out;
  for (int n = 0; n < N; ++n) {
    from[n] = &states[n];
    out[n] = slots[n]->bytes.data();
    slots[n]->page = first_page + n;
  }
  Rc4Streams<N> streams(from);
  streams.Generate(out, kCipherPageSize);
}

const uint8_t* PageCipher::StreamOf(int64_t page, bool next_too) {
  if (PageStream* kept = Find(page)) return kept->bytes.data();
  const bool pair = next_too && Find(page + 1) == nullptr;
  PageStream& first = TakeSlot();
  if (pair) {
    MakeStreams<2>({&first, &TakeSlot()}, page);
  } else {
    MakeStreams<1>({&first}, page);
  }
  return first.bytes.data();
}

void PageCipher::Apply(int64_t offset, uint8_t* data, size_t length) {
  const int64_t end = offset + static_cast<int64_t>(length);
  int64_t p = std::max(offset, kPlainPrefix);
  while (p < end) {
    const int64_t page = p / kCipherPageSize;
    const int64_t page_start = page * kCipherPageSize;
    const int64_t page_end = std::min(end, page_start + kCipherPageSize);
    const uint8_t* stream = StreamOf(page, end > page_start + kCipherPageSize);
    uint8_t* out = data + (p - offset);
    const uint8_t* key = stream + (p - page_start);
    for (int64_t n = 0; n < page_end - p; ++n) out[n] ^= key[n];
    p = page_end;
  }
}

}  // namespace sr::recdb
