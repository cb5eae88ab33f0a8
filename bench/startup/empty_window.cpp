// An empty Qt window, started as salary-register starts: an application object, one window of
// the main form's size shown at its place, then the event loop with the same idle hooks
// (SR_EXIT_WHEN_IDLE=1 ends it at its first idle moment). The yardstick for the program's
// start-up time and memory (measure.sh).
#include <QApplication>
#include <QMainWindow>

#include "platform/qt/ui/idle_hooks.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow window;
  window.setGeometry(50, 50, 980, 562);
  window.show();
  sr::qt::InstallIdleHooks([](int exit_code) { QCoreApplication::exit(exit_code); });
  return QApplication::exec();
}
