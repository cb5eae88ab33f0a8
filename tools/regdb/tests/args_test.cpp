#include "tools/regdb/args.h"

#include <gtest/gtest.h>

namespace sr::regdb {
namespace {

const OptionSpec kSortSpec{{"key", "password"}, {"desc"}};

TEST(ArgsTest, SplitsPositionalsRepeatedOptionsAndFlags) {
  Args args;
  std::string error;
  ASSERT_TRUE(ParseArgs({"in.dat", "--key", "姓名", "out.dat", "--key=编号", "--desc"}, kSortSpec,
                        &args, &error))
      << error;
  EXPECT_EQ(args.positional, (std::vector<std::string>{"in.dat", "out.dat"}));
  EXPECT_EQ(args.All("key"), (std::vector<std::string>{"姓名", "编号"}));
  EXPECT_TRUE(args.Has("desc"));
  EXPECT_EQ(args.Last("password", "none"), "none");
  EXPECT_TRUE(args.All("password").empty());
}

TEST(ArgsTest, DoubleDashEndsOptionsAndEmptyValuesAreKept) {
  Args args;
  std::string error;
  ASSERT_TRUE(ParseArgs({"--password=", "--", "--desc", "-"}, kSortSpec, &args, &error));
  EXPECT_EQ(args.Last("password", "x"), "");
  EXPECT_FALSE(args.Has("desc"));
  EXPECT_EQ(args.positional, (std::vector<std::string>{"--desc", "-"}));
}

TEST(ArgsTest, RefusesUnknownOptionsMissingValuesAndValuedFlags) {
  Args args;
  std::string error;
  EXPECT_FALSE(ParseArgs({"f", "--repair"}, kSortSpec, &args, &error));
  EXPECT_EQ(error, "unknown option --repair");
  EXPECT_FALSE(ParseArgs({"f", "--key"}, kSortSpec, &args, &error));
  EXPECT_EQ(error, "option --key needs a value");
  EXPECT_FALSE(ParseArgs({"--desc=yes"}, kSortSpec, &args, &error));
  EXPECT_EQ(error, "option --desc takes no value");
}

}  // namespace
}  // namespace sr::regdb
