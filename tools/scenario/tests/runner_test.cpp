// The scenario runner against the real program: it must fail, and stop, at the first unmet
// expectation, or a green scenario would prove nothing.
#include "tools/scenario/runner.h"

#include <gtest/gtest.h>

#include <sstream>

#include "platform/fs/real_file_system.h"
#include "tools/scenario/script.h"

namespace sr::scenario {
namespace {

struct Outcome {
  int code;
  std::string transcript;
};

Outcome RunScript(const char8_t* utf8) {
  std::vector<Line> lines;
  std::string error;
  EXPECT_TRUE(ParseScript(reinterpret_cast<const char*>(utf8), &lines, &error)) << error;
  std::ostringstream out;
  Runner runner(fs::RealFileSystem(), out);
  int code = runner.Run(lines);
  return {code, out.str()};
}

TEST(ScenarioRunner, MetExpectationsPassAndTheTranscriptShowsTheScreen) {
  Outcome o = RunScript(u8"expect title 新建\nresize 900 400\nexpect size 高级表格1 888 300\n");
  EXPECT_EQ(o.code, 0) << o.transcript;
  EXPECT_NE(o.transcript.find(reinterpret_cast<const char*>(u8"caption: \"新建\"")),
            std::string::npos);
  EXPECT_NE(o.transcript.find("> resize 900 400"), std::string::npos);
}

TEST(ScenarioRunner, FirstUnmetExpectationFailsAndStopsTheScript) {
  Outcome o = RunScript(u8"expect title 新建\nexpect rows 5000\nexpect title x\n");
  EXPECT_EQ(o.code, 1);
  EXPECT_NE(o.transcript.find("FAILED line 2: row count: expected \"5000\", got \"5001\""),
            std::string::npos)
      << o.transcript;
  EXPECT_EQ(o.transcript.find("expect title x"), std::string::npos);
}

TEST(ScenarioRunner, ActionsAfterTheProgramEndedFail) {
  Outcome o = RunScript(u8"toolbar 退出\nexpect exit 0\ntoolbar 1\n");
  EXPECT_EQ(o.code, 1);
  EXPECT_NE(o.transcript.find("FAILED line 3: the program has ended"), std::string::npos)
      << o.transcript;
}

TEST(ScenarioRunner, UnknownWordsAndMissingTargetsFail) {
  EXPECT_EQ(RunScript(u8"jump 3\n").code, 1);
  EXPECT_EQ(RunScript(u8"expect colour red\n").code, 1);
  EXPECT_EQ(RunScript(u8"menu 文件 打印\n").code, 1);
  EXPECT_EQ(RunScript(u8"expect enabled toolbar 2 yes\n").code, 1);  // a separator
  EXPECT_EQ(RunScript(u8"click 5001 0\n").code, 1);
}

}  // namespace
}  // namespace sr::scenario
