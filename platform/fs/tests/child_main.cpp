// The main of a test program whose tests start second processes: a process started to play a
// role plays it and ends; the test program itself runs the tests.
#include <gtest/gtest.h>

#include "platform/fs/tests/child_process.h"

int main(int argc, char** argv) {
  int status = 0;
  if (sr::fs::ChildProcess::RunChildRoleIfAsked(argc, argv, &status)) return status;
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
