#ifndef SALARY_PLATFORM_SHEET_TESTS_STUB_SPREADSHEET_H_
#define SALARY_PLATFORM_SHEET_TESTS_STUB_SPREADSHEET_H_

#include <filesystem>
#include <optional>
#include <string>

namespace sr::sheet::testing {

// Sets an environment variable for a scope and puts the old value back.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value);
  ~ScopedEnv();

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// Stands in for the spreadsheet program in a fresh folder: SR_SPREADSHEET_COMMAND becomes a
// script that copies the file it is given to copy.xlsx and notes its path in "opened", TMPDIR
// points into the folder, and so does HOME (home/, with a Documents folder), so that a workbook
// kept for the user lands there. Everything goes when the object does.
class StubSpreadsheet {
 public:
  StubSpreadsheet();
  ~StubSpreadsheet();

  const std::filesystem::path& dir() const { return dir_; }
  std::filesystem::path copy() const { return dir_ / "copy.xlsx"; }
  std::filesystem::path documents() const { return dir_ / "home" / "Documents"; }
  // Waits up to 5 s for the detached stub to finish; the path it was given, or empty.
  std::string WaitForOpened() const;
  bool opened() const;
  void Forget() const;  // removes the note, to see whether it comes again

 private:
  std::filesystem::path dir_;
  std::optional<ScopedEnv> tmp_;
  std::optional<ScopedEnv> home_;
  std::optional<ScopedEnv> command_;
};

// A python3 that can import openpyxl, or the empty string.
std::string PythonWithOpenpyxl();

// The non-empty cells of the first sheet of `xlsx`, one line each, "A1 str 工资" (UTF-8) or
// "C1 int 12", read back with openpyxl. False when the file cannot be read.
bool ListCells(const std::string& python, const std::filesystem::path& xlsx, std::string* listing);

// The look of the first sheet of `xlsx`, read back with openpyxl: a line "freeze A2" (or
// "freeze None"), one line per column with a width set, "width B 10.7", and one per non-empty
// cell with its number format and boldness, "B2 #,##0.00 bold" or "C3 General plain".
bool ListFormats(const std::string& python, const std::filesystem::path& xlsx,
                 std::string* listing);

}  // namespace sr::sheet::testing

#endif  // SALARY_PLATFORM_SHEET_TESTS_STUB_SPREADSHEET_H_
