// libFuzzer target: any bytes as a database file (and companion file) must open with a success
// or one of the damaged-file codes, and every field of an opened file must read without a crash.
// The files lie on a disk in memory, so no input touches the real one.
#include <cstdio>
#include <cstdlib>

#include "runtime/recdb/fuzz/open_and_read.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace sr::recdb::fuzz;
  Outcome outcome = OpenAndReadAll(data, size);
  if (outcome.open_code != 0 && !IsExpectedOpenCode(outcome.open_code)) {
    std::fprintf(stderr, "unexpected open code %d\n", outcome.open_code);
    std::abort();
  }
  return 0;
}
