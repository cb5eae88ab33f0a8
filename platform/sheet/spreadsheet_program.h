#ifndef SALARY_PLATFORM_SHEET_SPREADSHEET_PROGRAM_H_
#define SALARY_PLATFORM_SHEET_SPREADSHEET_PROGRAM_H_

#include <optional>
#include <string>
#include <vector>

#include "base/value.h"

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

  // Starts the program on `file`, in a session of its own so that it runs on after we exit,
  // and watches it for a few seconds (a LibreOffice that cannot show a window, for want of a
  // display or of a plugin that draws on one: as long as it runs). True when it is still running then, or ended with
  // success (LibreOffice ends at once when it hands the file to a copy already running).
  // False when it could not be started or ended with a failure status (as LibreOffice without
  // its window system does): then `*error` says so for the user (GBK).
  bool Open(const std::string& file, Text* error) const;

  // How long Open watches the program (negative: until it ends); tests shorten it.
  void set_watch_ms(int ms) { watch_ms_ = ms; }

 private:
  bool shell_command_ = false;
  std::string command_;  // a shell command, or the program's path
  int watch_ms_ = 3000;
};

// A folder of the user's where a workbook that no program showed is kept: ~/Documents (or the
// Chinese desktop's ~/文档) when there is one, else the current directory.
std::string UserWorkbookFolder();

// Makes a folder that only this user can enter (mode 0700) under TMPDIR or /tmp. Returns its
// path, or the empty string with `*error`.
std::string MakePrivateFolder(std::string* error);

}  // namespace sr::sheet

#endif  // SALARY_PLATFORM_SHEET_SPREADSHEET_PROGRAM_H_
