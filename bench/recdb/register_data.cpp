#include "bench/recdb/register_data.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <random>

namespace sr::bench {

std::vector<RegisterRow> MakeRows(int count) {
  std::mt19937 random(4825031);
  std::uniform_int_distribution<int> letter(0, 25);
  std::uniform_real_distribution<double> amount(0, 20000);
  std::vector<RegisterRow> rows(count);
  for (int i = 0; i < count; ++i) {
    RegisterRow& row = rows[i];
    row.id = std::to_string(100000 + i);
    for (int c = 0; c < 8; ++c) row.name += static_cast<char>('a' + letter(random));
    for (double& value : row.amounts) value = static_cast<int64_t>(amount(random) * 100) / 100.0;
    row.remark = "remark " + std::to_string(i);
  }
  return rows;
}

std::string BenchFolder() {
  static const std::string folder = [] {
    auto path = std::filesystem::temp_directory_path() /
                ("recdb_bench_" + std::to_string(getpid()));
    std::filesystem::create_directories(path);
    static const std::string kept = path.string();
    std::atexit([] { std::filesystem::remove_all(kept); });
    return path.string();
  }();
  return folder;
}

}  // namespace sr::bench
