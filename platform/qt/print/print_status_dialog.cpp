#include "platform/qt/print/print_status_dialog.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/gbk.h"

namespace sr::qt {

namespace {

QString FromGbk(const Text& text) { return QString::fromStdString(ToUtf8(text)); }

}  // namespace

PrintStatusDialog::PrintStatusDialog(const print::StatusTexts& texts,
                                     std::function<void()> on_cancel, QWidget* parent)
    : QDialog(parent), on_cancel_(std::move(on_cancel)) {
  setWindowTitle(FromGbk(texts.title));
  auto* layout = new QVBoxLayout(this);
  for (const Text* line : {&texts.job_line, &texts.device_line, &texts.page_line}) {
    auto* label = new QLabel(FromGbk(*line), this);
    label->setAlignment(Qt::AlignCenter);
    layout->addWidget(label);
    page_ = label;  // the last one
  }
  cancel_ = new QPushButton(FromGbk(texts.cancel_caption), this);
  layout->addWidget(cancel_, 0, Qt::AlignCenter);
  connect(cancel_, &QPushButton::clicked, this, &PrintStatusDialog::reject);
  setMinimumWidth(280);
}

void PrintStatusDialog::SetPageLine(const Text& page_line) {
  page_->setText(FromGbk(page_line));
}

QString PrintStatusDialog::page_line() const { return page_->text(); }

void PrintStatusDialog::reject() {
  cancel_->setEnabled(false);
  if (on_cancel_) on_cancel_();
  QDialog::reject();
}

}  // namespace sr::qt
