#include "runtime/recdb/rc4.h"

namespace sr::recdb {
namespace {

// One step of the output generator on the table `s`, whose counter i already moved on and
// points at `at` (s + i).
inline uint8_t StepAt(uint8_t* s, uint8_t* at, unsigned& j) {
  const uint8_t x = *at;
  j = (j + x) & 255;
  const uint8_t y = s[j];
  s[j] = x;
  *at = y;
  // After the swap s[i] + s[j] is y + x, also when i == j: adding the registers spares a reload
  // of s[i] that would wait for the store just made.
  return s[(x + y) & 255];
}

}  // namespace

Rc4::Rc4(const uint8_t* key, size_t length) { KeySideBySide<1>({this}, {key}, length); }

template <int N>
void KeySideBySide(const std::array<Rc4*, N>& streams, const std::array<const uint8_t*, N>& keys,
                   size_t length) {
  uint8_t* s[N];
  unsigned j[N];
  for (int n = 0; n < N; ++n) {
    s[n] = streams[n]->s_;
    for (int v = 0; v < 256; ++v) s[n][v] = static_cast<uint8_t>(v);
    j[n] = 0;
    streams[n]->i_ = streams[n]->j_ = 0;
  }
  size_t k = 0;  // v mod length, kept without a division per step
  for (int v = 0; v < 256; ++v) {
    for (int n = 0; n < N; ++n) {
      const uint8_t x = s[n][v];
      j[n] = (j[n] + x + keys[n][k]) & 255;
      s[n][v] = s[n][j[n]];
      s[n][j[n]] = x;
    }
    if (++k == length) k = 0;
  }
}

uint8_t Rc4::Next() {
  uint8_t byte;
  Generate(&byte, 1);
  return byte;
}

void Rc4::Generate(uint8_t* out, size_t length) { GenerateSideBySide<1>({this}, {out}, length); }

void Rc4::Discard(size_t count) {
  uint8_t dropped[64];
  for (; count > sizeof dropped; count -= sizeof dropped) Generate(dropped, sizeof dropped);
  Generate(dropped, count);
}

template <int N>
void GenerateSideBySide(const std::array<Rc4*, N>& streams, const std::array<uint8_t*, N>& out,
                        size_t length) {
  uint8_t* s[N];
  uint8_t* o[N];
  unsigned j[N];
  for (int n = 0; n < N; ++n) {
    s[n] = streams[n]->s_;
    o[n] = out[n];
    j[n] = streams[n]->j_;
  }
  unsigned i = streams[0]->i_;
  size_t done = 0;
  auto single_step = [&] {
    i = (i + 1) & 255;
    for (int n = 0; n < N; ++n) o[n][done] = StepAt(s[n], s[n] + i, j[n]);
    ++done;
  };
  while (done < length && ((i + 1) & 7) != 0) single_step();
  // Eight steps at a time whose i runs from a multiple of 8 without wrapping: s[i] is then a
  // fixed offset from one pointer, which spares the processor three instructions a byte.
  for (; done + 8 <= length; done += 8) {
    const unsigned first = (i + 1) & 255;
    uint8_t* at[N];
    uint8_t* to[N];
    for (int n = 0; n < N; ++n) {
      at[n] = s[n] + first;
      to[n] = o[n] + done;
    }
#pragma GCC unroll 8
    for (int q = 0; q < 8; ++q) {
      for (int n = 0; n < N; ++n) to[n][q] = StepAt(s[n], at[n] + q, j[n]);
    }
    i = first + 7;
  }
  while (done < length) single_step();
  for (int n = 0; n < N; ++n) {
    streams[n]->i_ = static_cast<uint8_t>(i);
    streams[n]->j_ = static_cast<uint8_t>(j[n]);
  }
}

template void KeySideBySide<1>(const std::array<Rc4*, 1>&, const std::array<const uint8_t*, 1>&,
                               size_t);
template void KeySideBySide<2>(const std::array<Rc4*, 2>&, const std::array<const uint8_t*, 2>&,
                               size_t);
template void KeySideBySide<3>(const std::array<Rc4*, 3>&, const std::array<const uint8_t*, 3>&,
                               size_t);
template void GenerateSideBySide<1>(const std::array<Rc4*, 1>&, const std::array<uint8_t*, 1>&,
                                    size_t);
template void GenerateSideBySide<2>(const std::array<Rc4*, 2>&, const std::array<uint8_t*, 2>&,
                                    size_t);
template void GenerateSideBySide<3>(const std::array<Rc4*, 3>&, const std::array<uint8_t*, 3>&,
                                    size_t);

}  // namespace sr::recdb
