#ifndef SALARY_APP_WITHHOLDING_PEOPLE_FILE_H_
#define SALARY_APP_WITHHOLDING_PEOPLE_FILE_H_

#include <array>
#include <map>
#include <vector>

#include "app/withholding/cumulative_method.h"
#include "app/withholding/record_file.h"

// The people file: one record per employee, keyed by the register's number (编号), with what
// the cumulative method needs to know of the person: resident or not, the month of hire, the
// sixty-thousand rule, and the monthly deductions and relief the employee declared.
namespace sr::app {

inline constexpr char kPeopleFileName[] = "人员信息.dat";
inline constexpr char kPeopleAlias[] = "人员信息";
inline constexpr char kResidentIdType[] = "居民身份证";

// The file's columns, in the order of its fields and of the people window's grid columns.
enum PeopleColumn : int {
  kPersonNumber,
  kPersonName,
  kPersonIdType,
  kPersonIdNumber,
  kPersonResidence,  // "居民" or "非居民"
  kPersonHired,      // year and month of hire, "2026-07"; empty: before any year calculated
  kPersonSixtyRule,  // "是" when the sixty-thousand rule applies
  kPersonFirstAdditional,
  kPersonOther = kPersonFirstAdditional + kAdditionalKinds,
  kPersonRelief,
  kPeopleColumns,
};

std::vector<recdb::FieldDescriptor> PeopleFields();

// One person of the file, as the calculation uses it.
struct Person {
  Text number;
  Text name;
  Text id_type;
  Text id_number;
  bool resident = true;
  EmploymentTerms terms;
  std::array<double, kAdditionalKinds> additional{};
  double other = 0;
  double relief = 0;
};

// One row of the people window or one record of the file, column by column, as texts.
using PersonTexts = std::array<Text, kPeopleColumns>;

// The text without spaces and tabs around it: numbers and names as the file keys them.
Text TrimSpaces(const Text& text);

// Whether the text (spaces around it aside) is empty or an amount not below 0: digits with at
// most one decimal point, no sign.
bool IsAmountOrEmpty(const Text& text);

// Whether an 18-character number of a 居民身份证 has the right check digit (ISO 7064 mod 11-2:
// the last character, 0-9 or X, from the weighted sum of the first seventeen digits).
bool IsValidResidentId(const Text& id_number);

// Reads a "YYYY-MM" (or "YYYYMM") month; false for anything else.
bool ParseYearMonth(const Text& text, int* year, int* month);

// Checks every row and turns them into people. A row whose texts are all empty is skipped. The
// messages name the row and the person: an empty or repeated number, a 居民身份证 number whose
// check digit is wrong, a residence other than 居民 or 非居民, a month of hire that is no month,
// a negative or non-numeric amount. People are returned only when there is no message.
std::vector<Text> PeopleFromTexts(const std::vector<PersonTexts>& rows, std::vector<Person>* people);

// The declared amounts finer than a fen, for a warning: "第 2 行 1002 李四 子女教育：1000.555".
std::vector<Text> FinerThanFenAmounts(const std::vector<PersonTexts>& rows);

// The texts of a record of the file, and back. Amounts are shown as ToText of the number.
PersonTexts TextsOfRecord(const RecordValues& record);
RecordValues RecordOfTexts(const PersonTexts& texts);

// The people by number.
using PeopleByNumber = std::map<Text, Person>;

// Reads and checks the people file at `path`. False with a message naming the file (and the row
// and person when a record is wrong).
bool LoadPeople(DatabaseTable& databases, const Text& path, PeopleByNumber* people,
                Text* message);

}  // namespace sr::app

#endif  // SALARY_APP_WITHHOLDING_PEOPLE_FILE_H_
