#ifndef SALARY_PLATFORM_QT_PRINT_TESTS_PDF_SEAM_H_
#define SALARY_PLATFORM_QT_PRINT_TESTS_PDF_SEAM_H_

#include <QApplication>

#include "platform/qt/print/qt_print_seam.h"

namespace sr::test {

// The application that a test printing through Qt needs, on the offscreen platform unless the
// environment chooses another; made once.
inline QApplication& OffscreenApplication() {
  static int argc = 1;
  static char name[] = "pdf_tests";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

// The Qt seam, remembering the page's geometry while the job runs.
class PdfSeam : public qt::QtPrintSeam {
 public:
  bool StartPage() override {
    bool started = QtPrintSeam::StartPage();
    geometry = Geometry();
    return started;
  }
  print::PageGeometry geometry;
};

}  // namespace sr::test

#endif  // SALARY_PLATFORM_QT_PRINT_TESTS_PDF_SEAM_H_
