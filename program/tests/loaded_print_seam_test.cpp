// The program's print seam loads Qt's print support with its module on first use, prints through
// it, and a program that never printed does not load it to tidy up.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <filesystem>
#include <string>

#include "platform/modules/loaded_seams.h"
#include "platform/qt/print/tests/pdf_words.h"

namespace sr::modules {
namespace {

namespace fs = std::filesystem;

bool PrintModuleLoaded() {
  const std::string path = std::string(SR_MODULE_DIR) + "/libsr_print_module.so";
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (handle != nullptr) dlclose(handle);  // drops only the reference NOLOAD added
  return handle != nullptr;
}

// Whether a shown window of the application has a label reading `text`.
bool StatusWindowShows(const QString& text) {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (!window->isVisible()) continue;
    for (QLabel* label : window->findChildren<QLabel*>())
      if (label->text() == text) return true;
  }
  return false;
}

QApplication& App() {
  static int argc = 1;
  static char name[] = "loaded_print_tests";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

// First in this file: a run of every case in one process has loaded nothing yet.
TEST(LoadedPrintSeamTest, TidyingUpAnUnusedSeamLoadsNothing) {
  App();
  ASSERT_FALSE(PrintModuleLoaded());
  {
    LoadedPrintSeam printer;
    printer.CloseStatusWindow();
    printer.AbortDocument();
    printer.EndPage();
    printer.EndDocument();
    printer.DeleteContext();
    printer.ProcessPendingMessages();
    EXPECT_FALSE(printer.JobCancelled());
  }
  EXPECT_FALSE(PrintModuleLoaded());
}

TEST(LoadedPrintSeamTest, PrintsAPdfThroughItsModule) {
  App();
  const fs::path pdf =
      fs::temp_directory_path() / ("loaded_print_" + std::to_string(getpid()) + ".pdf");
  {
    LoadedPrintSeam printer;
    printer.PrepareSettings(print::PaperRequest(), print::Orientation::kPortrait);
    ASSERT_TRUE(printer.CreateContext(pdf.string()));
    EXPECT_TRUE(PrintModuleLoaded());
    EXPECT_GT(printer.Geometry().dpi_x, 0);
    ASSERT_TRUE(printer.StartDocument("job"));
    ASSERT_TRUE(printer.StartPage());
    // The status window's page line reaches the module's window as the job moves on.
    printer.OpenStatusWindow({"job", "job line", "device line", "page 1", "Cancel"});
    printer.ShowStatusPage("page 2");
    EXPECT_TRUE(StatusWindowShows("page 2"));
    EXPECT_FALSE(StatusWindowShows("page 1"));
    printer.CloseStatusWindow();
    printer.SelectFont({12, "DejaVu Sans"});
    EXPECT_GT(printer.MeasureText("4711").width, 0);
    printer.DrawText(100, 100, "4711");
    printer.EndPage();
    printer.EndDocument();
    printer.DeleteContext();
  }
  bool found = false;
  for (const test::PdfWord& word : test::PdfWordsOf(pdf)) found = found || word.text == "4711";
  EXPECT_TRUE(found);
  fs::remove(pdf);
  fs::path html = pdf;
  fs::remove(html.replace_extension(".html"));
}

}  // namespace
}  // namespace sr::modules
