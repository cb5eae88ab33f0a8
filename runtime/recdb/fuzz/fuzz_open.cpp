// libFuzzer target: any bytes as a database file (and companion file) must open with a success
// or one of the damaged-file codes, and every field of an opened file must read without a crash.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "runtime/recdb/fuzz/open_and_read.h"

namespace {

const std::string& Folder() {
  static const std::string folder = [] {
    std::string path = "/dev/shm/recdb_fuzz_" + std::to_string(getpid());
    if (access("/dev/shm", W_OK) != 0) path = "/tmp/recdb_fuzz_" + std::to_string(getpid());
    std::string command = "mkdir -p '" + path + "'";
    if (std::system(command.c_str()) != 0) std::abort();
    return path;
  }();
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace sr::recdb::fuzz;
  Outcome outcome = OpenAndReadAll(Folder(), data, size);
  if (outcome.open_code != 0 && !IsExpectedOpenCode(outcome.open_code)) {
    std::fprintf(stderr, "unexpected open code %d\n", outcome.open_code);
    std::abort();
  }
  return 0;
}
