#ifndef SALARY_TOOLS_SCENARIO_RUNNER_H_
#define SALARY_TOOLS_SCENARIO_RUNNER_H_

#include <functional>
#include <map>
#include <ostream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/automation/recording_automation.h"
#include "platform/fs/file_system.h"
#include "platform/headless/headless_backend.h"
#include "platform/headless/headless_grid.h"
#include "platform/print/recording_print_seam.h"
#include "platform/xlsx/workbook_reader.h"
#include "tools/scenario/script.h"

namespace sr::scenario {

// An unmet expectation or an action that cannot be carried out.
class Failure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class Runner;
// The lines that make files in the program directory (make-relay, make-database, write-file) and
// "expect file" (tools/scenario/file_lines.cpp).
void AddFileLines(Runner& runner);
// "make-tax-table": the tax rate table installed with the program (tools/scenario/tax_lines.cpp).
void AddTaxLines(Runner& runner);
// What the program printed: "expect printed ...", "forget-printing", "print-dialog"
// (tools/scenario/print_lines.cpp).
void AddPrintLines(Runner& runner);

// Runs the real program on the headless backend, doing what a script says and checking what it
// expects, and writes a UTF-8 transcript.
class Runner {
 public:
  Runner(fs::FileSystem& file_system, std::ostream& transcript);

  // Adds an expectation kind: "expect WORD args..." calls `check`, which throws Failure when the
  // expectation is not met.
  using Check = std::function<void(Runner& runner, const Line& line)>;
  void AddExpectation(const std::string& word, Check check);
  // Adds an action: "WORD args..." calls `act` (file set-up lines plug in here).
  void AddAction(const std::string& word, Check act);

  // Runs the program and the script; returns 0 when every expectation held, 1 otherwise.
  int Run(const std::vector<Line>& lines);

  headless::HeadlessBackend& backend() { return backend_; }
  fs::FileSystem& file_system() { return file_system_; }
  print::RecordingPrintSeam& printer() { return printer_; }
  // The folder of the script being run: files that the script compares with lie there.
  void set_script_folder(std::string folder) { script_folder_ = std::move(folder); }
  const std::string& script_folder() const { return script_folder_; }
  // The workbook reader the program gets (the real one unless a test hands it another).
  void set_workbooks(xlsx::WorkbookReader& reader) { workbooks_ = &reader; }
  // The active window and the peer of its first grid; throw Failure when there is none.
  headless::HeadlessWindow& ActiveWindow();
  headless::HeadlessGrid& ActiveGrid();
  // The argument at `index` of the line (after "expect WORD" for expectations), or Failure.
  static const Text& Arg(const Line& line, size_t index);
  static int IntArg(const Line& line, size_t index);
  // A whole decimal number, or Failure.
  static int Int(const Text& word);
  // A text check: Failure "expected X, got Y" when they differ.
  static void ExpectEqual(const std::string& what, const Text& expected, const Text& actual);

 private:
  void RunLines(const std::vector<Line>& lines);
  void RunLine(const Line& line);
  void Act(const Line& line);
  void Expect(const Line& line);
  void ReportScreen();
  void AddBuiltInExpectations();

  headless::HeadlessBackend backend_;
  print::RecordingPrintSeam printer_;
  automation::RecordingAutomation automation_;
  fs::FileSystem& file_system_;
  xlsx::WorkbookReader* workbooks_ = &xlsx::RealWorkbookReader();
  std::string script_folder_ = ".";
  std::ostream& out_;
  std::map<std::string, Check> checks_;
  std::map<std::string, Check> actions_;
  size_t reported_ = 0;          // screen events already written to the transcript
  size_t messages_checked_ = 0;  // message boxes already matched by "expect message"
};

// The words a script uses for a message box's buttons and icon: "ok", "ok-cancel", "yes-no",
// "yes-no-cancel"; "none", "information", "warning", "error", "question".
const char* ButtonsName(ui::MessageButtons buttons);
const char* IconName(ui::MessageIcon icon);

// Adds the checks of register files read through the record database ("expect records",
// "expect record", "expect fields"); the Runner adds them itself.
void AddRecordExpectations(Runner& runner);

}  // namespace sr::scenario

#endif  // SALARY_TOOLS_SCENARIO_RUNNER_H_
