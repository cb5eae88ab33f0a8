#ifndef SALARY_TOOLS_REGDB_CSV_H_
#define SALARY_TOOLS_REGDB_CSV_H_

#include <string>
#include <string_view>
#include <vector>

// RFC 4180 comma-separated values. The tool's CSV is UTF-8; these functions only move bytes.
namespace sr::regdb {

using CsvRow = std::vector<std::string>;

// One field as RFC 4180 writes it: quoted when it holds a comma, a double quote, CR or LF (quotes
// doubled inside), else as it is.
std::string CsvField(std::string_view value);

// A record line ending in CRLF. A row of one empty field is written as "" so that it reads back
// as a record and not as a blank line.
std::string CsvLine(const CsvRow& row);

// A text for a spreadsheet program opening the CSV: one starting with =, +, -, @, a tab or a
// carriage return would be run as a formula there, so it gets an apostrophe in front; so does
// one starting with an apostrophe, so that UnguardedText gives every text back as it was.
std::string GuardedText(std::string text);
// Undoes GuardedText: a first apostrophe is dropped.
std::string UnguardedText(std::string text);

// A record read from CSV text, with the number of the physical line on which it starts (from 1).
struct CsvRecord {
  int line = 0;
  CsvRow fields;
};

// Reads CSV text: fields separated by commas, records by CRLF or LF (a quoted field may hold
// both), quotes doubled inside quoted fields. A UTF-8 byte order mark at the start is skipped,
// and so are blank lines. Returns false on malformed input (a quote inside an unquoted field,
// text after a closing quote, an unterminated quoted field) with *error naming the line.
bool ParseCsv(std::string_view text, std::vector<CsvRecord>* records, std::string* error);

}  // namespace sr::regdb

#endif  // SALARY_TOOLS_REGDB_CSV_H_
