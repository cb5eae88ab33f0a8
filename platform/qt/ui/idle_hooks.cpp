#include "platform/qt/ui/idle_hooks.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace sr::qt {
namespace {

void SaveScreenshot(const QString& path) {
  QScreen* screen = QGuiApplication::primaryScreen();
  if (QGuiApplication::platformName() == QStringLiteral("xcb") && screen != nullptr) {
    screen->grabWindow(0).save(path);
    return;
  }
  int n = 0;
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (!window->isVisible()) continue;
    QString name = path;
    if (n > 0) name.insert(name.lastIndexOf(QLatin1Char('.')), QStringLiteral("-%1").arg(n));
    window->grab().save(name);
    ++n;
  }
}

// Microseconds since the Unix epoch, as bash's EPOCHREALTIME gives them without the point.
long long NowMicroseconds() {
  return std::chrono::duration_cast<std::chrono::microseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

void RunHooks(const std::function<void(int)>& quit) {
  const QString screenshot = qEnvironmentVariable("SR_SCREENSHOT");
  if (!screenshot.isEmpty()) {
    SaveScreenshot(screenshot);
    std::fprintf(stderr, "screenshot saved: %s\n", screenshot.toUtf8().constData());
  }
  if (qEnvironmentVariableIntValue("SR_EXIT_WHEN_IDLE") != 0) quit(0);
}

}  // namespace

void InstallIdleHooks(std::function<void(int)> quit) {
  if (!qEnvironmentVariableIsSet("SR_SCREENSHOT") && !qEnvironmentVariableIsSet("SR_EXIT_WHEN_IDLE"))
    return;
  auto* dispatcher = QAbstractEventDispatcher::instance();
  auto connection = std::make_shared<QMetaObject::Connection>();
  *connection = QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, [=] {
    QObject::disconnect(*connection);
    if (const long long started = qEnvironmentVariable("SR_STARTED_AT").toLongLong(); started > 0)
      std::fprintf(stderr, "first idle moment after %.1f ms\n",
                   (NowMicroseconds() - started) / 1e3);
    const int delay = qEnvironmentVariableIntValue("SR_SCREENSHOT_DELAY");
    QTimer::singleShot(delay, [quit] { RunHooks(quit); });
  });
}

}  // namespace sr::qt
