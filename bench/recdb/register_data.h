#ifndef SALARY_BENCH_RECDB_REGISTER_DATA_H_
#define SALARY_BENCH_RECDB_REGISTER_DATA_H_

#include <cstdint>
#include <string>
#include <vector>

#include "base/value.h"

// The rows the benchmarks write: the register's 22 fields (text at 1, 2 and 22, double at 3 to
// 21), the same values for the record database and for SQLite.
namespace sr::bench {

inline constexpr int kRegisterFields = 22;

struct RegisterRow {
  std::string id;       // field 1, width 20
  std::string name;     // field 2, width 20
  double amounts[19];   // fields 3 to 21
  std::string remark;   // field 22, width 100
};

// `count` rows from a fixed seed; names are random so that a sort has work to do.
std::vector<RegisterRow> MakeRows(int count);

// A folder of its own under the temporary folder, emptied at exit.
std::string BenchFolder();

}  // namespace sr::bench

#endif  // SALARY_BENCH_RECDB_REGISTER_DATA_H_
