#include <gtest/gtest.h>

#include <string>

#include "runtime/recdb/companion.h"
#include "runtime/recdb/format.h"

namespace sr::recdb {
namespace {

std::string B(std::initializer_list<int> bytes) {
  std::string s;
  for (int b : bytes) s.push_back(static_cast<char>(b));
  return s;
}

TEST(HeaderCodec, WritesEveryFieldAtItsOffset) {
  Header header;
  header.is_protected = true;
  header.created = 1.5;  // 0x3FF8000000000000
  header.record_count = 0x01020304;
  header.next_serial = 7;
  header.record_size = 260;
  header.digest_text = std::string(32, 'a');
  std::string bytes = EncodeHeader(header);
  ASSERT_EQ(bytes.size(), 112u);
  EXPECT_EQ(bytes.substr(0, 4), "QCDB");
  EXPECT_EQ(bytes.substr(4, 4), B({0, 0, 1, 0}));
  EXPECT_EQ(bytes.substr(8, 8), B({0, 0, 0, 0, 0, 0, 0xF8, 0x3F}));
  EXPECT_EQ(bytes.substr(16, 4), B({4, 3, 2, 1}));
  EXPECT_EQ(bytes.substr(20, 4), B({7, 0, 0, 0}));
  EXPECT_EQ(bytes.substr(24, 4), B({4, 1, 0, 0}));
  EXPECT_EQ(bytes.substr(28, 32), std::string(32, 'a'));
  EXPECT_EQ(bytes.substr(60), std::string(52, '\0'));  // the digest's NUL and 51 zeros

  Header back;
  ASSERT_TRUE(DecodeHeader(reinterpret_cast<const uint8_t*>(bytes.data()), &back));
  EXPECT_TRUE(back.is_protected);
  EXPECT_EQ(back.record_count, 0x01020304);
  EXPECT_EQ(back.next_serial, 7);
  EXPECT_EQ(back.record_size, 260);
  EXPECT_EQ(back.created, 1.5);
  EXPECT_EQ(back.digest_text, header.digest_text);
}

TEST(HeaderCodec, PlainMagicAndNoDigestAreZeros) {
  std::string bytes = EncodeHeader(Header());
  EXPECT_EQ(bytes.substr(0, 4), "QKDB");
  EXPECT_EQ(bytes.substr(28), std::string(84, '\0'));
  bytes[0] = 'X';
  Header back;
  EXPECT_FALSE(DecodeHeader(reinterpret_cast<const uint8_t*>(bytes.data()), &back));
}

TEST(DescriptorCodec, WritesNameTypeOffsetAndTextWidth) {
  FieldDescriptor text{"Name", FieldType::kText, 4, 20};
  std::string bytes = EncodeDescriptor(text);
  ASSERT_EQ(bytes.size(), 72u);
  EXPECT_EQ(bytes.substr(0, 20), std::string("Name") + std::string(16, '\0'));
  EXPECT_EQ(bytes.substr(20, 12), B({10, 0, 0, 0, 4, 0, 0, 0, 20, 0, 0, 0}));
  EXPECT_EQ(bytes.substr(32), std::string(40, '\0'));
  // Only text fields keep a width.
  FieldDescriptor number{"N", FieldType::kDouble, 24, 99};
  EXPECT_EQ(EncodeDescriptor(number).substr(28, 4), B({0, 0, 0, 0}));
}

TEST(DescriptorCodec, RejectsWhatTheOpenRejects) {
  FieldDescriptor field;
  std::string good = EncodeDescriptor({"A", FieldType::kText, 4, 1});
  auto decode = [&](std::string bytes) {
    return DecodeDescriptor(reinterpret_cast<const uint8_t*>(bytes.data()), &field);
  };
  EXPECT_TRUE(decode(good));
  EXPECT_EQ(field.text_width, 1);

  std::string no_nul = good;
  for (int n = 0; n < 17; ++n) no_nul[n] = 'x';
  EXPECT_FALSE(decode(no_nul));
  std::string sixteen = good;
  for (int n = 0; n < 16; ++n) sixteen[n] = 'x';
  EXPECT_TRUE(decode(sixteen));
  EXPECT_EQ(field.name, std::string(16, 'x'));

  std::string bad_type = good;
  bad_type[20] = 13;
  EXPECT_FALSE(decode(bad_type));
  bad_type[20] = 0;
  EXPECT_FALSE(decode(bad_type));
  std::string negative_offset = good;
  negative_offset[27] = static_cast<char>(0x80);
  EXPECT_FALSE(decode(negative_offset));
  std::string zero_width = good;
  zero_width[28] = 0;
  EXPECT_FALSE(decode(zero_width));
}

TEST(Layout, OffsetsRunFromFourInOrder) {
  std::vector<FieldDescriptor> fields = {{"a", FieldType::kText, 0, 10},
                                         {"b", FieldType::kDouble, 0, 0},
                                         {"c", FieldType::kMemo, 0, 0},
                                         {"d", FieldType::kBool, 0, 0}};
  EXPECT_EQ(AssignOffsets(&fields), 4 + 10 + 8 + 4 + 1);
  EXPECT_EQ(fields[0].offset, 4);
  EXPECT_EQ(fields[1].offset, 14);
  EXPECT_EQ(fields[2].offset, 22);
  EXPECT_EQ(fields[3].offset, 26);
  EXPECT_EQ(DataStart(22), 116 + 72 * 22);
}

TEST(Names, CompareIgnoringAsciiCaseOnly) {
  EXPECT_TRUE(NamesEqual("Name", "nAME"));
  EXPECT_FALSE(NamesEqual("Name", "Names"));
  // Two double-byte characters whose trail bytes are 'A' and 'a': they are different characters.
  EXPECT_FALSE(NamesEqual(B({0x81, 'A'}), B({0x81, 'a'})));
  EXPECT_TRUE(NamesEqual(B({0x81, 'A', 'x'}), B({0x81, 'A', 'X'})));
}

TEST(Paths, DefaultExtensionCompanionAndTitle) {
  EXPECT_EQ(WithDefaultExtension("C:\\pay\\2013"), "C:\\pay\\2013.KDB");
  EXPECT_EQ(WithDefaultExtension("C:\\pay\\2013."), "C:\\pay\\2013.KDB");
  EXPECT_EQ(WithDefaultExtension("C:\\pay\\2013.dat"), "C:\\pay\\2013.dat");
  EXPECT_EQ(WithDefaultExtension("C:\\pay.d\\2013"), "C:\\pay.d\\2013.KDB");
  EXPECT_EQ(WithDefaultExtension("/tmp/x.y/z"), "/tmp/x.y/z.KDB");
  EXPECT_EQ(CompanionPath("C:\\pay\\2013.dat"), "C:\\pay\\2013.KDT");
  EXPECT_EQ(CompanionPath("C:\\pay.d\\2013"), "C:\\pay.d\\2013.KDT");
  EXPECT_EQ(FileTitle("\\ZhongZhuan.rgq"), "ZhongZhuan");
  EXPECT_EQ(FileTitle("/a/b/设置税率表.dat"), "设置税率表");
  EXPECT_EQ(FileTitle("plain"), "plain");
}

TEST(CompanionCodec, HeaderBlockAndChainBlockBytes) {
  CompanionHeader header;
  header.created = 2.0;  // 0x4000000000000000
  header.block_count = 3;
  header.free_count = 1;
  header.first_free = 2;
  std::string bytes = EncodeCompanionHeader(header);
  ASSERT_EQ(bytes.size(), 512u);
  EXPECT_EQ(bytes.substr(0, 32), std::string("QKDT") + B({0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0x40,
                                                           3, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0,
                                                           0, 0, 0, 0}));
  EXPECT_EQ(bytes.substr(32), std::string(480, '\0'));

  ChainBlock block{5, 0, 3, "xyz"};
  std::string chain = EncodeChainBlock(block);
  ASSERT_EQ(chain.size(), 512u);
  EXPECT_EQ(chain.substr(0, 15), B({5, 0, 0, 0, 0, 0, 0, 0, 3, 0, 0, 0, 'x', 'y', 'z'}));
  EXPECT_EQ(chain.substr(15), std::string(497, '\0'));
}

}  // namespace
}  // namespace sr::recdb
