// An empty Qt window, started as salary-register starts: an application object, one window of
// the main form's size shown at its place, then the event loop with the same idle hooks
// (SR_EXIT_WHEN_IDLE=1 ends it at its first idle moment). The yardstick for the program's
// start-up time and memory (measure.sh).
//
// With SR_PEER_CAPTION=1 the window shows one Chinese caption in the program's form font: the
// least a Chinese program draws, so it pays for the font configuration and a CJK face as the
// program does, which the empty window never loads.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>

#include "platform/qt/ui/form_font.h"
#include "platform/qt/ui/idle_hooks.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow window;
  window.setGeometry(50, 50, 980, 562);
  if (qEnvironmentVariableIntValue("SR_PEER_CAPTION") != 0) {
    QApplication::setFont(sr::qt::FormFont());
    window.setCentralWidget(new QLabel(QStringLiteral("工资"), &window));
  }
  window.show();
  sr::qt::InstallIdleHooks([](int exit_code) { QCoreApplication::exit(exit_code); });
  return QApplication::exec();
}
