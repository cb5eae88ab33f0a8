#ifndef SALARY_PROGRAM_TESTS_PROGRAM_HARNESS_H_
#define SALARY_PROGRAM_TESTS_PROGRAM_HARNESS_H_

// Runs the whole program on the Qt backend (offscreen under the test command) in a program
// directory holding the installed data files, and hands its windows to a test.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <filesystem>
#include <functional>
#include <string>

#include "app/shell/program.h"
#include "platform/automation/recording_automation.h"
#include "platform/fs/real_file_system.h"
#include "platform/print/recording_print_seam.h"
#include "platform/qt/ui/form_window.h"
#include "platform/qt/ui/tests/modal_driver.h"
#include "platform/qt/ui/tests/qt_test_support.h"

namespace sr::qt::testing {

// A fresh program directory with the installed data files, current while the test runs.
class ProgramDirectory {
 public:
  ProgramDirectory() : previous_(std::filesystem::current_path()) {
    path_ = std::filesystem::temp_directory_path() / ("qt_program_" + std::to_string(::getpid()));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
    for (const auto& file : std::filesystem::directory_iterator(SR_DATA_DIR))
      std::filesystem::copy_file(file.path(), path_ / file.path().filename());
    std::filesystem::current_path(path_);
  }
  ~ProgramDirectory() {
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(path_);
  }

 private:
  std::filesystem::path previous_;
  std::filesystem::path path_;
};

// Runs the program; `inspect` runs at its first idle moment with the main window and must end
// the program. Returns the exit code. A question the program should not ask fails the test
// instead of waiting for an answer.
inline int RunProgramAndInspect(std::function<void(FormWindow*)> inspect) {
  ProgramDirectory directory;
  print::RecordingPrintSeam printer;
  automation::RecordingAutomation spreadsheet;
  const app::Seams seams{Backend(), fs::RealFileSystem(), printer, spreadsheet,
                         xlsx::RealWorkbookReader()};
  WatchModals();
  QTimer::singleShot(0, [inspect] {
    const std::vector<FormWindow*> windows = Backend().Windows();
    ASSERT_EQ(windows.size(), 1u);
    inspect(windows[0]);
  });
  return app::RunProgram(seams);
}

// The toolbar's buttons in order (separators left out).
inline QList<QToolButton*> ToolbarButtons(FormWindow* window) {
  QList<QToolButton*> buttons;
  for (QToolButton* button : window->client()->findChild<QToolBar*>()->findChildren<QToolButton*>())
    if (button->defaultAction() != nullptr) buttons << button;
  return buttons;
}

// Clicks the main window's toolbar button `caption`, which opens a modal window; `inspect` runs
// once that window is up and active, after which the window is closed by its close box.
// Once the next modal window over `main` is active, hands it to `inspect` and closes it.
inline void InspectNextModalWindow(FormWindow* main, std::function<void(FormWindow*)> inspect) {
  QTimer::singleShot(0, [main, inspect] {
    FormWindow* modal = nullptr;
    ASSERT_TRUE(QTest::qWaitFor([&] {
      const std::vector<FormWindow*> windows = Backend().Windows();
      modal = windows.empty() || windows.back() == main ? nullptr : windows.back();
      return modal != nullptr && modal->isActiveWindow();
    }));
    inspect(modal);
    modal->close();
  });
}

inline void InspectModalWindow(FormWindow* main, const QString& caption,
                               std::function<void(FormWindow*)> inspect) {
  InspectNextModalWindow(main, inspect);
  for (QToolButton* button : ToolbarButtons(main)) {
    if (button->text() == caption) {
      button->click();  // returns once the modal window has closed
      return;
    }
  }
  ADD_FAILURE() << "no toolbar button " << caption.toStdString();
}

}  // namespace sr::qt::testing

#endif  // SALARY_PROGRAM_TESTS_PROGRAM_HARNESS_H_
