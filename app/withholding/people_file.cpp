#include "app/withholding/people_file.h"

#include <cctype>
#include <cstring>
#include <unordered_map>

#include "app/tax_rules/fen.h"
#include "runtime/convert/conversions.h"

namespace sr::app {
namespace {

const char kResident[] = "居民";
const char kNonResident[] = "非居民";
const char kYes[] = "是";
const char kNo[] = "否";

bool AllEmpty(const PersonTexts& row) {
  for (const Text& text : row) {
    if (text.find_first_not_of(" \t") != Text::npos) return false;
  }
  return true;
}

const char* ColumnName(int column) {
  static const char* const kNames[kPeopleColumns] = {
      "编号", "姓名", "证件类型", "证件号码", "身份", "入职年月", "六万元标准",
      "婴幼儿照护", "子女教育", "继续教育", "住房贷款利息", "住房租金", "赡养老人", "个人养老金",
      "其他扣除", "减免税额"};
  return kNames[column];
}

// What an amount's text reads as: whether it is an amount, and its value to the fen. A file
// holds few distinct amounts, so each is read once.
struct Amount {
  bool valid = false;
  double value = 0;
};
using AmountsRead = std::unordered_map<Text, Amount>;

const Amount& ReadAmount(const Text& text, AmountsRead& read) {
  auto [it, fresh] = read.try_emplace(text);
  if (fresh) {
    it->second = {IsAmountOrEmpty(NormaliseFullWidth(text)), RoundToFen(ToNumber(text))};
  }
  return it->second;
}

// Checks one row; appends its messages, which the caller starts with the row and person.
void CheckRow(const PersonTexts& row, std::vector<Text>* problems,
              Person* person, AmountsRead& amounts) {
  person->number = TrimSpaces(row[kPersonNumber]);
  person->name = TrimSpaces(row[kPersonName]);
  person->id_type = TrimSpaces(row[kPersonIdType]);
  person->id_number = TrimSpaces(row[kPersonIdNumber]);
  if (person->number.empty()) problems->push_back("编号是空的");
  if (person->id_type == kResidentIdType && !IsValidResidentId(person->id_number)) {
    problems->push_back(Concat({"居民身份证号码“", person->id_number, "”不对（校验位不符）"}));
  }
  const Text residence = TrimSpaces(row[kPersonResidence]);
  person->resident = residence != kNonResident;
  if (!residence.empty() && residence != kResident && residence != kNonResident) {
    problems->push_back(Concat({"身份应为“居民”或“非居民”，不是“", residence, "”"}));
  }
  const Text hired = TrimSpaces(row[kPersonHired]);
  person->terms = EmploymentTerms();
  if (!hired.empty() && !ParseYearMonth(hired, &person->terms.hire_year,
                                        &person->terms.hire_month)) {
    problems->push_back(Concat({"入职年月“", hired, "”应写成 2026-07 这样的年月"}));
  }
  const Text sixty = TrimSpaces(row[kPersonSixtyRule]);
  person->terms.sixty_thousand_rule = sixty == kYes;
  if (!sixty.empty() && sixty != kYes && sixty != kNo) {
    problems->push_back(Concat({"六万元标准应为“是”或“否”（或空着），不是“", sixty, "”"}));
  }
  for (int c = kPersonFirstAdditional; c <= kPersonRelief; ++c) {
    const Amount& amount = ReadAmount(row[c], amounts);
    if (!amount.valid) {
      problems->push_back(Concat({ColumnName(c), "“", row[c], "”应为不小于 0 的金额"}));
    }
    if (c < kPersonOther) person->additional[c - kPersonFirstAdditional] = amount.value;
  }
  person->other = ReadAmount(row[kPersonOther], amounts).value;
  person->relief = ReadAmount(row[kPersonRelief], amounts).value;
}

// The texts of a record. Amounts repeat from record to record: each is written once.
PersonTexts TextsOf(const RecordValues& record, std::unordered_map<uint64_t, Text>& written) {
  PersonTexts texts;
  for (int c = 0; c < kPeopleColumns && c < int(record.size()); ++c) {
    if (record[c].kind() != Kind::kDouble) {
      texts[c] = ToText(record[c]);
      continue;
    }
    const double number = record[c].floating();
    uint64_t bits;
    std::memcpy(&bits, &number, sizeof bits);
    auto [it, fresh] = written.try_emplace(bits);
    if (fresh) it->second = ToText(record[c]);
    texts[c] = it->second;
  }
  return texts;
}

}  // namespace

Text TrimSpaces(const Text& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == Text::npos) return Text();
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool IsAmountOrEmpty(const Text& text) {
  const Text t = TrimSpaces(text);
  if (t.empty()) return true;  // nothing declared: 0
  bool digit = false, point = false;
  for (char c : t) {
    if (c >= '0' && c <= '9') {
      digit = true;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      return false;
    }
  }
  return digit;
}

std::vector<recdb::FieldDescriptor> PeopleFields() {
  std::vector<recdb::FieldDescriptor> fields = {
      TextField("编号", 20),     TextField("姓名", 20), TextField("证件类型", 20),
      TextField("证件号码", 30), TextField("身份", 8),  TextField("入职年月", 8),
      TextField("六万元标准", 4)};
  for (int c = kPersonFirstAdditional; c <= kPersonRelief; ++c) {
    fields.push_back(NumberField(ColumnName(c)));
  }
  return fields;
}

bool IsValidResidentId(const Text& id_number) {
  static const int kWeights[17] = {7, 9, 10, 5, 8, 4, 2, 1, 6, 3, 7, 9, 10, 5, 8, 4, 2};
  static const char kCheck[] = "10X98765432";
  if (id_number.size() != 18) return false;
  int sum = 0;
  for (int i = 0; i < 17; ++i) {
    if (id_number[i] < '0' || id_number[i] > '9') return false;
    sum += (id_number[i] - '0') * kWeights[i];
  }
  return std::toupper(static_cast<unsigned char>(id_number[17])) == kCheck[sum % 11];
}

bool ParseYearMonth(const Text& text, int* year, int* month) {
  Text digits;
  for (char c : TrimSpaces(NormaliseFullWidth(text))) {
    if (c >= '0' && c <= '9') {
      digits += c;
    } else if (c != '-' && c != '/' && c != '.') {
      return false;
    }
  }
  const size_t separators = TrimSpaces(text).size() - digits.size();
  if (digits.size() != 6 || separators > 1) return false;
  *year = std::stoi(digits.substr(0, 4));
  *month = std::stoi(digits.substr(4, 2));
  return *year >= 1990 && *year <= 2200 && *month >= 1 && *month <= 12;
}

namespace {

// "第 3 行（1003 王五）": a row named in another row's message.
Text RowOf(const std::vector<PersonTexts>& rows, size_t index) {
  return Concat({"第 ", ToText(int32_t(index + 1)), " 行（", TrimSpaces(rows[index][kPersonNumber]),
                 " ", TrimSpaces(rows[index][kPersonName]), "）"});
}

// One taxpayer is one ID number: a repeated one would give one person two basic deductions.
// Compared without case, as the check character X may be typed either way.
void CheckIdNumber(const std::vector<PersonTexts>& rows, size_t index, const Person& person,
                   std::unordered_map<Text, size_t>& rows_of_id, std::vector<Text>* problems) {
  if (person.id_number.empty()) {
    if (person.resident) problems->push_back("居民的证件号码是空的");
    return;
  }
  Text key = person.id_number;
  for (char& c : key) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  const auto [it, fresh] = rows_of_id.try_emplace(key, index);
  if (!fresh) {
    problems->push_back(Concat({"证件号码 ", person.id_number, " 与", RowOf(rows, it->second),
                                "重复：同一个人只能有一行"}));
  }
}

}  // namespace

std::vector<Text> PeopleFromTexts(const std::vector<PersonTexts>& rows, std::vector<Person>* people) {
  std::vector<Text> problems;
  std::map<Text, size_t> rows_of_number;
  std::unordered_map<Text, size_t> rows_of_id;
  AmountsRead amounts;
  people->clear();
  for (size_t i = 0; i < rows.size(); ++i) {
    if (AllEmpty(rows[i])) continue;
    Person person;
    std::vector<Text> found;
    CheckRow(rows[i], &found, &person, amounts);
    CheckIdNumber(rows, i, person, rows_of_id, &found);
    if (!person.number.empty()) {
      // A file kept in number order adds each at the end.
      const size_t before = rows_of_number.size();
      auto it = rows_of_number.emplace_hint(rows_of_number.end(), person.number, i + 1);
      if (rows_of_number.size() == before) {
        found.push_back(Concat({"编号与第 ", ToText(int32_t(it->second)), " 行重复"}));
      }
    }
    if (!found.empty()) {
      const Text who = Concat({"第 ", ToText(int32_t(i + 1)), " 行 ",
                               TrimSpaces(rows[i][kPersonNumber]), " ",
                               TrimSpaces(rows[i][kPersonName]), "："});
      for (const Text& problem : found) problems.push_back(who + problem);
    }
    people->push_back(std::move(person));
  }
  if (!problems.empty()) people->clear();
  return problems;
}

std::vector<Text> FinerThanFenAmounts(const std::vector<PersonTexts>& rows) {
  std::vector<Text> amounts;
  for (size_t i = 0; i < rows.size(); ++i) {
    for (int c = kPersonFirstAdditional; c <= kPersonRelief; ++c) {
      if (!FinerThanFen(ToNumber(rows[i][c]))) continue;
      amounts.push_back(Concat({"第 ", ToText(int32_t(i + 1)), " 行 ",
                                TrimSpaces(rows[i][kPersonNumber]), " ",
                                TrimSpaces(rows[i][kPersonName]), " ", ColumnName(c), "：",
                                TrimSpaces(rows[i][c])}));
    }
  }
  return amounts;
}

PersonTexts TextsOfRecord(const RecordValues& record) {
  std::unordered_map<uint64_t, Text> written;
  return TextsOf(record, written);
}

RecordValues RecordOfTexts(const PersonTexts& texts) {
  RecordValues record;
  for (int c = 0; c < kPeopleColumns; ++c) {
    if (c < kPersonFirstAdditional) {
      record.push_back(Value::FromText(TrimSpaces(texts[c])));
    } else {
      record.push_back(Value::Double(RoundToFen(ToNumber(texts[c]))));
    }
  }
  return record;
}

bool LoadPeople(DatabaseTable& databases, const Text& path, PeopleByNumber* people,
                Text* message) {
  std::vector<RecordValues> records;
  if (!ReadRecordFile(databases, path, kPeopleAlias, PeopleFields(), &records, message)) {
    return false;
  }
  std::vector<PersonTexts> rows;
  rows.reserve(records.size());
  std::unordered_map<uint64_t, Text> written;
  for (const RecordValues& record : records) rows.push_back(TextsOf(record, written));
  std::vector<Person> list;
  const std::vector<Text> problems = PeopleFromTexts(rows, &list);
  if (!problems.empty()) {
    *message = Concat({"人员信息文件 ", path, " 有错：", problems.front()});
    return false;
  }
  people->clear();
  for (Person& person : list) people->emplace_hint(people->end(), person.number, std::move(person));
  return true;
}

}  // namespace sr::app
