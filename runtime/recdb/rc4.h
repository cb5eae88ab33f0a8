#ifndef SALARY_RUNTIME_RECDB_RC4_H_
#define SALARY_RUNTIME_RECDB_RC4_H_

#include <array>
#include <cstddef>
#include <cstdint>

namespace sr::recdb {

// The table and counters of one RC4 stream: enough to go on with it later.
struct Rc4State {
  uint8_t s[256];
  uint8_t i = 0;
  uint8_t j = 0;
};

// `N` independent RC4 streams (standard key schedule and output generator) that run side by
// side. One stream's steps wait on each other through its table; two streams interleaved fill
// each other's gaps, so two pages of the page cipher cost about two thirds of two single streams.
template <int N>
class Rc4Streams {
 public:
  // Keys stream n with the `length` bytes at keys[n].
  // REQUIRES: length > 0. A key longer than 256 bytes uses only its first 256 bytes.
  Rc4Streams(const std::array<const uint8_t*, N>& keys, size_t length);
  // Goes on with saved streams.
  // REQUIRES: every state has taken the same number of steps (the same i).
  explicit Rc4Streams(const std::array<const Rc4State*, N>& states);

  // Writes the next `length` bytes of stream n to out[n]: the bytes that `length` steps of the
  // output generator give.
  void Generate(const std::array<uint8_t*, N>& out, size_t length);

  const Rc4State& state(int n) const { return state_[n]; }

 protected:
  Rc4State state_[N];  // all with the same i: the streams always take the same number of steps
};

// One RC4 stream, also byte by byte.
class Rc4 : public Rc4Streams<1> {
 public:
  // REQUIRES: length > 0. A key longer than 256 bytes uses only its first 256 bytes.
  Rc4(const uint8_t* key, size_t length) : Rc4Streams<1>({key}, length) {}

  uint8_t Next();
  void Generate(uint8_t* out, size_t length) { Rc4Streams<1>::Generate({out}, length); }
  void Discard(size_t count);
};

}  // namespace sr::recdb

#endif  // SALARY_RUNTIME_RECDB_RC4_H_
