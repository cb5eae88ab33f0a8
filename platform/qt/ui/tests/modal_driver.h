#ifndef SALARY_PLATFORM_QT_UI_TESTS_MODAL_DRIVER_H_
#define SALARY_PLATFORM_QT_UI_TESTS_MODAL_DRIVER_H_

// Drives the modal dialogs and popup menus that the code under test opens, from timers of the
// event loop that the dialog's own exec() runs, and watches that none of them waits for ever: a
// test fails within seconds when the dialog it drives does not come or does not go.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <string>

namespace sr::qt::testing {

// How long a dialog may take to come up, and how long one may stay up, before the test fails.
// Generous for a sanitizer build on a busy machine; a test of the watchdog itself shortens it.
inline int dialog_patience_ms = 10000;

namespace modal_detail {

// The window that takes input now: a popup menu above everything, else the top modal window.
inline QWidget* TopModal() {
  if (QWidget* popup = QApplication::activePopupWidget()) return popup;
  return QApplication::activeModalWidget();
}

inline std::string Describe(QWidget* widget) {
  if (widget == nullptr) return "nothing modal";
  return std::string(widget->metaObject()->className()) + " \"" +
         widget->windowTitle().toStdString() + "\"";
}

// Closes `widget` as a user would (Esc on a menu, the dialog's Cancel, the close box). Once that
// has not helped: hides a dialog, which ends its exec(); for any other window ends every running
// event loop (later loops of this process then return at once: the test has failed anyway).
inline void ForceClose(QWidget* widget, int strike) {
  auto* dialog = qobject_cast<QDialog*>(widget);
  if (strike == 1) {
    if (dialog != nullptr) {
      dialog->reject();
    } else {
      widget->close();
    }
  } else if (dialog != nullptr) {
    dialog->hide();
  } else {
    QCoreApplication::exit(1);
  }
}

// The watchdog: a modal window or popup that stays up for the patience fails the running test
// and is closed. One per application object, made on first use.
class Watchdog : public QObject {
 public:
  static constexpr const char* kName = "sr_modal_watchdog";

  explicit Watchdog(QObject* parent) : QObject(parent) {
    setObjectName(QLatin1String(kName));
    auto* tick = new QTimer(this);
    connect(tick, &QTimer::timeout, this, [this] { Look(); });
    tick->start(50);
  }

 private:
  void Look() {
    QWidget* up = TopModal();
    if (up != watched_) {
      watched_ = up;
      strikes_ = 0;
      since_.start();
      return;
    }
    if (up == nullptr || since_.elapsed() < dialog_patience_ms) return;
    ++strikes_;
    ADD_FAILURE() << Describe(up) << " stayed up for " << since_.elapsed()
                  << " ms: the test did not expect it, or its answer did not close it";
    since_.start();
    ForceClose(up, strikes_);
  }

  QPointer<QWidget> watched_;
  QElapsedTimer since_;
  int strikes_ = 0;
};

// Whether a T is up and ready for input: a popup shown, a dialog that has the focus (only then is
// it laid out as the user meets it, its focus widget chosen).
template <typename T>
T* ReadyNow() {
  T* shown = qobject_cast<T*>(TopModal());
  if (shown == nullptr || !shown->isVisible()) return nullptr;
  if (QApplication::activePopupWidget() == shown || shown->isActiveWindow()) return shown;
  return nullptr;
}

}  // namespace modal_detail

// Arms the watchdog (once; WhenShown arms it too). REQUIRES: the application object exists.
// From then on, any modal dialog, modal window or popup menu that stays up for the patience fails
// the test and is closed.
inline void WatchModals() {
  // By name: the watchdog has no meta-object of its own for findChild to tell it by.
  const QString name = QLatin1String(modal_detail::Watchdog::kName);
  if (qApp->findChild<QObject*>(name, Qt::FindDirectChildrenOnly) == nullptr)
    new modal_detail::Watchdog(qApp);
}

// Runs `act` on the next modal dialog or popup menu of type T once it is up and has the focus.
// Fails the test when none comes within the patience; one that `act` does not close is the
// watchdog's.
template <typename T>
void WhenShown(std::function<void(T*)> act) {
  WatchModals();
  auto* poll = new QTimer(qApp);
  QElapsedTimer waited;
  waited.start();
  QObject::connect(poll, &QTimer::timeout, poll, [poll, act, waited] {
    T* shown = modal_detail::ReadyNow<T>();
    if (shown == nullptr && waited.elapsed() < dialog_patience_ms) return;
    poll->stop();  // before `act`, which may run a loop of its own
    poll->deleteLater();
    if (shown == nullptr) {
      ADD_FAILURE() << "no " << T::staticMetaObject.className() << " came up within "
                    << dialog_patience_ms
                    << " ms; up instead: " << modal_detail::Describe(modal_detail::TopModal());
      return;
    }
    act(shown);
  });
  poll->start(10);
}

// Chooses `path` in an open or save dialog the way a user does: typed into the file name box,
// then Open or Save. (QFileDialog::selectFile leaves the box alone while it has the focus, so
// choosing by it depends on how far the dialog has got.)
inline void ChooseFile(QFileDialog* dialog, const QString& path) {
  auto* name_box = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  ASSERT_NE(name_box, nullptr) << "the file dialog has no file name box";
  name_box->setText(path);
  QMetaObject::invokeMethod(dialog, "accept");
}

}  // namespace sr::qt::testing

#endif  // SALARY_PLATFORM_QT_UI_TESTS_MODAL_DRIVER_H_
