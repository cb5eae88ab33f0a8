// The backend's modal dialogs: message boxes, file dialogs and the shortcut menu.
#include <QAbstractButton>
#include <QAction>
#include <QCloseEvent>
#include <QCursor>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>

#include "platform/qt/ui/form_window.h"
#include "platform/qt/ui/qt_backend.h"
#include "platform/qt/ui/qt_keys.h"
#include "platform/qt/ui/qt_text.h"
#include "platform/qt/ui/refusal.h"

namespace sr::qt {
namespace {

// A message box that, like the system's, can only be answered with one of its buttons when it
// has no Cancel: Esc and the close box do nothing (a Yes/No question must be answered).
class MessageBox : public QMessageBox {
 public:
  MessageBox(bool may_escape, QWidget* parent) : QMessageBox(parent), may_escape_(may_escape) {
    if (!may_escape) setWindowFlag(Qt::WindowCloseButtonHint, false);
  }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() == Qt::Key_Escape && !may_escape_) return;
    QMessageBox::keyPressEvent(event);
  }
  void closeEvent(QCloseEvent* event) override {
    if (!may_escape_) {
      event->ignore();
      return;
    }
    QMessageBox::closeEvent(event);
  }

 private:
  bool may_escape_;
};

QMessageBox::StandardButtons ButtonsFor(ui::MessageButtons buttons) {
  switch (buttons) {
    case ui::MessageButtons::kOkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case ui::MessageButtons::kYesNo: return QMessageBox::Yes | QMessageBox::No;
    case ui::MessageButtons::kYesNoCancel:
      return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    default: return QMessageBox::Ok;
  }
}

QMessageBox::Icon IconFor(ui::MessageIcon icon) {
  switch (icon) {
    case ui::MessageIcon::kInformation: return QMessageBox::Information;
    case ui::MessageIcon::kWarning: return QMessageBox::Warning;
    case ui::MessageIcon::kError: return QMessageBox::Critical;
    case ui::MessageIcon::kQuestion: return QMessageBox::Question;
    default: return QMessageBox::NoIcon;
  }
}

ui::MessageAnswer AnswerFor(int button) {
  switch (button) {
    case QMessageBox::Yes: return ui::MessageAnswer::kYes;
    case QMessageBox::No: return ui::MessageAnswer::kNo;
    case QMessageBox::Cancel: return ui::MessageAnswer::kCancel;
    default: return ui::MessageAnswer::kOk;
  }
}

// "description|pattern|description|pattern" as Qt's "description (pattern)" filters; several
// patterns of one entry are separated by ';' there and by spaces here.
QStringList FiltersFor(const Text& filter) {
  const QStringList parts = ToQString(filter).split(QLatin1Char('|'));
  QStringList filters;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    filters << QStringLiteral("%1 (%2)").arg(parts[i], patterns);
  }
  return filters;
}

// "dat" for a filter whose first pattern is "*.dat"; empty when that pattern has other wildcards.
QString DefaultSuffix(const Text& filter) {
  const QString pattern = ToQString(filter).section(QLatin1Char('|'), 1, 1).section(';', 0, 0);
  if (!pattern.startsWith(QStringLiteral("*."))) return {};
  const QString suffix = pattern.mid(2).trimmed();
  return suffix.contains(QLatin1Char('*')) || suffix.contains(QLatin1Char('?')) ? QString()
                                                                                  : suffix;
}

// A path of the models (either separator) for Qt (forward slashes only). After conversion no
// byte of a two-byte character can be mistaken for a backslash.
QString NativePath(const Text& path) {
  QString native = ToQString(path);
  native.replace(QLatin1Char('\\'), QLatin1Char('/'));
  return native;
}

}  // namespace

ui::MessageAnswer QtBackend::ShowMessageBox(const ui::MessageBoxSpec& description,
                                            ui::WindowPeer* owner) {
  const bool may_escape = description.buttons != ui::MessageButtons::kYesNo;
  MessageBox box(may_escape, OwnerWidget(owner));
  box.setWindowTitle(ToQString(description.title));
  box.setTextFormat(Qt::PlainText);
  box.setText(ToQStringLines(description.text));
  box.setIcon(IconFor(description.icon));
  box.setStandardButtons(ButtonsFor(description.buttons));
  for (QAbstractButton* button : box.buttons()) button->setIcon(QIcon());  // plain, as asked
  box.setWindowModality(description.task_modal ? Qt::ApplicationModal : Qt::WindowModal);
  const ui::MessageAnswer answer = AnswerFor(box.exec());
  GiveBackTheKeyboard();
  return answer;
}

ui::FileDialogResult QtBackend::RunFileDialog(const ui::FileDialogSpec& description,
                                              ui::WindowPeer* owner) {
  const bool save = description.kind == ui::FileDialogKind::kSave;
  QFileDialog dialog(OwnerWidget(owner));
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setNameFilters(FiltersFor(description.filter));
  // A name typed without an extension gets the filter's ("2013" becomes "2013.dat"), so that the
  // file shows up in the open dialog later.
  if (save) dialog.setDefaultSuffix(DefaultSuffix(description.filter));
  if (!description.initial_directory.empty()) dialog.setDirectory(NativePath(description.initial_directory));
  const bool accepted = dialog.exec() == QDialog::Accepted;
  GiveBackTheKeyboard();
  if (!accepted || dialog.selectedFiles().isEmpty()) return {};
  ui::FileDialogResult result;
  QString bad;
  if (!FromQString(dialog.selectedFiles().first(), &result.path, &bad)) {
    ShowRefusal(nullptr, bad);
    return {};
  }
  result.confirmed = true;
  return result;
}

int QtBackend::PopupMenu(ui::WindowPeer& window, int entry, int dx, int dy) {
  FormWindow* form = static_cast<WindowPeerImpl&>(window).window();
  if (form == nullptr) return -1;
  const std::vector<ui::MenuEntrySpec>& menu = form->description().menu;
  if (entry < 0 || entry >= static_cast<int>(menu.size()) || menu[entry].level != 0) return -1;
  // A copy of the drop-down: choosing from it must not also trigger the menu bar's entry.
  QMenu popup(form);
  for (int index = entry + 1; index < static_cast<int>(menu.size()) && menu[index].level != 0;
       ++index) {
    if (menu[index].separator()) {
      popup.addSeparator();
      continue;
    }
    QAction* action = popup.addAction(ToQString(menu[index].caption));
    action->setShortcut(ToKeySequence(menu[index].shortcut));
    action->setShortcutContext(Qt::WidgetShortcut);  // shown only; the menu bar's entry runs it
    QAction* original = form->MenuAction(index);
    action->setEnabled(original != nullptr && original->isEnabled());
    action->setData(index);
  }
  QAction* chosen = popup.exec(QCursor::pos() + QPoint(dx, dy));
  return chosen != nullptr ? chosen->data().toInt() : -1;
}

}  // namespace sr::qt
