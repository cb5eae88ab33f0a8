#ifndef SALARY_APP_TESTS_APP_HARNESS_H_
#define SALARY_APP_TESTS_APP_HARNESS_H_

#include <functional>
#include <string>

#include "app/app_context.h"
#include "app/program_state.h"
#include "app/shell/main_window.h"
#include "base/gbk.h"
#include "forms/framework.h"
#include "forms/secondary_forms.h"
#include "platform/automation/recording_automation.h"
#include "platform/fs/real_file_system.h"
#include "platform/headless/headless_backend.h"
#include "platform/print/recording_print_seam.h"
#include "runtime/recdb/recdb.h"

namespace sr::app::testing {

inline Text Gbk(const char8_t* utf8) { return FromUtf8(reinterpret_cast<const char*>(utf8)); }

// The program on the headless screen with recording print and automation seams, its main window
// loaded (so a new register of 5001 rows fills the grid), and a context for the command under
// test. The print and automation seams may be real ones instead (the Qt printer, our
// spreadsheet application).
class AppHarness {
 public:
  explicit AppHarness(print::PrintSeam* print = nullptr,
                      automation::AutomationSeam* automation = nullptr)
      : seams_{backend_, fs::RealFileSystem(), print != nullptr ? *print : recording_print_,
               automation != nullptr ? *automation : recording_automation_,
               xlsx::RealWorkbookReader()},
        framework_(backend_),
        main_window_(framework_, seams_, databases_, state_),
        context_{framework_,          seams_,
                 databases_,          state_,
                 main_window_.form(), main_window_.salary_register(),
                 &main_window_.history()} {
    framework_.LoadMain(main_window_.form());
  }
  ~AppHarness() { databases_.CloseAllDatabases(); }

  AppContext& context() { return context_; }
  MainWindow& main_window() { return main_window_; }
  Grid& grid() { return main_window_.form().grid(); }
  forms::MainForm& form() { return main_window_.form(); }
  forms::Framework& framework() { return framework_; }
  headless::HeadlessBackend& backend() { return backend_; }
  print::RecordingPrintSeam& printer() { return recording_print_; }
  automation::RecordingAutomation& automation() { return recording_automation_; }
  DatabaseTable& databases() { return databases_; }

  SalaryRegister& salary_register() { return main_window_.salary_register(); }
  // Sets a cell of the register (row 0: a title), as a command would.
  void SetCell(int row, int column, const Text& text) {
    salary_register().SetCellText(row, column, text);
  }

  // Runs `command`; while the summary window it opens is up, `inside` gets its form. The window
  // is closed by its close box afterwards.
  void WithSummaryWindow(const std::function<void()>& command,
                         const std::function<void(forms::SummaryForm&)>& inside) {
    backend_.QueueModalScript([this, inside] {
      auto* form = dynamic_cast<forms::SummaryForm*>(framework_.active_window());
      if (form != nullptr) inside(*form);
    });
    command();
  }

  // Clicks a button of the active window as the user would.
  void Press(const char8_t* name) {
    headless::HeadlessWindow* window = backend_.active_window();
    if (window == nullptr) return;
    headless::HeadlessControl* button = window->Find(Gbk(name));
    if (button != nullptr) button->events()->OnClicked();
  }

 private:
  headless::HeadlessBackend backend_;
  print::RecordingPrintSeam recording_print_;
  automation::RecordingAutomation recording_automation_;
  Seams seams_;
  DatabaseTable databases_{fs::RealFileSystem()};
  ProgramState state_;
  forms::Framework framework_;
  MainWindow main_window_;
  AppContext context_;
};

}  // namespace sr::app::testing

#endif  // SALARY_APP_TESTS_APP_HARNESS_H_
