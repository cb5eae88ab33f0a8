// The people file's checks and the ledger's file: what a clerk may type, what the calculation
// may trust, and files that are not what they should be.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <limits>

#include "app/tests/other_user.h"
#include "app/withholding/ledger.h"
#include "app/tax_rules/tax_table.h"
#include "app/withholding/people_file.h"
#include "app/withholding/rollback_journal.h"
#include "app/withholding/tests/test_folder.h"
#include "base/gbk.h"
#include "platform/fs/real_file_system.h"
#include "runtime/convert/conversions.h"
#include "runtime/recdb/coding.h"

namespace sr::app::test {
namespace {

PersonTexts Row(const char* number, const char* name, const char* id_type = "",
                const char* id_number = "") {
  PersonTexts row;
  row[kPersonNumber] = number;
  row[kPersonName] = name;
  row[kPersonIdType] = id_type;
  row[kPersonIdNumber] = id_number;
  return row;
}

TEST(PeopleFileTest, ResidentIdCheckDigit) {
  EXPECT_TRUE(IsValidResidentId("11010519491231002X"));
  EXPECT_TRUE(IsValidResidentId("11010519491231002x"));
  EXPECT_TRUE(IsValidResidentId("440304199001011233"));
  EXPECT_FALSE(IsValidResidentId("440304199001011234"));  // check digit off by one
  EXPECT_FALSE(IsValidResidentId("110105194912310021"));  // X expected
  EXPECT_FALSE(IsValidResidentId("44030419900101123"));   // 17 characters
  EXPECT_FALSE(IsValidResidentId("4403041990A1011233"));
}

TEST(PeopleFileTest, YearMonths) {
  int year = 0, month = 0;
  EXPECT_TRUE(ParseYearMonth("2026-07", &year, &month));
  EXPECT_EQ(year * 100 + month, 202607);
  EXPECT_TRUE(ParseYearMonth(" 202612 ", &year, &month));
  EXPECT_EQ(month, 12);
  EXPECT_FALSE(ParseYearMonth("2026-13", &year, &month));
  EXPECT_FALSE(ParseYearMonth("2026-7", &year, &month));
  EXPECT_FALSE(ParseYearMonth("2026--07", &year, &month));
  EXPECT_FALSE(ParseYearMonth("七月", &year, &month));
}

TEST(PeopleFileTest, RowsAreCheckedAndNamed) {
  std::vector<PersonTexts> rows = {Row("1001", "张三", kResidentIdType, "11010519491231002X"),
                                   PersonTexts(),  // an empty row is passed over
                                   Row("1002", "李四", "护照", "E1234567")};
  rows[2][kPersonResidence] = "非居民";
  rows[2][kPersonHired] = "2026-07";
  rows[2][kPersonSixtyRule] = "是";
  rows[2][kPersonFirstAdditional + 1] = "2000";
  rows[2][kPersonRelief] = "12.5";
  std::vector<Person> people;
  EXPECT_TRUE(PeopleFromTexts(rows, &people).empty());
  ASSERT_EQ(people.size(), 2u);
  EXPECT_TRUE(people[0].resident);  // empty residence: resident
  EXPECT_FALSE(people[1].resident);
  EXPECT_EQ(people[1].terms.hire_year, 2026);
  EXPECT_EQ(people[1].terms.hire_month, 7);
  EXPECT_TRUE(people[1].terms.sixty_thousand_rule);
  EXPECT_EQ(people[1].additional[1], 2000);
  EXPECT_EQ(people[1].relief, 12.5);

  std::vector<PersonTexts> bad = {Row("1001", "张三", kResidentIdType, "440304199001011234"),
                                  Row("", "无号", "护照", "E1"), Row("1001", "重号", "护照", "E2"),
                                  Row("1004", "负数", "护照", "E3")};
  bad[3][kPersonOther] = "-5";
  bad[3][kPersonResidence] = "外籍";
  bad[3][kPersonHired] = "明年";
  bad[3][kPersonSixtyRule] = "Y";  // not one of the choices: once it meant 否 without a word
  const std::vector<Text> problems = PeopleFromTexts(bad, &people);
  EXPECT_TRUE(people.empty());  // nothing is trusted while a row is wrong
  ASSERT_EQ(problems.size(), 7u);
  EXPECT_NE(problems[5].find("六万元标准应为“是”或“否”（或空着），不是“Y”"), Text::npos)
      << ToUtf8(problems[5]);
  EXPECT_NE(problems[0].find("张三"), Text::npos);
  EXPECT_NE(problems[0].find("校验位"), Text::npos);
  EXPECT_NE(problems[1].find("编号是空的"), Text::npos);
  EXPECT_NE(problems[2].find("重复"), Text::npos);
  EXPECT_NE(problems[2].find("第 3 行"), Text::npos);
  for (int i = 3; i < 7; ++i) EXPECT_NE(problems[i].find("负数"), Text::npos) << ToUtf8(problems[i]);
}

// One taxpayer, one row: a repeated ID number (the check character in either case) would give
// two basic deductions, and a resident needs one. Refused when saved and when loaded, naming
// both rows.
TEST(PeopleFileTest, AnIdNumberTwiceOrAResidentWithoutOneIsRefused) {
  std::vector<PersonTexts> rows = {Row("1001", "张三", kResidentIdType, "11010519491231002X"),
                                   Row("1002", "张三", kResidentIdType, "11010519491231002x"),
                                   Row("1003", "王五", "护照", "E1"), Row("1004", "赵六"),
                                   Row("1005", "John", "护照", "E1")};
  rows[4][kPersonResidence] = "非居民";
  std::vector<Person> people;
  const std::vector<Text> problems = PeopleFromTexts(rows, &people);
  const std::vector<Text> expected = {
      "第 2 行 1002 张三：证件号码 11010519491231002x 与第 1 行（1001 张三）重复：同一个人只能有一行",
      "第 4 行 1004 赵六：居民的证件号码是空的",
      "第 5 行 1005 John：证件号码 E1 与第 3 行（1003 王五）重复：同一个人只能有一行"};
  EXPECT_EQ(problems, expected);
  rows.erase(rows.begin() + 1, rows.begin() + 2);  // a non-resident needs no number
  rows[2][kPersonResidence] = "非居民";
  rows[3][kPersonIdNumber] = "E2";
  EXPECT_TRUE(PeopleFromTexts(rows, &people).empty());

  const std::filesystem::path folder = FreshTestFolder("people_test");
  const Text path = FromUtf8((folder / "people.dat").string());
  DatabaseTable databases{fs::RealFileSystem()};
  Text message;
  const std::vector<RecordValues> twice = {
      RecordOfTexts(Row("1001", "张三", kResidentIdType, "11010519491231002X")),
      RecordOfTexts(Row("1002", "张三", kResidentIdType, "11010519491231002X"))};
  ASSERT_TRUE(WriteRecordFile(databases, fs::RealFileSystem(), path, kPeopleAlias, PeopleFields(),
                              twice, &message));
  PeopleByNumber by_number;
  EXPECT_FALSE(LoadPeople(databases, path, &by_number, &message));
  EXPECT_NE(message.find("第 2 行 1002 张三：证件号码 11010519491231002X 与第 1 行（1001 张三）重复"),
            Text::npos);
  std::filesystem::remove_all(folder);
}

// A GBK path as the system's own: from UTF-8 explicitly, which Windows does not take as the
// narrow code page.
std::filesystem::path Native(const Text& path) {
  const std::string utf8 = ToUtf8(path);
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

class LedgerFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = FreshTestFolder("ledger_test");
    path_ = LedgerPath(FromUtf8(folder_.string()), 2026);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  static LedgerEntry Entry(int year, int month, const char* number, double income,
                           double withheld) {
    LedgerEntry entry;
    entry.year = year;
    entry.month = month;
    entry.number = number;
    entry.name = "张三";
    entry.figures.income = income;
    entry.figures.additional[6] = 100;
    entry.figures.withheld = withheld;
    entry.result.rate = 10;
    entry.result.taxable = 37000;
    entry.source = "一月.dat";
    return entry;
  }

  std::filesystem::path folder_;
  Text path_;
  DatabaseTable databases_{fs::RealFileSystem()};
  fs::FileSystem& files_ = fs::RealFileSystem();
};

// A ledger written before 证件类型 and 计算方法 were kept still opens: its records are residents'
// by the cumulative method, a calculated month's income gets back the tax-exempt income it left
// out (a month taken over keeps its own), and the next saving writes the ledger whole anew.
TEST_F(LedgerFileTest, ALedgerOfTheEarlierLayoutOpensAndIsWrittenAnew) {
  const std::vector<recdb::FieldDescriptor> fields = EarlierLedgerFields();
  auto record = [&](int month, const char* number, double income, double exempt,
                    const Text& source) {
    RecordValues values;
    for (const recdb::FieldDescriptor& field : fields) {
      const Text name = field.name;
      if (name == "月份") {
        values.push_back(Value::Int(202600 + month));
      } else if (field.type == recdb::FieldType::kInt) {
        values.push_back(Value::Int(3));
      } else if (field.type == recdb::FieldType::kText) {
        values.push_back(Value::FromText(name == "编号" ? Text(number) : name == "来源" ? source : ""));
      } else {
        values.push_back(Value::Double(name == "收入额" || name == "累计收入额" ? income
                                       : name == "免税收入" || name == "累计免税收入" ? exempt
                                                                                   : 0));
      }
    }
    return values;
  };
  Text message;
  ASSERT_TRUE(WriteRecordFile(databases_, files_, path_, "扣缴台账", fields,
                              {record(1, "1001", 13000, 2000, Concat({kTakenOverSource, "a.csv"})),
                               record(2, "1001", 13000, 2000, "二月.dat")},
                              &message));
  std::vector<LedgerEntry> entries;
  ASSERT_TRUE(LoadLedger(databases_, files_, path_, 2026, &entries, &message)) << ToUtf8(message);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].figures.income, 13000);  // taken over: as it was
  EXPECT_EQ(entries[1].figures.income, 15000);
  EXPECT_EQ(entries[1].result.sums.income, 15000);
  EXPECT_EQ(entries[1].method, kCumulativeMethod);

  LedgerOfMonth ledger;
  ASSERT_TRUE(LoadLedgerOfMonth(databases_, files_, path_, 2026, 3, &ledger, &message));
  EXPECT_FALSE(InPlace(ledger));
  EXPECT_EQ(ledger.earlier.at("1001").income, 28000);
  LedgerEntry march = Entry(2026, 3, "1001", 15000, 90);
  march.id_type = "护照";
  ASSERT_TRUE(SaveLedgerOfMonth(databases_, files_, path_, ledger, {march}, &message));
  std::vector<RecordValues> stored;
  ASSERT_TRUE(ReadRecordFile(databases_, path_, "扣缴台账", LedgerFields(), &stored, &message))
      << ToUtf8(message);
  ASSERT_EQ(stored.size(), 3u);
  ASSERT_TRUE(LoadLedger(databases_, files_, path_, 2026, &entries, &message));
  EXPECT_EQ(entries[1].figures.income, 15000);  // added back once, not at every reading
  EXPECT_EQ(entries[2].id_type, "护照");
}

TEST_F(LedgerFileTest, RoundTripAndSumsOfEarlierMonths) {
  std::vector<LedgerEntry> entries;
  Text message;
  ASSERT_TRUE(LoadLedger(databases_, files_, path_, 2026, &entries, &message));  // none yet
  EXPECT_TRUE(entries.empty());
  entries = {Entry(2026, 1, "1001", 30000, 555), Entry(2026, 2, "1001", 30000, 625),
             Entry(2026, 2, "1002", 8000.5, 0), Entry(2026, 3, "1001", 30000, 1850)};
  ASSERT_TRUE(SaveLedger(databases_, files_, path_, entries, &message)) << ToUtf8(message);
  std::vector<LedgerEntry> read;
  ASSERT_TRUE(LoadLedger(databases_, files_, path_, 2026, &read, &message)) << ToUtf8(message);
  ASSERT_EQ(read.size(), 4u);
  EXPECT_EQ(read[2].number, "1002");
  EXPECT_EQ(read[2].figures.income, 8000.5);
  EXPECT_EQ(read[3].figures.additional[6], 100);
  EXPECT_EQ(read[3].result.rate, 10);
  EXPECT_EQ(read[3].source, "一月.dat");
  EXPECT_EQ(LastMonth(read), 3);
  const auto sums = SumsBefore(read, 3);
  EXPECT_EQ(sums.at("1001").income, 60000);
  EXPECT_EQ(sums.at("1001").withheld, 1180);
  EXPECT_EQ(sums.at("1001").additional, 200);
  EXPECT_EQ(sums.at("1002").income, 8000.5);

  // Month 2 again from another register: the source is named, and replacing keeps the other
  // months.
  LedgerOfMonth of_month;
  ASSERT_TRUE(LoadLedgerOfMonth(databases_, files_, path_, 2026, 2, &of_month, &message));
  EXPECT_EQ(of_month.sources, std::vector<Text>{"一月.dat"});
  EXPECT_EQ(of_month.earlier.size(), 1u);
  EXPECT_EQ(of_month.earlier.at("1001").income, 30000);
  const std::vector<LedgerEntry> replaced =
      ReplaceMonth(read, 2, {Entry(2026, 2, "1003", 1, 0)});
  ASSERT_EQ(replaced.size(), 3u);
  EXPECT_EQ(replaced[1].number, "1003");
  EXPECT_EQ(replaced[2].month, 3);
}

// The ledger is written and read a whole record at a time; rewriting every field one by one
// with what a field-by-field read gives must leave each byte as it was.
TEST_F(LedgerFileTest, WholeRecordsAreStoredAsFieldByFieldWritesStoreThem) {
  std::vector<LedgerEntry> entries;
  for (int month = 1; month <= 3; ++month) {
    for (int p = 0; p < 700; ++p) {  // more records than one slice of the reading
      LedgerEntry entry = Entry(2026, month, p % 2 ? "10012345678901234567890" : "7", 0.1 * p, 3);
      entry.result.quick = -p;
      entry.source = Text(p % 250, 'x');  // up to past the field's width
      entries.push_back(entry);
    }
  }
  Text message;
  ASSERT_TRUE(SaveLedger(databases_, files_, path_, entries, &message)) << ToUtf8(message);
  std::ifstream in(Native(path_), std::ios::binary);
  const std::string written((std::istreambuf_iterator<char>(in)), {});
  in.close();  // Windows would refuse the database's share mode while it is open here
  ASSERT_FALSE(written.empty());

  ASSERT_TRUE(databases_.OpenDatabase(path_, "l", OpenOptions::WithShareMode(4)));
  const int fields = int(LedgerFields().size());
  for (int32_t r = 1; r <= databases_.GetRecordCount(); ++r) {
    ASSERT_TRUE(databases_.GotoRecord(r));
    for (int f = 1; f <= fields; ++f)
      ASSERT_TRUE(databases_.WriteField(f, databases_.ReadField(f)));
  }
  databases_.CloseDatabase("l");
  std::ifstream again(Native(path_), std::ios::binary);
  EXPECT_TRUE(written == std::string((std::istreambuf_iterator<char>(again)), {}));
  again.close();

  std::vector<LedgerEntry> read;
  ASSERT_TRUE(LoadLedger(databases_, files_, path_, 2026, &read, &message)) << ToUtf8(message);
  ASSERT_EQ(read.size(), entries.size());
  EXPECT_EQ(read[2099].figures.income, entries[2099].figures.income);
  EXPECT_EQ(read[2099].result.quick, -699);
  EXPECT_EQ(read[1400].month, 3);
  EXPECT_EQ(read[1].number, "10012345678901234567");  // cut to the field's width
  EXPECT_EQ(read[249].source, Text(200, 'x'));        // cut as well
  EXPECT_EQ(read[199].source, Text(199, 'x'));
}

// A file's bytes without its creation time, which differs from one writing to the next.
std::string FileBytes(const Text& path) {
  std::ifstream in(Native(path), std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), {});
  if (bytes.size() >= 16) bytes.replace(8, 8, 8, '\0');
  return bytes;
}

// Every member of an entry set to a value of its own, so that two fields swapped show.
LedgerEntry EveryMemberSet(int month, int person) {
  LedgerEntry e;
  e.year = 2026;
  e.month = month;
  e.number = Concat({"N", ToText(person)});
  e.name = "王五";
  e.id_number = "11010519491231002X";
  double next = person * 1000 + month * 50 + 0.01;
  for (double* amount :
       {&e.figures.income, &e.figures.exempt_income, &e.figures.special, &e.figures.other, &e.basic,
        &e.figures.relief, &e.figures.withheld, &e.result.sums.income, &e.result.sums.exempt_income,
        &e.result.sums.special, &e.result.sums.additional, &e.result.sums.other, &e.result.basic,
        &e.result.sums.relief, &e.result.taxable, &e.result.quick, &e.result.tax_on_taxable,
        &e.result.withheld_before}) {
    *amount = next++;
  }
  for (double& amount : e.figures.additional) amount = next++;
  e.result.rate = 3 + month;
  e.source = Concat({"/工资/", ToText(month), "月.dat"});
  return e;
}

// Ledgers are coded straight from their entries, never through a value per field: the file must
// hold each figure under its field's name, and be byte for byte what writing the same values
// field by field makes (apart from the creation time in the header).
TEST_F(LedgerFileTest, StoredAsTheValuesFieldByFieldWouldStoreThem) {
  std::vector<LedgerEntry> entries;
  for (int month = 1; month <= 2; ++month) {
    for (int p = 1; p <= 600; ++p) entries.push_back(EveryMemberSet(month, p));
  }
  Text message;
  ASSERT_TRUE(SaveLedger(databases_, files_, path_, entries, &message)) << ToUtf8(message);

  std::vector<RecordValues> records;
  ASSERT_TRUE(ReadRecordFile(databases_, path_, "l", LedgerFields(), &records, &message));
  ASSERT_EQ(records.size(), entries.size());
  const LedgerEntry& e = entries[1000];
  const std::vector<recdb::FieldDescriptor> fields = LedgerFields();
  auto field = [&](const char* name) {
    for (size_t f = 0; f < fields.size(); ++f) {
      if (fields[f].name == name) return records[1000][f];
    }
    ADD_FAILURE() << "no field " << name;
    return Value();
  };
  EXPECT_EQ(field("月份"), Value::Int(202602));
  EXPECT_EQ(field("编号"), Value::FromText(e.number));
  EXPECT_EQ(field("证件号码"), Value::FromText(e.id_number));
  EXPECT_EQ(field("收入额"), Value::Double(e.figures.income));
  EXPECT_EQ(field("专项扣除"), Value::Double(e.figures.special));
  EXPECT_EQ(field("住房租金"), Value::Double(e.figures.additional[4]));
  EXPECT_EQ(field("减除费用"), Value::Double(e.basic));
  EXPECT_EQ(field("本月预扣税额"), Value::Double(e.figures.withheld));
  EXPECT_EQ(field("累计附加扣除"), Value::Double(e.result.sums.additional));
  EXPECT_EQ(field("累计减除费用"), Value::Double(e.result.basic));
  EXPECT_EQ(field("预扣率"), Value::Int(5));
  EXPECT_EQ(field("速算扣除数"), Value::Double(e.result.quick));
  EXPECT_EQ(field("累计已预扣"), Value::Double(e.result.withheld_before));
  EXPECT_EQ(field("来源"), Value::FromText(e.source));

  const Text plain = Concat({ToUtf8(folder_.string()), "/plain.dat"});
  ASSERT_TRUE(WriteRecordFile(databases_, files_, plain, "p", LedgerFields(), records, &message));
  const std::string fast = FileBytes(path_);
  ASSERT_GT(fast.size(), 1200u * 400);
  EXPECT_TRUE(fast == FileBytes(plain));

  // And read back, every member comes back as it went in.
  std::vector<LedgerEntry> read;
  ASSERT_TRUE(LoadLedger(databases_, files_, path_, 2026, &read, &message)) << ToUtf8(message);
  ASSERT_EQ(read.size(), entries.size());
  for (size_t i : {size_t(0), size_t(599), size_t(1000), size_t(1199)}) {
    SCOPED_TRACE(i);
    const LedgerEntry& a = read[i];
    const LedgerEntry& b = entries[i];
    EXPECT_EQ(a.month, b.month);
    EXPECT_EQ(a.number, b.number);
    EXPECT_EQ(a.name, b.name);
    EXPECT_EQ(a.id_number, b.id_number);
    EXPECT_EQ(a.source, b.source);
    EXPECT_EQ(a.result.rate, b.result.rate);
    EXPECT_EQ(a.result.tax, b.figures.withheld);
    EXPECT_EQ(a.figures.additional, b.figures.additional);
    for (auto member :
         {&CumulativeSums::income, &CumulativeSums::exempt_income, &CumulativeSums::special,
          &CumulativeSums::additional, &CumulativeSums::other, &CumulativeSums::relief}) {
      EXPECT_EQ(a.result.sums.*member, b.result.sums.*member);
    }
    for (auto member : {&MonthFigures::income, &MonthFigures::exempt_income, &MonthFigures::special,
                        &MonthFigures::other, &MonthFigures::relief, &MonthFigures::withheld}) {
      EXPECT_EQ(a.figures.*member, b.figures.*member);
    }
    for (auto member :
         {&CumulativeResult::basic, &CumulativeResult::taxable, &CumulativeResult::quick,
          &CumulativeResult::tax_on_taxable, &CumulativeResult::withheld_before}) {
      EXPECT_EQ(a.result.*member, b.result.*member);
    }
    EXPECT_EQ(a.basic, b.basic);
  }
}

// The calculation rewrites the months it leaves alone from their stored bytes. The file must be
// the one that reading every entry, replacing the month and writing every entry makes: for the
// last month, a month in the middle and a new month, also when a text's unused room holds bytes
// that a field write would have cleared; and for one register of a month of two, whose other
// register's records stay and count as this month's.
TEST_F(LedgerFileTest, MonthRewrittenFromStoredBytesAsFromItsEntries) {
  std::vector<LedgerEntry> entries;
  for (int month = 1; month <= 4; ++month) {
    for (int p = 1; p <= 30; ++p) {
      LedgerEntry entry = EveryMemberSet(month, p);
      if (p == 7) entry.number = "12345678901234567890";  // fills its field: no NUL
      if (month == 2 && p > 20) entry.source = "/工资/补发.dat";
      entries.push_back(entry);
    }
  }
  Text message;
  ASSERT_TRUE(SaveLedger(databases_, files_, path_, entries, &message)) << ToUtf8(message);
  // Leftovers after the names' NULs, as another program may leave them.
  ASSERT_TRUE(databases_.OpenDatabase(path_, "l", OpenOptions::WithShareMode(4)));
  std::string bytes;
  ASSERT_TRUE(databases_.ReadRecordBytes(1, 120, &bytes));
  databases_.CloseDatabase("l");
  std::vector<recdb::FieldDescriptor> laid = LedgerFields();
  const size_t size = size_t(recdb::AssignOffsets(&laid));
  for (size_t r : {0, 31, 95}) bytes.replace(r * size + laid[2].offset + 6, 3, "old");
  ASSERT_TRUE(WriteRecordFile(databases_, files_, path_, "l", LedgerFields(), {}, &message));
  ASSERT_TRUE(databases_.OpenDatabase(path_, "l", OpenOptions::WithShareMode(4)));
  ASSERT_TRUE(databases_.AppendRecordBytes(bytes));
  databases_.CloseDatabase("l");

  const Text plain = Concat({ToUtf8(folder_.string()), "/plain.dat"});
  const Text fast = Concat({ToUtf8(folder_.string()), "/fast.dat"});
  const Text bonus = "/工资/补发.dat";
  for (const auto& [month, source] : std::vector<std::pair<int, Text>>{
           {4, ""}, {2, ""}, {5, ""}, {2, bonus}, {4, bonus}}) {
    SCOPED_TRACE(Concat({ToText(month), " ", source}));
    std::vector<LedgerEntry> fresh;
    for (int p = 3; p <= 40; p += 3) fresh.push_back(EveryMemberSet(month, p * 7));
    std::vector<LedgerEntry> read;
    ASSERT_TRUE(LoadLedger(databases_, files_, path_, 2026, &read, &message));
    ASSERT_EQ(read[31].name, "王五");
    // The month is saved into a copy of the ledger read, which the saving expects to find.
    ASSERT_EQ(files_.CopyFile(path_, fast), fs::kOk);
    LedgerOfMonth of_month;
    ASSERT_TRUE(
        LoadLedgerOfMonth(databases_, files_, fast, 2026, month, &of_month, &message, source));
    EXPECT_EQ(of_month.earlier, SumsBefore(read, month));
    EXPECT_EQ(of_month.sources.size(), month == 2 ? 2u : month == 4 ? 1u : 0u);
    EXPECT_EQ(of_month.this_month.size(), source.empty() ? 0u : month == 2 ? 20u : 30u);
    if (!source.empty()) EXPECT_EQ(of_month.this_month, SumsOfOtherRegisters(read, month, source));
    for (LedgerEntry& entry : fresh) entry.source = source.empty() ? entry.source : source;

    ASSERT_TRUE(SaveLedger(databases_, files_, plain, ReplaceMonth(read, month, fresh, source),
                           &message));
    ASSERT_TRUE(SaveLedgerOfMonth(databases_, files_, fast, of_month, fresh, &message));
    const std::string expected = FileBytes(plain);
    ASSERT_GT(expected.size(), 100u * size);
    EXPECT_TRUE(FileBytes(fast) == expected);
  }
}

// The header's creation time, which a month written in place keeps.
std::string CreationTime(const Text& path) {
  std::ifstream in(Native(path), std::ios::binary);
  std::string bytes(16, '\0');
  in.read(bytes.data(), 16);
  return bytes.substr(8);
}

// Changes the header's creation time, as if the file had been written whole at another time.
void ChangeCreationTime(const Text& path, double (*change)(double created)) {
  std::fstream file(Native(path), std::ios::binary | std::ios::in | std::ios::out);
  uint8_t bytes[8];
  file.seekg(8);
  file.read(reinterpret_cast<char*>(bytes), 8);
  recdb::PutDouble(bytes, change(recdb::GetDouble(bytes)));
  file.seekp(8);
  file.write(reinterpret_cast<const char*>(bytes), 8);
}

// Months 1 to 3 of 30 people each.
std::vector<LedgerEntry> ThreeMonths() {
  std::vector<LedgerEntry> entries;
  for (int month = 1; month <= 3; ++month) {
    for (int p = 1; p <= 30; ++p) entries.push_back(EveryMemberSet(month, p));
  }
  return entries;
}

// Saves `month` as a calculation does, over the ledger at `path` as it is now, and the same
// month through the whole entries into `plain`: both files must be the same, byte for byte.
// With a `source`, only that register's records of the month are replaced.
void SaveMonthBothWays(DatabaseTable& databases, fs::FileSystem& files, const Text& path,
                       const Text& plain, int month, int people, bool in_place,
                       const Text& source = Text()) {
  std::vector<LedgerEntry> fresh;
  for (int p = 1; p <= people; ++p) {
    fresh.push_back(EveryMemberSet(month, 100 + p));
    if (!source.empty()) fresh.back().source = source;
  }
  std::vector<LedgerEntry> read;
  LedgerOfMonth of_month;
  Text message;
  ASSERT_TRUE(LoadLedger(databases, files, path, 2026, &read, &message));
  ASSERT_TRUE(LoadLedgerOfMonth(databases, files, path, 2026, month, &of_month, &message, source));
  EXPECT_EQ(InPlace(of_month), in_place);
  EXPECT_EQ(of_month.earlier, SumsBefore(read, month));
  const std::string created = CreationTime(path);
  ASSERT_TRUE(SaveLedgerOfMonth(databases, files, path, of_month, fresh, &message))
      << ToUtf8(message);
  ASSERT_TRUE(
      SaveLedger(databases, files, plain, ReplaceMonth(read, month, fresh, source), &message));
  EXPECT_TRUE(FileBytes(path) == FileBytes(plain));
  if (in_place) {
    EXPECT_EQ(CreationTime(path), created);
  }
  EXPECT_FALSE(FileExists(files, JournalPath(path)));
}

// A new month after the last one, and the last month again with fewer and with more people,
// are written into the ledger itself; the file is what writing it whole makes.
TEST_F(LedgerFileTest, LastMonthOrANewOneWrittenInPlaceAsAWholeWriteWritesIt) {
  Text message;
  ASSERT_TRUE(SaveLedger(databases_, files_, path_, ThreeMonths(), &message));
  const Text plain = Concat({ToUtf8(folder_.string()), "/plain.dat"});
  for (auto [month, people] : {std::pair{4, 38}, {4, 12}, {4, 50}, {4, 0}, {3, 31}, {6, 9}}) {
    SCOPED_TRACE(month * 100 + people);
    SaveMonthBothWays(databases_, files_, path_, plain, month, people, true);
  }
  // A second register of the last month, then the first one again: the other's records stay.
  SaveMonthBothWays(databases_, files_, path_, plain, 6, 4, true, "/工资/补发.dat");
  SaveMonthBothWays(databases_, files_, path_, plain, 6, 11, true, "/工资/6月.dat");
  std::vector<LedgerEntry> read;
  Text ignored;
  ASSERT_TRUE(LoadLedger(databases_, files_, path_, 2026, &read, &ignored));
  EXPECT_EQ(PersonMonths(read, 6).size(), 11u);
  EXPECT_EQ(std::count_if(read.begin(), read.end(),
                          [](const LedgerEntry& e) { return e.source == "/工资/补发.dat"; }),
            4);
}

#ifndef _WIN32
// A ledger reached through a symbolic link: its target is changed in place, with the journal
// beside the target, and the link stays a link.
TEST_F(LedgerFileTest, ALinkedLedgerIsChangedInItsTarget) {
  Text message;
  const std::filesystem::path elsewhere = folder_ / "elsewhere";
  std::filesystem::create_directories(elsewhere);
  const Text target = FromUtf8((elsewhere / "ledger.dat").string());
  ASSERT_TRUE(SaveLedger(databases_, files_, target, ThreeMonths(), &message));
  std::filesystem::create_symlink(Native(target), Native(path_));
  const Text plain = Concat({ToUtf8(folder_.string()), "/plain.dat"});
  SaveMonthBothWays(databases_, files_, path_, plain, 4, 25, true);
  EXPECT_TRUE(std::filesystem::is_symlink(Native(path_)));
  EXPECT_TRUE(FileBytes(target) == FileBytes(plain));
  EXPECT_FALSE(FileExists(files_, JournalPath(target)));
}
#endif

// A month in the middle, a ledger out of month order and one whose texts hold leftovers after
// their end are written whole, as before.
TEST_F(LedgerFileTest, WhatCannotBeWrittenInPlaceIsWrittenWhole) {
  Text message;
  const Text plain = Concat({ToUtf8(folder_.string()), "/plain.dat"});
  ASSERT_TRUE(SaveLedger(databases_, files_, path_, ThreeMonths(), &message));
  SaveMonthBothWays(databases_, files_, path_, plain, 2, 20, false);
  SCOPED_TRACE("made by a program that gave it no creation time");
  ChangeCreationTime(path_, [](double) { return 0.0; });
  SaveMonthBothWays(databases_, files_, path_, plain, 2, 20, false);
  SCOPED_TRACE("out of order");

  std::vector<LedgerEntry> unordered = ThreeMonths();
  std::swap(unordered[5], unordered[40]);  // a February record among January's
  ASSERT_TRUE(SaveLedger(databases_, files_, path_, unordered, &message));
  SaveMonthBothWays(databases_, files_, path_, plain, 3, 20, false);

  SCOPED_TRACE("bytes after the end of a text");
  // Bytes after a name's end, as another program may leave them.
  ASSERT_TRUE(SaveLedger(databases_, files_, path_, ThreeMonths(), &message));
  ASSERT_TRUE(databases_.OpenDatabase(path_, "l", OpenOptions::WithShareMode(4)));
  std::string bytes;
  ASSERT_TRUE(databases_.ReadRecordBytes(1, 90, &bytes));
  databases_.CloseDatabase("l");
  std::vector<recdb::FieldDescriptor> laid = LedgerFields();
  bytes.replace(size_t(recdb::AssignOffsets(&laid)) + laid[2].offset + 6, 3, "old");
  ASSERT_TRUE(WriteRecordFile(databases_, files_, path_, "l", LedgerFields(), {}, &message));
  ASSERT_TRUE(databases_.OpenDatabase(path_, "l", OpenOptions::WithShareMode(4)));
  ASSERT_TRUE(databases_.AppendRecordBytes(bytes));
  databases_.CloseDatabase("l");
  SaveMonthBothWays(databases_, files_, path_, plain, 3, 20, false);
}

// A ledger that changed between reading and saving is not written over: the calculation was
// worked out from what it held before. Changed in its last month or in an earlier one, with
// the month written in place (March) or the whole ledger written anew (February); and a
// ledger that another program made while there was none.
TEST_F(LedgerFileTest, ALedgerChangedSinceItWasReadIsLeftAsItIs) {
  for (int month : {3, 2}) {
    for (bool earlier : {false, true}) {
      SCOPED_TRACE(month * 10 + earlier);
      Text message;
      ASSERT_TRUE(SaveLedger(databases_, files_, path_, ThreeMonths(), &message));
      LedgerOfMonth of_month;
      ASSERT_TRUE(LoadLedgerOfMonth(databases_, files_, path_, 2026, month, &of_month, &message));
      ASSERT_EQ(InPlace(of_month), month == 3);
      std::vector<LedgerEntry> other = ThreeMonths();
      (earlier ? other.front() : other.back()).figures.income += 1;
      ASSERT_TRUE(SaveLedger(databases_, files_, path_, other, &message));
      ChangeCreationTime(path_, [](double created) { return created + 1.0 / 86400; });
      const std::string changed = FileBytes(path_);
      EXPECT_FALSE(SaveLedgerOfMonth(databases_, files_, path_, of_month,
                                     {EveryMemberSet(month, 1)}, &message));
      EXPECT_NE(message.find(path_), Text::npos) << ToUtf8(message);
      EXPECT_NE(message.find("改动"), Text::npos) << ToUtf8(message);
      EXPECT_TRUE(FileBytes(path_) == changed);
    }
  }
  std::filesystem::remove(Native(path_));
  Text message;
  LedgerOfMonth of_month;
  ASSERT_TRUE(LoadLedgerOfMonth(databases_, files_, path_, 2026, 3, &of_month, &message));
  ASSERT_TRUE(SaveLedger(databases_, files_, path_, ThreeMonths(), &message));
  const std::string made = FileBytes(path_);
  EXPECT_FALSE(SaveLedgerOfMonth(databases_, files_, path_, of_month, {EveryMemberSet(3, 1)},
                                 &message));
  EXPECT_TRUE(FileBytes(path_) == made);
}

// The whole ledger saved from what was read (an import of months taken over) is not written over
// a ledger that another program has added a month to, written anew or made meanwhile.
TEST_F(LedgerFileTest, ALedgerSavedWholeFromWhatWasReadRefusesOneChangedMeanwhile) {
  Text message;
  ASSERT_TRUE(SaveLedger(databases_, files_, path_, ThreeMonths(), &message));
  std::vector<LedgerEntry> read;
  LedgerStamp stamp;
  ASSERT_TRUE(LoadLedger(databases_, files_, path_, 2026, &read, &message, &stamp));
  LedgerOfMonth april;
  ASSERT_TRUE(LoadLedgerOfMonth(databases_, files_, path_, 2026, 4, &april, &message));
  ASSERT_TRUE(SaveLedgerOfMonth(databases_, files_, path_, april, {EveryMemberSet(4, 1)},
                                &message));
  const std::string with_april = FileBytes(path_);
  EXPECT_FALSE(SaveLedger(databases_, files_, path_, read, &message, &stamp));
  EXPECT_NE(message.find(path_), Text::npos) << ToUtf8(message);
  EXPECT_NE(message.find("改动"), Text::npos) << ToUtf8(message);
  EXPECT_TRUE(FileBytes(path_) == with_april);

  ASSERT_TRUE(LoadLedger(databases_, files_, path_, 2026, &read, &message, &stamp));
  ChangeCreationTime(path_, [](double created) { return created + 1.0 / 86400; });
  EXPECT_FALSE(SaveLedger(databases_, files_, path_, read, &message, &stamp));
  ASSERT_TRUE(LoadLedger(databases_, files_, path_, 2026, &read, &message, &stamp));
  EXPECT_TRUE(SaveLedger(databases_, files_, path_, read, &message, &stamp)) << ToUtf8(message);

  std::filesystem::remove(Native(path_));
  ASSERT_TRUE(LoadLedger(databases_, files_, path_, 2026, &read, &message, &stamp));
  ASSERT_TRUE(SaveLedger(databases_, files_, path_, ThreeMonths(), &message));
  EXPECT_FALSE(SaveLedger(databases_, files_, path_, read, &message, &stamp));
}

#ifndef _WIN32
// A ledger that may not be written, or lies in a folder that takes no new file, is read as
// always; the month is not written in place and the save says so; a journal left beside a
// ledger that may not be written is not put back, and the ledger is not shown half written.
TEST_F(LedgerFileTest, ALedgerThatMayNotBeWrittenIsReadButNotChanged) {
  namespace perms = std::filesystem;
  Text message;
  ASSERT_TRUE(SaveLedger(databases_, files_, path_, ThreeMonths(), &message));
  const std::string saved = FileBytes(path_);
  auto as_user = [&](bool journal_left) {
    return testing::RunAsUser([&] {
      DatabaseTable databases(files_);
      LedgerOfMonth of_month;
      Text problem;
      if (journal_left) {
        return LoadLedgerOfMonth(databases, files_, path_, 2026, 3, &of_month, &problem) ? 1
               : problem.find(path_) == Text::npos                                     ? 2
                                                                                       : 0;
      }
      if (!LoadLedgerOfMonth(databases, files_, path_, 2026, 3, &of_month, &problem)) return 3;
      if (!InPlace(of_month) || of_month.months.size() != 90) return 4;
      if (SaveLedgerOfMonth(databases, files_, path_, of_month, {EveryMemberSet(3, 1)},
                            &problem)) {
        return 5;
      }
      return problem.find(path_) == Text::npos ? 6 : 0;
    });
  };
  perms::permissions(folder_, perms::perms::all);
  perms::permissions(Native(path_), perms::perms::owner_read | perms::perms::group_read |
                                        perms::perms::others_read);
  EXPECT_EQ(as_user(false), 0) << "read-only ledger";
  EXPECT_TRUE(FileBytes(path_) == saved);
  EXPECT_FALSE(FileExists(files_, JournalPath(path_)));

  perms::permissions(folder_, perms::perms::owner_all | perms::perms::group_read |
                                  perms::perms::group_exec | perms::perms::others_read |
                                  perms::perms::others_exec);
  perms::permissions(Native(path_), perms::perms::all & ~perms::perms::owner_exec &
                                        ~perms::perms::group_exec & ~perms::perms::others_exec);
  EXPECT_EQ(as_user(false), 0) << "read-only folder";
  EXPECT_TRUE(FileBytes(path_) == saved);
  EXPECT_FALSE(FileExists(files_, JournalPath(path_)));

  // A save cut short after it wrote over the first record, then the ledger made read-only.
  std::string first_bytes = saved.substr(4, 8);
  ASSERT_EQ(RollbackJournal(files_, path_).Begin(int64_t(saved.size()), {{4, first_bytes}}),
            fs::kOk);
  std::fstream(Native(path_), std::ios::binary | std::ios::in | std::ios::out).write("12345678", 8);
  const std::string half = FileBytes(path_);
  perms::permissions(Native(path_), perms::perms::owner_read | perms::perms::group_read |
                                        perms::perms::others_read);
  EXPECT_EQ(as_user(true), 0) << "journal left";
  EXPECT_TRUE(FileBytes(path_) == half);
  EXPECT_TRUE(FileExists(files_, JournalPath(path_)));
}
#endif

#ifndef _WIN32
// Another user's program that reads every file of the folder as soon as it appears, until a
// file "stop" appears: the number of files it could read something from (each named).
int ReadEverythingIn(const std::string& folder) {
  int read_any = 0;
  const std::time_t deadline = std::time(nullptr) + 60;
  for (bool stop = false; !stop && std::time(nullptr) < deadline;) {
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) return 0;  // the folder itself keeps others out
    while (const dirent* entry = readdir(dir)) {
      const std::string name = entry->d_name;
      stop = stop || name == "stop";
      if (name == "." || name == ".." || name == "stop") continue;
      const int fd = open((folder + "/" + name).c_str(), O_RDONLY | O_NONBLOCK);
      char byte;
      if (fd >= 0 && read(fd, &byte, 1) == 1) {
        std::fprintf(stderr, "another user read %s\n", name.c_str());
        ++read_any;
      }
      if (fd >= 0) close(fd);
    }
    closedir(dir);
  }
  return std::min(read_any, 100);
}

// In a folder that others may look into, with the usual mask that leaves new files readable by
// all, nothing the ledger's saves write (the new ledger, its saving file, its journal) can be
// read by another user at any moment, and what is left is its owner's alone.
TEST_F(LedgerFileTest, AnotherUserReadsNothingThatTheSavesWrite) {
  if (!testing::CanChangeOwners()) GTEST_SKIP() << "another user needs a test run as root";
  namespace perms = std::filesystem;
  const mode_t mask = umask(022);
  perms::permissions(folder_, perms::perms::owner_all | perms::perms::group_read |
                                  perms::perms::group_exec | perms::perms::others_read |
                                  perms::perms::others_exec);
  const std::string folder = folder_.string();
  const pid_t watcher = testing::StartAsUser([&] { return ReadEverythingIn(folder); });
  auto save_round = [&](int round) {
    Text message;
    perms::remove(Native(path_));
    LedgerOfMonth april;
    return SaveLedger(databases_, files_, path_, ThreeMonths(), &message) &&  // a new file
           SaveLedger(databases_, files_, path_, ThreeMonths(), &message) &&  // replaced whole
           LoadLedgerOfMonth(databases_, files_, path_, 2026, 4, &april, &message) &&
           SaveLedgerOfMonth(databases_, files_, path_, april, {EveryMemberSet(4, round)},
                             &message);  // in place, with a journal
  };
  for (int round = 1; round <= 20; ++round) {
    if (!save_round(round)) {
      ADD_FAILURE() << "save round " << round;
      break;
    }
  }
  std::ofstream(folder_ / "stop").put('!');
  EXPECT_EQ(testing::WaitForUser(watcher), 0) << "files read by another user";
  for (const auto& entry : perms::directory_iterator(folder_)) {
    if (entry.path().filename() == "stop") continue;
    EXPECT_EQ(entry.status().permissions() & (perms::perms::group_all | perms::perms::others_all),
              perms::perms::none)
        << entry.path();
  }
  umask(mask);
}
#endif

// What a save cut short leaves beside the ledger: a journal still being written is removed, one
// beside a ledger that is gone is removed, and a damaged one is refused by the ledger's name
// with the ledger left as it is.
TEST_F(LedgerFileTest, JournalsLeftBesideTheLedger) {
  Text message;
  ASSERT_TRUE(SaveLedger(databases_, files_, path_, ThreeMonths(), &message));
  const std::string saved = FileBytes(path_);
  std::vector<LedgerEntry> read;
  std::ofstream(Native(JournalPath(path_) + ".new"), std::ios::binary) << "half a journal";
  ASSERT_TRUE(LoadLedger(databases_, files_, path_, 2026, &read, &message)) << ToUtf8(message);
  EXPECT_EQ(read.size(), 90u);
  EXPECT_FALSE(FileExists(files_, JournalPath(path_) + ".new"));

  std::ofstream(Native(JournalPath(path_)), std::ios::binary) << "SRJOURN1 but nothing sound";
  EXPECT_FALSE(LoadLedger(databases_, files_, path_, 2026, &read, &message));
  EXPECT_NE(message.find(path_), Text::npos) << ToUtf8(message);
  EXPECT_NE(message.find(JournalPath(path_) + " 已损坏"), Text::npos) << ToUtf8(message);
  EXPECT_FALSE(SaveLedger(databases_, files_, path_, ThreeMonths(), &message));
  EXPECT_TRUE(FileBytes(path_) == saved);
  EXPECT_TRUE(FileExists(files_, JournalPath(path_)));

  std::filesystem::remove(Native(path_));
  ASSERT_TRUE(LoadLedger(databases_, files_, path_, 2026, &read, &message)) << ToUtf8(message);
  EXPECT_TRUE(read.empty());
  EXPECT_FALSE(FileExists(files_, JournalPath(path_)));
}

TEST_F(LedgerFileTest, AnotherYearOrADamagedFileIsRefusedByName) {
  Text message;
  LedgerOfMonth of_month;
  ASSERT_TRUE(SaveLedger(databases_, files_, path_, {Entry(2025, 12, "1001", 1, 0)}, &message));
  std::vector<LedgerEntry> read;
  EXPECT_FALSE(LoadLedger(databases_, files_, path_, 2026, &read, &message));
  EXPECT_NE(message.find(path_), Text::npos);
  EXPECT_NE(message.find("202512"), Text::npos) << ToUtf8(message);
  // The lowest month number a record can hold: far from any year, with no overflow on the way.
  ASSERT_TRUE(SaveLedger(databases_, files_, path_, {Entry(-21474836, -48, "1001", 1, 0)},
                         &message));
  EXPECT_FALSE(LoadLedgerOfMonth(databases_, files_, path_, 2026, 1, &of_month, &message));
  EXPECT_NE(message.find("-2147483648"), Text::npos) << ToUtf8(message);

  // A file of the right name that is no record database at all.
  const std::filesystem::path native = folder_ / std::filesystem::path(u8"扣缴台账2026.dat");
  ASSERT_TRUE(std::filesystem::exists(native));
  std::ofstream(native, std::ios::trunc) << "not a ledger";
  message.clear();
  EXPECT_FALSE(LoadLedger(databases_, files_, path_, 2026, &read, &message));
  EXPECT_NE(message.find(path_), Text::npos) << ToUtf8(message);
  EXPECT_EQ(message.find("202512"), Text::npos) << ToUtf8(message);

  // A record database with other fields: the people file saved under the ledger's name.
  std::filesystem::remove(native);
  ASSERT_TRUE(WriteRecordFile(databases_, files_, path_, "x", PeopleFields(), {}, &message));
  EXPECT_FALSE(LoadLedger(databases_, files_, path_, 2026, &read, &message));
  EXPECT_NE(message.find("字段"), Text::npos) << ToUtf8(message);

  // The ledger's field names with one of another type: its records are laid out otherwise.
  std::vector<recdb::FieldDescriptor> other = LedgerFields();
  other[5].type = recdb::FieldType::kFloat;
  ASSERT_TRUE(WriteRecordFile(databases_, files_, path_, "x", other,
                              {std::vector<Value>(other.size())}, &message));
  message.clear();
  EXPECT_FALSE(LoadLedger(databases_, files_, path_, 2026, &read, &message));
  EXPECT_NE(message.find("字段"), Text::npos) << ToUtf8(message);
  EXPECT_NE(message.find(path_), Text::npos) << ToUtf8(message);
}

// Infinity, NaN or an amount past what the program handles, in a damaged ledger, people file or
// tax table: refused by file, record and field before any sum or tax is worked out from it.
TEST_F(LedgerFileTest, AmountsNoFileShouldHoldAreRefusedByFileRecordAndField) {
  const double kBad[] = {std::numeric_limits<double>::infinity(),
                         -std::numeric_limits<double>::infinity(),
                         std::numeric_limits<double>::quiet_NaN(), 1e300};
  const Text people = FromUtf8((folder_ / "people.dat").string());
  for (const double bad : kBad) {
    SCOPED_TRACE(bad);
    Text message;
    std::vector<LedgerEntry> entries = {Entry(2026, 1, "1001", 9000, 0),
                                        Entry(2026, 1, "1002", 9000, 0)};
    entries[1].figures.income = bad;
    ASSERT_TRUE(SaveLedger(databases_, files_, path_, entries, &message));
    std::vector<LedgerEntry> read;
    LedgerOfMonth of_month;
    for (const bool whole : {true, false}) {
      EXPECT_FALSE(whole ? LoadLedger(databases_, files_, path_, 2026, &read, &message)
                         : LoadLedgerOfMonth(databases_, files_, path_, 2026, 2, &of_month,
                                             &message));
      EXPECT_NE(message.find(Concat({path_, " 第 2 条记录（1002 张三）的“收入额”是 "})),
                Text::npos)
          << ToUtf8(message);
    }

    std::vector<RecordValues> records(2, RecordOfTexts(Row("1001", "张三")));
    records[1][0] = Value::FromText("1002");
    records[1][kPersonOther] = Value::Double(bad);
    ASSERT_TRUE(WriteRecordFile(databases_, files_, people, kPeopleAlias, PeopleFields(), records,
                                &message));
    PeopleByNumber by_number;
    EXPECT_FALSE(LoadPeople(databases_, people, &by_number, &message));
    EXPECT_NE(message.find(Concat({people, " 第 2 条记录的“其他扣除”是 "})), Text::npos)
        << ToUtf8(message);

    TaxTableValues table;
    for (auto& record : table) record.fill(Value::Int(0));
    table[2][1] = Value::Double(bad);
    TaxBrackets brackets;
    EXPECT_FALSE(ToBrackets(table, "税率表.dat", &brackets, &message));
    EXPECT_NE(message.find("税率表文件 税率表.dat 第 3 条记录第 2 个字段是 "), Text::npos)
        << ToUtf8(message);
  }
}

}  // namespace
}  // namespace sr::app::test
