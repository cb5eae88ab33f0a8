#ifndef SALARY_RUNTIME_RECDB_CODING_H_
#define SALARY_RUNTIME_RECDB_CODING_H_

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>

// Little-endian encoding of the integers and IEEE doubles stored in database files. The bytes
// are assembled one by one so the layout never depends on the host or on struct padding; on a
// little-endian host that is a plain copy, which the 32- and 64-bit helpers make directly
// (a year's ledger decodes over a million of them).
namespace sr::recdb {

inline constexpr bool kLittleEndianHost = std::endian::native == std::endian::little;

inline void PutU16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
inline void PutU32(uint8_t* p, uint32_t v) {
  if constexpr (kLittleEndianHost) {
    std::memcpy(p, &v, 4);
  } else {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
  }
}
inline void PutU64(uint8_t* p, uint64_t v) {
  if constexpr (kLittleEndianHost) {
    std::memcpy(p, &v, 8);
  } else {
    for (int i = 0; i < 8; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
  }
}
inline void PutI32(uint8_t* p, int32_t v) { PutU32(p, static_cast<uint32_t>(v)); }
inline void PutI64(uint8_t* p, int64_t v) { PutU64(p, static_cast<uint64_t>(v)); }
inline void PutDouble(uint8_t* p, double v) {
  uint64_t bits;
  std::memcpy(&bits, &v, 8);
  PutU64(p, bits);
}
inline void PutFloat(uint8_t* p, float v) {
  uint32_t bits;
  std::memcpy(&bits, &v, 4);
  PutU32(p, bits);
}

inline uint16_t GetU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint32_t GetU32(const uint8_t* p) {
  uint32_t v = 0;
  if constexpr (kLittleEndianHost) {
    std::memcpy(&v, p, 4);
  } else {
    for (int i = 3; i >= 0; --i) v = (v << 8) | p[i];
  }
  return v;
}
inline uint64_t GetU64(const uint8_t* p) {
  uint64_t v = 0;
  if constexpr (kLittleEndianHost) {
    std::memcpy(&v, p, 8);
  } else {
    for (int i = 7; i >= 0; --i) v = (v << 8) | p[i];
  }
  return v;
}
inline int32_t GetI32(const uint8_t* p) { return static_cast<int32_t>(GetU32(p)); }
inline int64_t GetI64(const uint8_t* p) { return static_cast<int64_t>(GetU64(p)); }
inline double GetDouble(const uint8_t* p) {
  uint64_t bits = GetU64(p);
  double v;
  std::memcpy(&v, &bits, 8);
  return v;
}
inline float GetFloat(const uint8_t* p) {
  uint32_t bits = GetU32(p);
  float v;
  std::memcpy(&v, &bits, 4);
  return v;
}

// The same helpers on byte strings, for code that builds records in a std::string.
inline uint8_t* Raw(std::string& s) { return reinterpret_cast<uint8_t*>(s.data()); }
inline const uint8_t* Raw(const std::string& s) {
  return reinterpret_cast<const uint8_t*>(s.data());
}

}  // namespace sr::recdb

#endif  // SALARY_RUNTIME_RECDB_CODING_H_
