// Built as UTF-8: <thread> brings <chrono>, which has no GBK form. No text literals here.
#include <thread>

#include "runtime/recdb/tests/test_files.h"

namespace sr::test {
namespace {

using LastError = DbTest;

TEST_F(LastError, IsKeptPerThread) {
  EXPECT_EQ(Open("missing.dat"), -3);
  int other = 1;
  std::thread([&] { other = LastDatabaseError(); }).join();
  EXPECT_EQ(other, 0);
  EXPECT_EQ(LastDatabaseError(), -3);
}

}  // namespace
}  // namespace sr::test
