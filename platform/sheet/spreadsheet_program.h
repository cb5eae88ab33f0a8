#ifndef SALARY_PLATFORM_SHEET_SPREADSHEET_PROGRAM_H_
#define SALARY_PLATFORM_SHEET_SPREADSHEET_PROGRAM_H_

#include <optional>
#include <string>
#include <vector>

namespace sr::sheet {

// The environment variable that replaces the spreadsheet program: a shell command to which the
// file's path is appended as one more argument.
constexpr char kCommandVariable[] = "SR_SPREADSHEET_COMMAND";

// How a finished workbook file is opened in the desktop's spreadsheet program.
class SpreadsheetProgram {
 public:
  // The program to use: the command in SR_SPREADSHEET_COMMAND when that is set and not empty,
  // else LibreOffice (soffice, localc or libreoffice on PATH). nullopt when there is none.
  static std::optional<SpreadsheetProgram> Find();

  // The argument vector that opens `file` as a new, untitled document.
  std::vector<std::string> CommandFor(const std::string& file) const;

  // Starts the program on `file` and returns at once; the program runs on after we exit.
  // False with `*error` when the program could not be started.
  bool Open(const std::string& file, std::string* error) const;

 private:
  bool shell_command_ = false;
  std::string command_;  // a shell command, or the program's path
};

// Makes a folder that only this user can enter (mode 0700) under TMPDIR or /tmp. Returns its
// path, or the empty string with `*error`.
std::string MakePrivateFolder(std::string* error);

}  // namespace sr::sheet

#endif  // SALARY_PLATFORM_SHEET_SPREADSHEET_PROGRAM_H_
