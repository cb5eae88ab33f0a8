#ifndef SALARY_RUNTIME_RECDB_MD5_H_
#define SALARY_RUNTIME_RECDB_MD5_H_

#include <array>
#include <cstdint>
#include <string>

namespace sr::recdb {

// The MD5 message digest (RFC 1321) of `data`.
std::array<uint8_t, 16> Md5(const std::string& data);

}  // namespace sr::recdb

#endif  // SALARY_RUNTIME_RECDB_MD5_H_
