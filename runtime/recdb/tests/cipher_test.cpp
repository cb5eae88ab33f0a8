#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "runtime/recdb/coding.h"
#include "runtime/recdb/md5.h"
#include "runtime/recdb/page_cipher.h"

namespace sr::recdb {
namespace {

std::string Hex(const uint8_t* bytes, size_t length) {
  std::string text;
  char pair[3];
  for (size_t n = 0; n < length; ++n) {
    std::snprintf(pair, sizeof pair, "%02x", bytes[n]);
    text += pair;
  }
  return text;
}

std::string Md5Hex(const std::string& data) {
  auto digest = Md5(data);
  return Hex(digest.data(), digest.size());
}

TEST(Md5, MatchesTheRfcTestSuite) {
  EXPECT_EQ(Md5Hex(""), "d41d8cd98f00b204e9800998ecf8427e");
  EXPECT_EQ(Md5Hex("a"), "0cc175b9c0f1b6a831c399e269772661");
  EXPECT_EQ(Md5Hex("abc"), "900150983cd24fb0d6963f7d28e17f72");
  EXPECT_EQ(Md5Hex("message digest"), "f96b697d7cb7938d525a2f31aaf161d0");
  EXPECT_EQ(Md5Hex("abcdefghijklmnopqrstuvwxyz"), "c3fcd3d76192e4007dfb496cca67e13b");
  EXPECT_EQ(Md5Hex("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"),
            "d174ab98d277d9f5a5611c2c9f419d9f");
  EXPECT_EQ(Md5Hex("1234567890123456789012345678901234567890123456789012345678901234567890"
                   "1234567890"),
            "57edf4a22be3c955ac49da2e2107b67a");
}

TEST(Md5, PaddingBoundaries) {
  // 55, 56 and 64 bytes straddle the length field of the padding.
  EXPECT_EQ(Md5Hex(std::string(55, 'a')), "ef1772b6dff9a122358552954ad0df65");
  EXPECT_EQ(Md5Hex(std::string(56, 'a')), "3b0c8ac703f828b04c6c197006d17218");
  EXPECT_EQ(Md5Hex(std::string(64, 'a')), "014842d480b571495a4a0363793f7367");
}

TEST(PasswordDigest, IsTheMd5HexReadBackwardsTwoDigitsAtATime) {
  // MD5("abc") = 90 01 50 98 3c d2 4f b0 d6 96 3f 7d 28 e1 7f 72.
  EXPECT_EQ(PasswordDigestText("abc"), "727fe1287d3f96d6b04fd23c98500190");
  // Letter case of the password changes the digest.
  EXPECT_NE(PasswordDigestText("ABC"), PasswordDigestText("abc"));
}

TEST(Rc4, MatchesKnownKeyStreams) {
  Rc4 key(reinterpret_cast<const uint8_t*>("Key"), 3);
  uint8_t out[10];
  for (uint8_t& b : out) b = key.Next();
  EXPECT_EQ(Hex(out, 10), "eb9f7781b734ca72a719");
  Rc4 wiki(reinterpret_cast<const uint8_t*>("Wiki"), 4);
  std::string plain = "pedia";
  for (char& c : plain) c = static_cast<char>(c ^ wiki.Next());
  EXPECT_EQ(Hex(reinterpret_cast<const uint8_t*>(plain.data()), 5), "1021bf0420");
}

// The key stream byte of file offset p, computed from scratch for every byte: a fresh master
// stream, a fresh page key schedule. Slow, but it is the definition.
uint8_t ReferenceKeyByte(const std::string& password, int64_t p) {
  int64_t page = p / 4096;
  Rc4 master(reinterpret_cast<const uint8_t*>(password.data()), password.size());
  uint8_t seed_bytes[4];
  for (int64_t n = 0; n < page * 4; ++n) master.Next();
  for (uint8_t& b : seed_bytes) b = master.Next();
  int32_t seed = GetI32(seed_bytes);
  std::string digest = PasswordDigestText(password);
  uint8_t key[40];
  PutI32(key, seed);
  for (int n = 0; n < 32; ++n) key[4 + n] = digest[n];
  PutI32(key + 36, seed ^ static_cast<int32_t>(page));
  Rc4 stream(key, 40);
  stream.Discard(36 + (p - page * 4096));
  return stream.Next();
}

TEST(PageCipher, MatchesTheDefinitionAtScatteredOffsets) {
  PageCipher cipher("secret");
  for (int64_t p : {4, 5, 100, 4095, 4096, 4097, 3 * 4096 + 17, 200 * 4096 + 4095}) {
    uint8_t byte = 0;
    cipher.Apply(p, &byte, 1);
    EXPECT_EQ(byte, ReferenceKeyByte("secret", p)) << "offset " << p;
  }
}

TEST(PageCipher, LeavesTheFirstFourBytesPlainAndRestoresWhenAppliedTwice) {
  PageCipher cipher("pw");
  std::vector<uint8_t> data(10000);
  for (size_t n = 0; n < data.size(); ++n) data[n] = static_cast<uint8_t>(n * 7);
  std::vector<uint8_t> original = data;
  cipher.Apply(0, data.data(), data.size());
  EXPECT_TRUE(std::equal(data.begin(), data.begin() + 4, original.begin()));
  EXPECT_NE(data, original);
  size_t changed = 0;
  for (size_t n = 4; n < data.size(); ++n) changed += data[n] != original[n];
  EXPECT_GT(changed, 9000u);
  cipher.Apply(0, data.data(), data.size());
  EXPECT_EQ(data, original);
}

TEST(PageCipher, SpanFromTheMiddleOfAPageEqualsTheWholePageRead) {
  PageCipher whole("pw");
  std::vector<uint8_t> page(8192, 0x55);
  whole.Apply(4096, page.data(), page.size());
  // A separate cipher, so nothing cached by the first one helps; visit pages out of order.
  PageCipher pieces("pw");
  for (int64_t start : {int64_t{9000}, int64_t{4096 + 1000}, int64_t{4096 + 4090}}) {
    std::vector<uint8_t> span(37, 0x55);
    pieces.Apply(start, span.data(), span.size());
    for (size_t n = 0; n < span.size(); ++n) {
      ASSERT_EQ(span[n], page[start - 4096 + n]) << "offset " << start + n;
    }
  }
}

TEST(PageCipher, DifferentPasswordsGiveDifferentStreams) {
  PageCipher a("one");
  PageCipher b("two");
  std::vector<uint8_t> x(64, 0), y(64, 0);
  a.Apply(0, x.data(), x.size());
  b.Apply(0, y.data(), y.size());
  EXPECT_NE(x, y);
}

}  // namespace
}  // namespace sr::recdb
