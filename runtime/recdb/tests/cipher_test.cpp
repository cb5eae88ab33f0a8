#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "runtime/recdb/coding.h"
#include "runtime/recdb/md5.h"
#include "runtime/recdb/page_cipher.h"
#include "runtime/recdb/tests/test_files.h"

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

// Textbook RC4 written out again, apart from the library's: the yardstick of the tests below.
std::vector<uint8_t> TextbookRc4(const std::string& key, size_t count) {
  uint8_t s[256];
  for (int n = 0; n < 256; ++n) s[n] = static_cast<uint8_t>(n);
  for (int n = 0, j = 0; n < 256; ++n) {
    j = (j + s[n] + static_cast<uint8_t>(key[n % key.size()])) % 256;
    std::swap(s[n], s[j]);
  }
  std::vector<uint8_t> out(count);
  for (size_t n = 0, i = 0, j = 0; n < count; ++n) {
    i = (i + 1) % 256;
    j = (j + s[i]) % 256;
    std::swap(s[i], s[j]);
    out[n] = s[(s[i] + s[j]) % 256];
  }
  return out;
}

std::string Bytes(const std::vector<uint8_t>& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

TEST(Rc4, BulkOutputInPiecesOfAnyLengthEqualsTheTextbookStream) {
  // Piece lengths cross the 8-byte groups and the wrap of the counter at 256.
  const std::vector<size_t> pieces = {0, 1, 2, 5, 8, 9, 16, 250, 3, 256, 7, 600, 1, 4096};
  size_t total = 0;
  for (size_t piece : pieces) total += piece + 1;
  for (const std::string& key : {std::string("K"), std::string("Key"), std::string(40, '\x9c'),
                                 std::string(256, 'p') + "tail ignored", std::string(255, 'q')}) {
    const std::vector<uint8_t> expected = TextbookRc4(key, total);
    Rc4 one(reinterpret_cast<const uint8_t*>(key.data()), key.size());
    std::vector<uint8_t> got(total);
    size_t at = 0;
    for (size_t piece : pieces) {
      one.Generate(got.data() + at, piece);
      at += piece;
      got[at++] = one.Next();  // a single step after every piece
    }
    EXPECT_EQ(Bytes(got), Bytes(expected)) << "key of " << key.size() << " bytes";
  }
}

TEST(Rc4, TwoStreamsSideBySideEqualTwoTextbookStreams) {
  const std::string a = "first key";
  const std::string b = "another, longer key";
  Rc4 first(reinterpret_cast<const uint8_t*>(a.data()), a.size());
  Rc4 second(reinterpret_cast<const uint8_t*>(b.data()), b.size());
  std::vector<uint8_t> got_a(5000), got_b(5000);
  size_t at = 0;
  for (size_t piece : {size_t{3}, size_t{36}, size_t{4096}, size_t{0}, size_t{865}}) {
    GenerateSideBySide<2>({&first, &second}, {got_a.data() + at, got_b.data() + at}, piece);
    at += piece;
  }
  ASSERT_EQ(at, got_a.size());
  EXPECT_EQ(Bytes(got_a), Bytes(TextbookRc4(a, at)));
  EXPECT_EQ(Bytes(got_b), Bytes(TextbookRc4(b, at)));
  // A copy goes on from where the original stood.
  Rc4 copy = first;
  EXPECT_EQ(copy.Next(), first.Next());
}

TEST(Rc4, ThreeStreamsKeyedAndRunSideBySideEqualThreeTextbookStreams) {
  // Keys of one length as the page cipher gives them; re-keying a used stream starts it anew.
  const std::string keys[3] = {"page key one", "page key two", std::string(12, '\xff')};
  Rc4 streams[3];
  for (int round = 0; round < 2; ++round) {
    KeySideBySide<3>({&streams[0], &streams[1], &streams[2]},
                     {reinterpret_cast<const uint8_t*>(keys[0].data()),
                      reinterpret_cast<const uint8_t*>(keys[1].data()),
                      reinterpret_cast<const uint8_t*>(keys[2].data())},
                     keys[0].size());
    std::vector<uint8_t> got[3] = {std::vector<uint8_t>(4133), std::vector<uint8_t>(4133),
                                   std::vector<uint8_t>(4133)};
    size_t at = 0;
    for (size_t piece : {size_t{36}, size_t{4096}, size_t{1}}) {
      GenerateSideBySide<3>({&streams[0], &streams[1], &streams[2]},
                            {got[0].data() + at, got[1].data() + at, got[2].data() + at}, piece);
      at += piece;
    }
    for (int n = 0; n < 3; ++n) {
      EXPECT_EQ(Bytes(got[n]), Bytes(TextbookRc4(keys[n], at))) << "stream " << n;
    }
  }
}

// The page cipher as written down, with nothing kept: for every page of the span a master
// stream from its start and a page stream of its own.
void ReferenceApply(const std::string& password, int64_t offset, uint8_t* data, size_t length) {
  const std::string digest = PasswordDigestText(password);
  size_t n = 0;
  while (n < length) {
    const int64_t p = offset + static_cast<int64_t>(n);
    if (p < 4) {
      ++n;
      continue;
    }
    const int64_t page = p / 4096;
    const std::vector<uint8_t> master = TextbookRc4(password, 4 * page + 4);
    uint32_t seed = 0;
    for (int b = 3; b >= 0; --b) seed = (seed << 8) | master[4 * page + b];
    std::string key;
    for (int b = 0; b < 4; ++b) key.push_back(static_cast<char>(seed >> (8 * b)));
    key += digest;
    const uint32_t mixed = seed ^ static_cast<uint32_t>(page);
    for (int b = 0; b < 4; ++b) key.push_back(static_cast<char>(mixed >> (8 * b)));
    const std::vector<uint8_t> stream = TextbookRc4(key, 36 + 4096);
    for (; n < length && (offset + static_cast<int64_t>(n)) / 4096 == page; ++n) {
      data[n] ^= stream[36 + (offset + n) % 4096];
    }
  }
}

TEST(PageCipher, RandomSpansEqualTheReferenceForEveryPasswordBothWays) {
  const std::vector<std::string> passwords = {"a",
                                              "kpm4825031",
                                              "\xb9\xa4\xd7\xca\xb1\xed",
                                              std::string(255, 'x') + "y",
                                              std::string(256, 'z'),
                                              std::string(300, 'w') + "!"};
  std::vector<PageCipher> ciphers;
  for (const std::string& password : passwords) ciphers.emplace_back(password);
  // Spans at the plain prefix, on and across page boundaries, whole pages, twice across page
  // 4096 where a cipher stops keeping keyed pages, far beyond it, a long span around a page at
  // hand; then random ones in random
  // order, near the start and anywhere in 32 MiB, so that whatever a cipher keeps from one span
  // meets the next.
  std::vector<std::pair<int64_t, size_t>> spans = {
      {0, 3},        {0, 4},      {0, 5},         {2, 9},           {3, 4100},
      {4092, 8},     {4095, 1},   {4096, 4096},   {8191, 2},        {28672, 12288},
      {8292, 0},     {81915, 10}, {0, 16401},     {16777206, 8200}, {16777206, 8200},
      {16781311, 3}, {4, 12289},  {40960005, 77}, {16, 4096 * 4 + 1},
      {45056, 1},    {40960, 16384}};  // pages 10 to 13 made around page 11, made just before
  std::mt19937 random(20240614);
  for (int n = 0; n < 80; ++n) {
    const int64_t reach = n % 2 == 0 ? 4096 * 24 : int64_t{32} << 20;
    const int64_t offset = std::uniform_int_distribution<int64_t>(0, reach)(random);
    const size_t length = std::uniform_int_distribution<size_t>(0, 4096 * 3 + 8)(random);
    spans.emplace_back(offset, length);
  }
  for (const auto& [offset, length] : spans) {
    std::vector<uint8_t> plain(length);
    for (uint8_t& byte : plain) byte = static_cast<uint8_t>(random());
    for (size_t c = 0; c < ciphers.size(); ++c) {
      std::vector<uint8_t> scrambled = plain;
      ReferenceApply(passwords[c], offset, scrambled.data(), scrambled.size());
      std::vector<uint8_t> got = plain;
      ciphers[c].Apply(offset, got.data(), got.size());
      ASSERT_EQ(Bytes(got), Bytes(scrambled)) << "scrambling, password of " << passwords[c].size()
                                              << " bytes, " << length << " bytes at " << offset;
      got = scrambled;
      ciphers[c].Apply(offset, got.data(), got.size());
      ASSERT_EQ(Bytes(got), Bytes(plain)) << "unscrambling, password of " << passwords[c].size()
                                          << " bytes, " << length << " bytes at " << offset;
    }
  }
}

// Key stream bytes that protected files written by earlier versions hold: if these change, those
// files no longer open.
TEST(PageCipher, KeyStreamBytesStayAsStoredFilesHaveThem) {
  struct Known {
    const char* password;
    int64_t offset;
    const char* hex;
  };
  for (const Known& known :
       {Known{"kpm4825031", 0, "000000001bfb3856f8c99e3c6aaa9251"},
        Known{"kpm4825031", 4092, "4d037d375397b01b6d2e878e11580483"},
        Known{"kpm4825031", 300 * 4096 + 4088, "b57556782888383d2436da3868ba5788"},
        Known{"pw", 0, "00000000ec77844516cb3d2813f1fb38"},
        Known{"pw", 4092, "82344302b8009942d404e36dbc4ac9f0"},
        Known{"pw", 300 * 4096 + 4088, "d4998aa669f04465868bc708bb1285fa"},
        Known{"kpm4825031", 4095 * 4096 + 4090, "d198ad8116dbf468b2890099ae"},
        Known{"pw", 5000 * 4096 + 7, "e0084b1f2d295ccac1"}}) {
    std::vector<uint8_t> bytes(std::strlen(known.hex) / 2);
    PageCipher(known.password).Apply(known.offset, bytes.data(), bytes.size());
    EXPECT_EQ(Hex(bytes.data(), bytes.size()), known.hex)
        << known.password << " at " << known.offset;
  }
}

// A protected file of four pages, scrambled by the reference above, read through the library in
// the shared mode and under the whole-database lock. Then the same path holds another file under
// another password, and a new open reads that one.
class ProtectedFile : public test::DbTest {
 protected:
  void Make(const std::string& password, char fill) {
    test::DbImage image;
    image.magic = "QCDB";
    image.digest = PasswordDigestText(password);
    image.fields = {{"Note", 10, 300}, {"Pay", 6, 0}};
    for (int r = 0; r < 40; ++r) {
      std::string note(1 + r * 7, fill);
      note.resize(300, '\0');
      image.records.push_back(test::Le32(r + 1) + note + test::LeDouble(r * 1.5));
    }
    image.record_count = 40;
    image.next_serial = 41;
    std::string bytes = image.Bytes();
    ReferenceApply(password, 0, reinterpret_cast<uint8_t*>(bytes.data()), bytes.size());
    Write("p.dat", bytes);
  }
  void ExpectRecords(char fill) {
    ASSERT_EQ(table_.GetRecordCount(), 40);
    table_.GoFirst();
    for (int r = 0; r < 40; ++r, table_.Skip()) {
      ASSERT_EQ(table_.ReadField("Note").text(), std::string(1 + r * 7, fill)) << "record " << r;
      ASSERT_EQ(table_.ReadField("Pay").floating(), r * 1.5) << "record " << r;
    }
  }
};

TEST_F(ProtectedFile, ReadsBackInEveryModeAndAfterBeingReplaced) {
  Make("first", 'a');
  ASSERT_EQ(Open("p.dat", "", OpenOptions::WithPassword("first")), 0);
  ExpectRecords('a');
  ASSERT_TRUE(table_.HoldWholeDatabase());
  ExpectRecords('a');
  ASSERT_TRUE(table_.ReleaseWholeDatabase());
  table_.CloseDatabase();

  Make("second password", 'b');
  EXPECT_EQ(Open("p.dat", "", OpenOptions::WithPassword("first")), -78);
  ASSERT_EQ(Open("p.dat", "", OpenOptions::WithPassword("second password")), 0);
  ASSERT_TRUE(table_.HoldWholeDatabase());
  ExpectRecords('b');
}

}  // namespace
}  // namespace sr::recdb
