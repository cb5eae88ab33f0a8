#include "tools/regdb/csv.h"

#include <gtest/gtest.h>

namespace sr::regdb {
namespace {

std::vector<CsvRecord> ParseOk(std::string_view text) {
  std::vector<CsvRecord> records;
  std::string error;
  EXPECT_TRUE(ParseCsv(text, &records, &error)) << error;
  return records;
}

std::string ParseError(std::string_view text) {
  std::vector<CsvRecord> records;
  std::string error;
  EXPECT_FALSE(ParseCsv(text, &records, &error));
  return error;
}

TEST(CsvWriteTest, QuotesOnlyWhatNeedsQuoting) {
  EXPECT_EQ(CsvField("plain text"), "plain text");
  EXPECT_EQ(CsvField("a,b"), "\"a,b\"");
  EXPECT_EQ(CsvField("say \"hi\""), "\"say \"\"hi\"\"\"");
  EXPECT_EQ(CsvField("two\nlines"), "\"two\nlines\"");
  EXPECT_EQ(CsvField("cr\r"), "\"cr\r\"");
  EXPECT_EQ(CsvLine({"1", "x,y", ""}), "1,\"x,y\",\r\n");
  // A lone empty field must not look like a blank line, which readers skip.
  EXPECT_EQ(CsvLine({""}), "\"\"\r\n");
}

TEST(CsvReadTest, ReadsFieldsRecordsAndLineNumbers) {
  auto records = ParseOk("a,b,c\r\n1,,3\n\n\"x\",\"y\"\"z\",\"p,q\"");
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].fields, (CsvRow{"a", "b", "c"}));
  EXPECT_EQ(records[1].fields, (CsvRow{"1", "", "3"}));
  EXPECT_EQ(records[2].fields, (CsvRow{"x", "y\"z", "p,q"}));
  EXPECT_EQ(records[0].line, 1);
  EXPECT_EQ(records[1].line, 2);
  EXPECT_EQ(records[2].line, 4);  // the blank line 3 is skipped but still counted
}

TEST(CsvReadTest, QuotedFieldsSpanLinesAndEdgesAreKept) {
  auto records = ParseOk("\xEF\xBB\xBF\"multi\r\nline\",end\r\nnext,\r\n");
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].fields, (CsvRow{"multi\r\nline", "end"}));
  EXPECT_EQ(records[1].line, 3);
  EXPECT_EQ(records[1].fields, (CsvRow{"next", ""}));  // a trailing comma is an empty field
}

TEST(CsvReadTest, RoundTripsWhatTheWriterWrites) {
  const std::vector<CsvRow> rows = {{"名称", "值"}, {"", "a\"b,c\nd"}, {""}, {" lead", "trail "}};
  std::string text;
  for (const auto& row : rows) text += CsvLine(row);
  auto records = ParseOk(text);
  ASSERT_EQ(records.size(), rows.size());
  for (size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(records[i].fields, rows[i]) << i;
}

TEST(CsvReadTest, MalformedInputNamesTheLine) {
  EXPECT_EQ(ParseError("a,b\nc\"d,e\n"), "line 2: a double quote inside an unquoted field");
  EXPECT_EQ(ParseError("a\n\"closed\"x,y\n"), "line 2: text after the closing double quote");
  EXPECT_EQ(ParseError("ok\n\"never\nclosed,\n"), "line 2: a quoted field is not closed");
}

}  // namespace
}  // namespace sr::regdb
