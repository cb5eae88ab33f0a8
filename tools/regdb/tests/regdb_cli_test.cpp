// Runs the built regdb executable on temporary files, as a user would.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fsys = std::filesystem;

// Plain literals in this program are GBK; the tool speaks UTF-8.
std::string U8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

std::string ReadFile(const fsys::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class RegdbCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fsys::temp_directory_path() /
           ("regdb_cli_" + std::to_string(getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fsys::remove_all(dir_);
    fsys::create_directories(dir_);
  }
  void TearDown() override { fsys::remove_all(dir_); }

  // Runs "regdb ARGS" in the temporary folder; ARGS is shell text in UTF-8.
  Outcome Regdb(const std::string& args) {
    const std::string command = "cd '" + dir_.string() + "' && '" REGDB_PATH "' " + args +
                                " >out.txt 2>err.txt";
    Outcome run;
    const int raw = std::system(command.c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = ReadFile(dir_ / "out.txt");
    run.err = ReadFile(dir_ / "err.txt");
    return run;
  }

  void Write(const std::string& name, const std::string& text) {
    std::ofstream(dir_ / name, std::ios::binary) << text;
  }

  fsys::path dir_;
};

const std::string kPayFields = U8(
    u8"--field 编号:text:6 --field 姓名:text:20 --field 基本工资:double --field 人数:short "
    u8"--field 在职:bool --field 入职:datetime --field 照片:bytes --field 备注:memo");

TEST_F(RegdbCliTest, CreateImportDumpRoundTrip) {
  ASSERT_EQ(Regdb("create pay.dat " + kPayFields).status, 0);
  Write("in.csv", U8(u8"\xEF\xBB\xBF姓名,编号,基本工资,人数,在职,入职,照片,备注\r\n"
                     u8"张三,001,5000.5,-3,真,2024年1月31日8时30分,DEADbeef,\"两行\n备注, 逗号\"\r\n"
                     u8"\"李\"\"四\",002,,,假,2023-05-06 07:08:09,,\r\n"));
  Outcome import = Regdb("import pay.dat in.csv");
  ASSERT_EQ(import.status, 0) << import.err;
  EXPECT_EQ(import.out, "pay.dat: 2 records appended\n");

  Outcome dump = Regdb("dump pay.dat");
  ASSERT_EQ(dump.status, 0) << dump.err;
  EXPECT_EQ(dump.out, U8(u8"编号,姓名,基本工资,人数,在职,入职,照片,备注\r\n"
                         u8"001,张三,5000.5,-3,真,2024年1月31日8时30分,DEADBEEF,\"两行\n备注, 逗号\"\r\n"
                         u8"002,\"李\"\"四\",0,0,假,2023年5月6日7时8分9秒,,\r\n"));
  EXPECT_EQ(dump.err, "");

  // What dump writes, import takes back unchanged.
  Write("again.csv", dump.out);
  ASSERT_EQ(Regdb("create copy.dat " + kPayFields).status, 0);
  ASSERT_EQ(Regdb("import copy.dat again.csv").status, 0);
  EXPECT_EQ(Regdb("dump copy.dat").out, dump.out);

  Outcome info = Regdb("info pay.dat");
  ASSERT_EQ(info.status, 0);
  EXPECT_NE(info.out.find("records: 2\n"), std::string::npos) << info.out;
  EXPECT_NE(info.out.find("next serial number: 3\n"), std::string::npos);
  EXPECT_NE(info.out.find("record size: 57\n"), std::string::npos);  // 4+6+20+8+2+1+8+4+4
  EXPECT_NE(info.out.find(U8(u8"  1  编号  text  6\n")), std::string::npos);
  EXPECT_NE(info.out.find(U8(u8"  8  备注  memo  4\n")), std::string::npos);
}

TEST_F(RegdbCliTest, ImportRefusesABadValueAndWritesNothing) {
  ASSERT_EQ(Regdb("create pay.dat " + kPayFields).status, 0);
  const std::vector<std::pair<std::string, std::string>> cases = {
      {U8(u8"编号,基本工资\n1,2\n2,12abc\n"), U8(u8"line 3, field 基本工资: not a finite")},
      {U8(u8"编号,人数\n1,40000\n"), U8(u8"line 2, field 人数: out of range -32768 to 32767")},
      {U8(u8"编号\n1234567\n"), U8(u8"line 2, field 编号: text of 7 bytes is longer than")},
      {U8(u8"编号,在职\n1,yes\n"), U8(u8"line 2, field 在职: not a bool")},
      {U8(u8"编号,入职\n1,2023-02-29\n"), U8(u8"line 2, field 入职: not a date-time")},
      {U8(u8"编号,照片\n1,ABC\n"), U8(u8"line 2, field 照片: bytes need an even number")},
      {U8(u8"编号,姓名\n1\n"), U8(u8"line 2: 1 values for 2 fields")},
      {U8(u8"编号,工龄\n1,2\n"), U8(u8"line 1, field 工龄: -61 指定字段不存在")},
      {U8(u8"编号,编号\n1,2\n"), U8(u8"field 编号 is named twice")},
      {U8(u8"编号,姓名\n1,😀\n"), U8(u8"line 2, field 姓名: value \"😀\": the character")},
      {U8(u8"编号,姓名\n1,\"open\n"), U8(u8"line 2: a quoted field is not closed")},
  };
  for (const auto& [csv, message] : cases) {
    Write("bad.csv", csv);
    Outcome run = Regdb("import pay.dat bad.csv");
    EXPECT_EQ(run.status, 1) << csv;
    EXPECT_NE(run.err.find(message), std::string::npos) << csv << " gave " << run.err;
  }
  // Every file above failed as a whole: not even its good lines were appended.
  EXPECT_NE(Regdb("info pay.dat").out.find("records: 0\n"), std::string::npos);
}

TEST_F(RegdbCliTest, ErrorsCarryTheDatabaseCodeAndMessage) {
  Outcome missing = Regdb("info nothing.dat");
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, U8(u8"regdb: nothing.dat: -3 指定文件未找到\n"));

  Write("junk.dat", std::string(200, 'x'));
  EXPECT_EQ(Regdb("dump junk.dat").err, U8(u8"regdb: junk.dat: -22 指定文件不是数据库文件\n"));

  ASSERT_EQ(Regdb("create secret.dat --field a:int --password kpm").status, 0);
  Outcome no_password = Regdb("dump secret.dat");
  EXPECT_EQ(no_password.status, 1);
  EXPECT_EQ(no_password.err,
            U8(u8"regdb: secret.dat: -78 未提供数据库访问密码或提供了错误的密码\n"));
  EXPECT_EQ(Regdb("dump secret.dat --password KPM").status, 1);
  Write("one.csv", "a\n42\n");
  ASSERT_EQ(Regdb("import secret.dat one.csv --password kpm").status, 0);
  EXPECT_EQ(Regdb("dump secret.dat --password kpm").out, "a\r\n42\r\n");

  EXPECT_NE(Regdb("create t.dat --field n:text").err.find("text needs a width"), std::string::npos);
  EXPECT_NE(Regdb("create t.dat --field n:money").err.find("unknown type"), std::string::npos);
  EXPECT_NE(Regdb(U8(u8"create t.dat --field 一二三四五六七八九:int")).err.find("-18"),
            std::string::npos);
  EXPECT_NE(Regdb("create t.dat --field A:int --field a:byte").err.find("-20"), std::string::npos);
  EXPECT_NE(Regdb("create t.dat").err.find("-16"), std::string::npos);
  // (Outside the EXPECT macro: its text of the arguments must be GBK.)
  const std::string emoji_path = U8(u8"create 😀.dat --field a:int");
  EXPECT_NE(Regdb(emoji_path).err.find("has no GBK form"), std::string::npos);
  EXPECT_FALSE(fsys::exists(dir_ / "t.dat"));

  // Creating over an existing file needs --force.
  Outcome again = Regdb("create secret.dat --field b:int");
  EXPECT_EQ(again.status, 1);
  EXPECT_NE(again.err.find("--force"), std::string::npos);
  EXPECT_EQ(Regdb("create secret.dat --field b:int --force").status, 0);
  EXPECT_EQ(Regdb("dump secret.dat").out, "b\r\n");

  EXPECT_EQ(Regdb("frobnicate x").status, 2);
  EXPECT_EQ(Regdb("dump").status, 2);
  EXPECT_EQ(Regdb("dump a.dat --verbose").status, 2);
}

TEST_F(RegdbCliTest, CheckReportsATruncatedFileAndRepairsOnlyWhenAsked) {
  ASSERT_EQ(Regdb("create pay.dat --field n:int --field s:text:8").status, 0);
  Write("rows.csv", "n,s\n1,a\n2,b\n3,c\n");
  ASSERT_EQ(Regdb("import pay.dat rows.csv").status, 0);
  EXPECT_EQ(Regdb("check pay.dat").out, "pay.dat: ok, 3 records of 2 fields read\n");

  const auto full = fsys::file_size(dir_ / "pay.dat");
  fsys::resize_file(dir_ / "pay.dat", full - 10);  // record 3 is cut
  Outcome check = Regdb("check pay.dat");
  EXPECT_EQ(check.status, 1);
  EXPECT_NE(check.err.find(U8(u8"pay.dat: -48 数据库文件尺寸错误")), std::string::npos);
  EXPECT_EQ(fsys::file_size(dir_ / "pay.dat"), full - 10) << "check alone must not change it";

  const std::string damaged = ReadFile(dir_ / "pay.dat");
  Outcome repair = Regdb("check pay.dat --repair");
  EXPECT_EQ(repair.status, 0) << repair.err;
  EXPECT_NE(repair.out.find("kept a copy as pay.dat.bak\n"), std::string::npos) << repair.out;
  EXPECT_NE(repair.out.find("repaired, 2 records"), std::string::npos) << repair.out;
  EXPECT_EQ(fsys::file_size(dir_ / "pay.dat"), full - 16);  // one 16-byte record less
  EXPECT_EQ(Regdb("dump pay.dat").out, "n,s\r\n1,a\r\n2,b\r\n");
  EXPECT_EQ(ReadFile(dir_ / "pay.dat.bak"), damaged);

  // The copy of an earlier repair is never overwritten: a second repair waits until it is gone.
  fsys::resize_file(dir_ / "pay.dat", full - 26);
  const std::string damaged_again = ReadFile(dir_ / "pay.dat");
  Outcome refused = Regdb("check pay.dat --repair");
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("pay.dat.bak: a copy from an earlier repair"), std::string::npos)
      << refused.err;
  EXPECT_EQ(ReadFile(dir_ / "pay.dat"), damaged_again);
  EXPECT_EQ(ReadFile(dir_ / "pay.dat.bak"), damaged);

  // A file that is not a database stays unrepairable.
  Write("junk.dat", "QKDBjunk");
  EXPECT_EQ(Regdb("check junk.dat --repair").status, 1);
}

// A record size that its own fields contradict is damage, not a short file: cutting the file to
// "complete" records of that size would throw every record away.
TEST_F(RegdbCliTest, RepairRefusesARecordSizeTheFieldsContradict) {
  ASSERT_EQ(Regdb("create pay.dat --field n:int --field s:text:8").status, 0);
  Write("rows.csv", "n,s\n1,a\n2,b\n3,c\n");
  ASSERT_EQ(Regdb("import pay.dat rows.csv").status, 0);
  std::string bytes = ReadFile(dir_ / "pay.dat");
  bytes[24] = 40;  // record size 16 becomes 40
  Write("pay.dat", bytes);
  for (const char* command : {"check pay.dat", "check pay.dat --repair"}) {
    Outcome run = Regdb(command);
    EXPECT_EQ(run.status, 1) << command;
    EXPECT_NE(run.err.find("105 record size disagrees with the fields: the header says 40 "
                           "bytes, the fields describe 16"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(ReadFile(dir_ / "pay.dat"), bytes) << command;
  }
  EXPECT_FALSE(fsys::exists(dir_ / "pay.dat.bak"));

  // Where the file is long enough to open, check still calls the disagreement damage.
  bytes[24] = 20;
  Write("pay.dat", bytes + std::string(100, '\0'));
  Outcome opened = Regdb("check pay.dat --repair");
  EXPECT_EQ(opened.status, 1);
  EXPECT_NE(opened.err.find("105 record size disagrees"), std::string::npos) << opened.err;
  EXPECT_EQ(fsys::file_size(dir_ / "pay.dat"), bytes.size() + 100);
}

// A kill in the middle of the salary program's change of a file leaves its rollback journal
// beside it, and the file half changed until the program puts it back at its next reading.
TEST_F(RegdbCliTest, JournalBesideTheFileStopsWritesAndIsReported) {
  ASSERT_EQ(Regdb("create pay.dat --field n:int --field s:text:8").status, 0);
  Write("rows.csv", "n,s\n1,a\n");
  ASSERT_EQ(Regdb("import pay.dat rows.csv").status, 0);
  Write("pay.dat.journal", "SRJOURN1 and the bytes the change replaced");
  const std::string bytes = ReadFile(dir_ / "pay.dat");
  const std::string cut_short =
      "pay.dat: a change of it was cut short, and pay.dat.journal holds what it replaced; ";
  Outcome import = Regdb("import pay.dat rows.csv");
  EXPECT_EQ(import.status, 1);
  EXPECT_NE(import.err.find(cut_short + "nothing was written"), std::string::npos) << import.err;
  EXPECT_EQ(ReadFile(dir_ / "pay.dat"), bytes);
  Outcome check = Regdb("check pay.dat");
  EXPECT_EQ(check.status, 1);
  EXPECT_NE(check.err.find("pay.dat: 106 a change of it was cut short: pay.dat.journal holds"),
            std::string::npos)
      << check.err;
  Outcome dump = Regdb("dump pay.dat");
  EXPECT_NE(dump.err.find(cut_short + "what is read may be half changed"), std::string::npos)
      << dump.err;
}

// A text that a spreadsheet program would run as a formula is dumped behind an apostrophe, and
// import takes the apostrophe off: a dump imported gives the same records back, byte for byte.
TEST_F(RegdbCliTest, DumpPutsAnApostropheBeforeTextsASpreadsheetWouldRun) {
  const std::string fields = "--field n:int --field s:text:40 --field m:memo";
  ASSERT_EQ(Regdb("create pay.dat " + fields).status, 0);
  const std::string raw =
      "n,s,m\r\n1,=cmd|' /C calc'!A0,\"=HYPERLINK(\"\"x\"\")\"\r\n2,+1,-2\r\n3,@SUM(A1),\ttab\r\n"
      "4,'quoted,it's\r\n5,\"\rcr\",plain\r\n";
  Write("raw.csv", raw);
  ASSERT_EQ(Regdb("import pay.dat raw.csv --raw").status, 0);
  Outcome dump = Regdb("dump pay.dat");
  EXPECT_EQ(dump.out,
            "n,s,m\r\n1,'=cmd|' /C calc'!A0,\"'=HYPERLINK(\"\"x\"\")\"\r\n2,'+1,'-2\r\n"
            "3,'@SUM(A1),'\ttab\r\n4,''quoted,it's\r\n5,\"'\rcr\",plain\r\n");
  EXPECT_EQ(Regdb("dump pay.dat --raw").out, raw);

  Write("dump.csv", dump.out);
  ASSERT_EQ(Regdb("create copy.dat " + fields).status, 0);
  ASSERT_EQ(Regdb("import copy.dat dump.csv").status, 0);
  // The same bytes from the creation time on (offset 16): the same records, serials and memos.
  EXPECT_EQ(ReadFile(dir_ / "copy.dat").substr(16), ReadFile(dir_ / "pay.dat").substr(16));
  EXPECT_EQ(ReadFile(dir_ / "copy.KDT"), ReadFile(dir_ / "pay.KDT"));
}

class CutCompanionTest : public RegdbCliTest {
 protected:
  // Records 1 to 3 with memos in blocks 1, 2-3 and 4; the companion is then cut to blocks 0-2.
  void SetUp() override {
    RegdbCliTest::SetUp();
    ASSERT_EQ(Regdb(U8(u8"create pay.dat --field n:int --field 备注:memo")).status, 0);
    Write("rows.csv", U8(u8"n,备注\n1,short\n2,") + std::string(600, 'x') + "\n3," +
                          std::string(300, 'y') + "\n");
    ASSERT_EQ(Regdb("import pay.dat rows.csv").status, 0);
    ASSERT_EQ(fsys::file_size(dir_ / "pay.KDT"), 5u * 512);
    fsys::resize_file(dir_ / "pay.KDT", 3 * 512);
  }
};

TEST_F(CutCompanionTest, RepairEmptiesTheMemosPastTheEndAndNamesThem) {
  const std::string database = ReadFile(dir_ / "pay.dat");
  const std::string companion = ReadFile(dir_ / "pay.KDT");
  Outcome check = Regdb("check pay.dat");
  EXPECT_EQ(check.status, 1);
  EXPECT_NE(check.err.find(U8(u8"-37 指定文件不是数据库辅助文件或已被损坏")), std::string::npos);

  Outcome repair = Regdb("check pay.dat --repair");
  ASSERT_EQ(repair.status, 0) << repair.err;
  EXPECT_NE(repair.out.find("kept a copy as pay.KDT.bak"), std::string::npos) << repair.out;
  EXPECT_NE(repair.out.find(U8(u8"record 2, field 备注: pointed past the companion file's end "
                               u8"(block 3); emptied")),
            std::string::npos)
      << repair.out;
  EXPECT_NE(repair.out.find(U8(u8"record 3, field 备注: pointed past")), std::string::npos);
  EXPECT_EQ(repair.out.find(U8(u8"record 1, field 备注")), std::string::npos);
  EXPECT_EQ(ReadFile(dir_ / "pay.dat.bak"), database);
  EXPECT_EQ(ReadFile(dir_ / "pay.KDT.bak"), companion);
  EXPECT_EQ(Regdb("dump pay.dat").out, U8(u8"n,备注\r\n1,short\r\n2,\r\n3,\r\n"));

  // New memos take blocks that nobody else claims.
  Write("more.csv", U8(u8"n,备注\n4,") + std::string(1200, 'z') + "\n");
  ASSERT_EQ(Regdb("import pay.dat more.csv").status, 0);
  Outcome after = Regdb("check pay.dat");
  EXPECT_EQ(after.status, 0) << after.err;
  EXPECT_EQ(after.out, "pay.dat: ok, 4 records of 2 fields read\n");
}

// A writable open cuts only the companion's block count; the records still point past its end,
// and the next memos written take those blocks too.
TEST_F(CutCompanionTest, CheckFindsTheCrossLinksALaterImportMakes) {
  Write("more.csv", U8(u8"n,备注\n4,") + std::string(600, 'z') + "\n");
  ASSERT_EQ(Regdb("import pay.dat more.csv").status, 0);
  Outcome check = Regdb("check pay.dat");
  EXPECT_EQ(check.status, 1);
  EXPECT_NE(check.err.find(U8(u8"pay.dat: 101 companion block in two chains: block 3 in record "
                              u8"2, field 备注 and in record 4, field 备注")),
            std::string::npos)
      << check.err;
}

TEST_F(RegdbCliTest, SortRenameAndCopyStructure) {
  ASSERT_EQ(Regdb("create pay.dat --field k:text:4 --field v:int --field w:double").status, 0);
  Write("rows.csv", "k,v,w\nb,1,0.5\nA,2,1.5\na,3,2.5\nb,0,3.5\n");
  ASSERT_EQ(Regdb("import pay.dat rows.csv").status, 0);

  ASSERT_EQ(Regdb("sort pay.dat up.dat --key k --key v").status, 0);
  EXPECT_EQ(Regdb("dump up.dat").out, "k,v,w\r\nA,2,1.5\r\na,3,2.5\r\nb,0,3.5\r\nb,1,0.5\r\n");
  ASSERT_EQ(Regdb("sort pay.dat down.dat --key v --desc").status, 0);
  EXPECT_EQ(Regdb("dump down.dat").out, "k,v,w\r\na,3,2.5\r\nA,2,1.5\r\nb,1,0.5\r\nb,0,3.5\r\n");
  EXPECT_NE(Regdb("sort pay.dat x.dat --key zz").err.find("-61"), std::string::npos);
  EXPECT_NE(Regdb("sort pay.dat up.dat --key k").err.find("--force"), std::string::npos);
  EXPECT_NE(Regdb("sort pay.dat ./pay.dat --key k --force").err.find("replace the source"),
            std::string::npos);
  EXPECT_EQ(Regdb("dump pay.dat").out, "k,v,w\r\nb,1,0.5\r\nA,2,1.5\r\na,3,2.5\r\nb,0,3.5\r\n");

  ASSERT_EQ(Regdb(U8(u8"rename pay.dat 2 数量")).status, 0);
  EXPECT_EQ(Regdb("dump pay.dat").out.substr(0, 12), U8(u8"k,数量,w\r\n"));
  EXPECT_NE(Regdb("rename pay.dat 1 W").err.find("-20"), std::string::npos);
  EXPECT_NE(Regdb("rename pay.dat 1 abcdefghijklmnopq").err.find("-18"), std::string::npos);
  EXPECT_NE(Regdb("rename pay.dat 9 z").err.find("-61"), std::string::npos);
  EXPECT_EQ(Regdb("rename pay.dat x z").status, 1);

  ASSERT_EQ(Regdb("copy-structure pay.dat part.dat w k").status, 0);
  EXPECT_EQ(Regdb("dump part.dat").out, "w,k\r\n");
  ASSERT_EQ(Regdb("copy-structure pay.dat all.dat").status, 0);
  EXPECT_EQ(Regdb("dump all.dat").out, U8(u8"k,数量,w\r\n"));
  EXPECT_NE(Regdb("copy-structure pay.dat none.dat nope").err.find("-61"), std::string::npos);
  EXPECT_FALSE(fsys::exists(dir_ / "none.dat"));
}

}  // namespace
