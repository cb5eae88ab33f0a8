#ifndef SALARY_RUNTIME_RECDB_FUZZ_OPEN_AND_READ_H_
#define SALARY_RUNTIME_RECDB_FUZZ_OPEN_AND_READ_H_

#include <cstddef>
#include <cstdint>
#include <string>

// The fuzz target's work, shared with the test that replays the kept corpus: lay an input out
// as a database file (and maybe a companion file), open it, and read every field of every record.
namespace sr::recdb::fuzz {

// An input is: one flags byte (bit 0 opens read-only, bit 1 supplies the password
// kFuzzPassword, bit 2 opens in share mode 4), a 16-bit little-endian length L, L bytes of the
// companion file (none is written when L is 0), and the rest as the database file. Shorter
// inputs are padded with zeros.
inline constexpr char kFuzzPassword[] = "kpm4825031";

struct Outcome {
  int open_code = 0;     // 0 or the open's database error code
  int records = 0;       // records read when the open succeeded
  int read_failures = 0; // field reads that set an error code
};

// Builds an input from its parts (for seeds and tests).
std::string MakeInput(uint8_t flags, const std::string& companion, const std::string& database);

// Lays the files out on a fresh disk in memory, opens and reads them, and closes them.
Outcome OpenAndReadAll(const uint8_t* data, size_t size);

// The codes an open may give for a damaged file: -22, -23, -35, -36, -37, -48, -78.
bool IsExpectedOpenCode(int code);

}  // namespace sr::recdb::fuzz

#endif  // SALARY_RUNTIME_RECDB_FUZZ_OPEN_AND_READ_H_
