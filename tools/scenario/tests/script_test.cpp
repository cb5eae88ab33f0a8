// Scenario scripts: words, quotes, comments, blocks, captions.
#include "tools/scenario/script.h"

#include <gtest/gtest.h>

#include "base/gbk.h"
#include "tools/scenario/captions.h"

namespace sr::scenario {
namespace {

Text G(const char8_t* utf8) { return FromUtf8(reinterpret_cast<const char*>(utf8)); }

TEST(ScenarioScript, QuotesKeepSpacesAndEscapesAndCommentsEndTheLine) {
  std::vector<std::string> words;
  ASSERT_TRUE(SplitWords(R"(expect message " a\"b\\ \r\n"  t # not a comment)", &words));
  EXPECT_EQ(words, (std::vector<std::string>{"expect", "message", " a\"b\\ \r\n", "t", "#", "not",
                                             "a", "comment"}));
  EXPECT_FALSE(SplitWords("type \"open", &words));

  std::vector<Line> lines;
  std::string error;
  ASSERT_TRUE(ParseScript("# heading\n\nkey Ctrl+S # save\r\ntype \"#1\"\n", &lines, &error));
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].number, 3);
  EXPECT_EQ(lines[0].words, (std::vector<Text>{"key", "Ctrl+S"}));
  EXPECT_EQ(lines[1].words, (std::vector<Text>{"type", "#1"}));
}

TEST(ScenarioScript, ModalBlocksNestAndMustBeClosed) {
  std::vector<Line> lines;
  std::string error;
  ASSERT_TRUE(
      ParseScript("modal\n press a\n modal\n  close\n end\nend\ntoolbar 19\n", &lines, &error))
      << error;
  ASSERT_EQ(lines.size(), 2u);
  ASSERT_EQ(lines[0].block.size(), 2u);
  EXPECT_EQ(lines[0].block[1].block.size(), 1u);
  EXPECT_EQ(lines[1].words[0], "toolbar");

  EXPECT_FALSE(ParseScript("modal\nclose\n", &lines, &error));
  EXPECT_EQ(error, "line 2: \"modal\" block without \"end\"");
  EXPECT_FALSE(ParseScript("end\n", &lines, &error));
}

TEST(ScenarioScript, ForEachRepeatsItsLinesOncePerValue) {
  std::vector<Line> lines;
  std::string error;
  ASSERT_TRUE(ParseScript("for-each R \"key Ctrl+E\" close\n answer cancel\n $R\n modal\n  $R\n"
                          " end\nend\ntoolbar 19\n",
                          &lines, &error))
      << error;
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[1].words, (std::vector<Text>{"key", "Ctrl+E"}));
  EXPECT_EQ(lines[2].block[0].words, (std::vector<Text>{"key", "Ctrl+E"}));
  EXPECT_EQ(lines[4].words, (std::vector<Text>{"close"}));
  EXPECT_EQ(lines[5].block[0].words, (std::vector<Text>{"close"}));
  EXPECT_EQ(lines[6].words[0], "toolbar");

  EXPECT_FALSE(ParseScript("\nfor-each R a\nclose\n", &lines, &error));
  EXPECT_EQ(error, "line 2: \"for-each\" block without \"end\"");
}

TEST(ScenarioScript, TextIsGbkAndUnconvertibleTextIsRefused) {
  std::vector<Line> lines;
  std::string error;
  ASSERT_TRUE(ParseScript(reinterpret_cast<const char*>(u8"expect title 新建\n"), &lines, &error));
  EXPECT_EQ(lines[0].words[2], G(u8"新建"));
  EXPECT_FALSE(ParseScript("type \xF0\x9F\x98\x80\n", &lines, &error));
  EXPECT_NE(error.find("line 1"), std::string::npos);
}

TEST(ScenarioCaptions, PlainCaptionsDropMnemonicsAndSpaces) {
  EXPECT_EQ(PlainCaption(G(u8"&F 文件 ")), G(u8"文件"));
  EXPECT_EQ(PlainCaption(G(u8"&设置")), G(u8"设置"));
  EXPECT_EQ(PlainCaption(G(u8"复制       ")), G(u8"复制"));
  std::vector<ui::MenuEntrySpec> menu = {
      {G(u8"&F 文件 "), 0}, {G(u8"&A 新建"), 1},  {"-", 1},
      {G(u8"&E 退出"), 1},  {G(u8"&E 编辑 "), 0}, {G(u8"修改"), 1}};
  EXPECT_EQ(FindMenuEntry(menu, G(u8"文件"), G(u8"退出")), 3);
  EXPECT_EQ(FindMenuEntry(menu, G(u8"&F 文件 "), G(u8"&A 新建")), 1);
  EXPECT_EQ(FindMenuEntry(menu, G(u8"文件"), G(u8"修改")), -1);  // under another bar entry
  EXPECT_EQ(FindMenuEntry(menu, G(u8"编辑"), G(u8"修改")), 5);
}

}  // namespace
}  // namespace sr::scenario
