#ifndef SALARY_RUNTIME_RECDB_RC4_H_
#define SALARY_RUNTIME_RECDB_RC4_H_

#include <array>
#include <cstddef>
#include <cstdint>

namespace sr::recdb {

// One RC4 stream (standard key schedule and output generator). A plain value: a copy goes on
// from where the original stood, which is how the page cipher keeps keyed pages.
class Rc4 {
 public:
  // REQUIRES: length > 0. A key longer than 256 bytes uses only its first 256 bytes.
  Rc4(const uint8_t* key, size_t length);
  // A stream not keyed yet, for KeySideBySide to key.
  Rc4() = default;

  uint8_t Next();
  // Writes the next `length` bytes of the stream to `out`.
  void Generate(uint8_t* out, size_t length);
  void Discard(size_t count);

 private:
  template <int N>
  friend void KeySideBySide(const std::array<Rc4*, N>& streams,
                            const std::array<const uint8_t*, N>& keys, size_t length);
  template <int N>
  friend void GenerateSideBySide(const std::array<Rc4*, N>& streams,
                                 const std::array<uint8_t*, N>& out, size_t length);

  uint8_t s_[256];
  uint8_t i_ = 0;
  uint8_t j_ = 0;
};

// Keys N streams at once, each with its own key of `length` bytes: the same as N constructors,
// with the steps of the N schedules interleaved so that they fill each other's waits.
// REQUIRES: length > 0, N is 1 to 3.
template <int N>
void KeySideBySide(const std::array<Rc4*, N>& streams, const std::array<const uint8_t*, N>& keys,
                   size_t length);

// Writes the next `length` bytes of streams[n] to out[n] for N streams at once. One stream's
// steps wait on each other through its table; streams interleaved fill each other's gaps, so
// three pages of the page cipher cost about 85% of three single streams. N is 1 to 3.
// REQUIRES: every stream has taken the same number of steps.
template <int N>
void GenerateSideBySide(const std::array<Rc4*, N>& streams, const std::array<uint8_t*, N>& out,
                        size_t length);

}  // namespace sr::recdb

#endif  // SALARY_RUNTIME_RECDB_RC4_H_
