// Replays the fuzz corpus, and every input with which the fuzzer once found a fault, through
// the fuzz target's own open-and-read, under this build's sanitizers.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "runtime/recdb/fuzz/open_and_read.h"

namespace sr::recdb::fuzz {
namespace {

namespace fsys = std::filesystem;

std::vector<fsys::path> InputsIn(const char* folder) {
  std::vector<fsys::path> inputs;
  if (!fsys::exists(folder)) return inputs;
  for (const auto& entry : fsys::directory_iterator(folder)) {
    if (entry.is_regular_file() && entry.path().filename().string()[0] != '.') {
      inputs.push_back(entry.path());
    }
  }
  std::sort(inputs.begin(), inputs.end());
  return inputs;
}

class CorpusReplayTest : public ::testing::Test {
 protected:
  Outcome Replay(const fsys::path& input) {
    std::ifstream in(input, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    const std::string data = bytes.str();
    return OpenAndReadAll(reinterpret_cast<const uint8_t*>(data.data()), data.size());
  }
};

TEST_F(CorpusReplayTest, EveryKeptInputOpensOrFailsWithADamagedFileCode) {
  const auto inputs = InputsIn(SR_FUZZ_CORPUS_DIR);
  ASSERT_GE(inputs.size(), 10u) << "the corpus is missing";
  int opened = 0;
  for (const auto& input : inputs) {
    Outcome outcome = Replay(input);
    if (outcome.open_code == 0) {
      ++opened;
    } else {
      EXPECT_TRUE(IsExpectedOpenCode(outcome.open_code))
          << input.filename() << " gave " << outcome.open_code;
    }
  }
  // The corpus keeps both sides: files that open (and are read) and files that are refused.
  EXPECT_GT(opened, 0);
  EXPECT_LT(opened, static_cast<int>(inputs.size()));
}

TEST_F(CorpusReplayTest, SeedsGiveTheirKnownOutcomes) {
  const fsys::path corpus = SR_FUZZ_CORPUS_DIR;
  struct Expected {
    const char* name;
    int code;
    int records;
  };
  for (const Expected& e : {Expected{"seed_every_type", 0, 3}, Expected{"seed_protected", 0, 3},
                            Expected{"seed_short_read_only", -48, 0},
                            Expected{"seed_short_repaired", 0, 2},
                            Expected{"seed_companion_short", -37, 0},
                            Expected{"seed_companion_missing", -35, 0},
                            Expected{"seed_version_too_high", -23, 0},
                            Expected{"seed_protected_no_password", -78, 0},
                            Expected{"seed_tax_table", 0, 9}, Expected{"seed_minimal", 0, 0}}) {
    Outcome outcome = Replay(corpus / e.name);
    EXPECT_EQ(outcome.open_code, e.code) << e.name;
    EXPECT_EQ(outcome.records, e.records) << e.name;
    EXPECT_EQ(outcome.read_failures, 0) << e.name;
  }
}

TEST_F(CorpusReplayTest, InputsThatOnceFoundAFaultNowPass) {
  for (const auto& input : InputsIn(SR_FUZZ_CRASH_DIR)) {
    Outcome outcome = Replay(input);
    EXPECT_TRUE(outcome.open_code == 0 || IsExpectedOpenCode(outcome.open_code))
        << input.filename() << " gave " << outcome.open_code;
  }
}

}  // namespace
}  // namespace sr::recdb::fuzz
