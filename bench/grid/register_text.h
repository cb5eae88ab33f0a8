#ifndef SALARY_BENCH_GRID_REGISTER_TEXT_H_
#define SALARY_BENCH_GRID_REGISTER_TEXT_H_

#include <string>

#include "base/value.h"

namespace sr {

// The register grid at its working size: 5001 rows (one title row, 5000 people) x 22 columns.
constexpr int kRegisterRows = 5001;
constexpr int kRegisterColumns = 22;

// One person per line, 22 TAB-separated fields as a spreadsheet would hand them over.
inline Text RegisterText(int people) {
  Text text;
  for (int p = 1; p <= people; ++p) {
    text += "张";
    text += std::to_string(p);
    text += '\t';
    text += std::to_string(100000 + p);
    for (int c = 2; c < kRegisterColumns - 1; ++c) {
      text += '\t';
      text += std::to_string(p % 97 * 13.25 + c);
    }
    text += "\t备注\n";
  }
  return text;
}

}  // namespace sr

#endif  // SALARY_BENCH_GRID_REGISTER_TEXT_H_
