#include "platform/qt/ui/control_peers.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QTextLayout>

#include "platform/qt/ui/focus_tracker.h"
#include "platform/qt/ui/qt_text.h"
#include "platform/qt/ui/refusal.h"

namespace sr::qt {

WidgetPeer::WidgetPeer(QWidget* widget, const ui::ControlSpec& description, ui::ControlEvents* events)
    : widget_(widget), reporter_(new InputReporter(events)) {
  widget->setObjectName(ToQString(description.name));
  widget->setGeometry(description.rect.left, description.rect.top, description.rect.width, description.rect.height);
  widget->setEnabled(description.enabled);
  if (!description.can_focus) widget->setFocusPolicy(Qt::NoFocus);
  widget->setVisible(description.visible);
  reporter_->Watch(widget);
  FocusTracker::Instance().Add(widget, reporter_);
}

WidgetPeer::~WidgetPeer() {
  reporter_->Detach();
  DisposeLater(reporter_);
  if (widget_) {
    FocusTracker::Instance().Remove(widget_);
    // A control going away with its window takes the focus with it: hidden while focused, it
    // would hand the focus to another control of the closing window.
    QWidget* focus = QApplication::focusWidget();
    if (focus != nullptr && (focus == widget_ || widget_->isAncestorOf(focus))) focus->clearFocus();
    widget_->hide();
    DisposeLater(widget_);
  }
}

void WidgetPeer::SetRect(const ui::Rect& rect) {
  if (widget_) widget_->setGeometry(rect.left, rect.top, rect.width, rect.height);
}

void WidgetPeer::SetVisible(bool visible) {
  if (widget_) widget_->setVisible(visible);
}

void WidgetPeer::SetEnabled(bool enabled) {
  if (widget_) widget_->setEnabled(enabled);
}

void WidgetPeer::SetFocus() {
  if (widget_) widget_->setFocus(Qt::OtherFocusReason);
}

namespace {

// A multi-line label lays its text out as the forms expect: each CR LF starts a line, a line
// wraps at the label's width (between any two Chinese characters), and lines follow each other
// at the font's line spacing from the top.
class FormLabel : public QLabel {
 public:
  using QLabel::QLabel;

 protected:
  void paintEvent(QPaintEvent* event) override {
    if (!wordWrap()) {
      QLabel::paintEvent(event);
      return;
    }
    QPainter painter(this);
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                   QPalette::WindowText));
    const int line_height = fontMetrics().lineSpacing();
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    qreal y = 0;
    for (const QString& paragraph : text().split(QLatin1Char('\n'))) {
      QTextLayout layout(paragraph, font());
      layout.setTextOption(option);
      layout.beginLayout();
      for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width());
        line.setPosition(QPointF(0, y));
        y += line_height;
      }
      layout.endLayout();
      layout.draw(&painter, QPointF(0, 0));  // an empty paragraph still made one line
    }
  }
};

class LabelPeer : public WidgetPeer {
 public:
  LabelPeer(QLabel* label, const ui::ControlSpec& description, ui::ControlEvents* events)
      : WidgetPeer(label, description, events), label_(label) {
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(description.multi_line);
    if (description.text_color != ui::kDefaultColor) {
      QPalette palette = label->palette();
      palette.setColor(QPalette::WindowText, ToQColor(description.text_color));
      label->setPalette(palette);
    }
    LabelPeer::SetText(description.text);
  }

  void SetText(const ui::Text& text) override {
    if (label_) label_->setText(ToQStringLines(text));
  }

 private:
  QPointer<QLabel> label_;
};

class ButtonPeer : public WidgetPeer {
 public:
  ButtonPeer(QPushButton* button, const ui::ControlSpec& description, ui::ControlEvents* events)
      : WidgetPeer(button, description, events), button_(button) {
    ButtonPeer::SetText(description.text);
    InputReporter* context = reporter();
    QObject::connect(button, &QPushButton::clicked, context, [context] {
      if (context->events() != nullptr) context->events()->OnClicked();
    });
  }

  void SetText(const ui::Text& text) override {
    if (button_) button_->setText(ToQString(text));
  }

 private:
  QPointer<QPushButton> button_;
};

// An edit box holds only what GBK can hold: typing or pasting anything else is undone on the
// spot, with a note saying which character was refused.
class EditBoxPeer : public WidgetPeer {
 public:
  EditBoxPeer(QLineEdit* edit, const ui::ControlSpec& description, ui::ControlEvents* events)
      : WidgetPeer(edit, description, events), edit_(edit) {
    EditBoxPeer::SetText(description.text);
    InputReporter* context = reporter();
    QObject::connect(edit, &QLineEdit::textEdited, context,
                     [this, context](const QString& text) {
                       if (context->events() != nullptr) Edited(text);
                     });
  }

  void SetText(const ui::Text& text) override {
    accepted_ = ToQString(text);
    if (edit_) edit_->setText(accepted_);  // setText does not emit textEdited
  }

 private:
  void Edited(const QString& text) {
    Text gbk;
    QString bad;
    if (!FromQString(text, &gbk, &bad)) {
      edit_->setText(accepted_);
      ShowRefusal(edit_, bad);
      return;
    }
    accepted_ = text;
    reporter()->events()->OnTextEdited(gbk);
  }

  QPointer<QLineEdit> edit_;
  QString accepted_;
};

class ProgressBarPeer : public WidgetPeer {
 public:
  ProgressBarPeer(QProgressBar* bar, const ui::ControlSpec& description, ui::ControlEvents* events)
      : WidgetPeer(bar, description, events), bar_(bar) {
    bar->setTextVisible(false);
    bar->setRange(description.progress_minimum, description.progress_maximum);
    bar->setValue(description.progress_position);
  }

  void SetProgressPosition(int position) override {
    if (bar_) bar_->setValue(position);
  }

 private:
  QPointer<QProgressBar> bar_;
};

// A rectangle drawn with its line colour and, when it has one, its fill colour; it may hold other
// controls. A shape one pixel high or wide is a plain line.
class ShapeBox : public QWidget {
 public:
  ShapeBox(int line_color, int fill_color, QWidget* parent)
      : QWidget(parent),
        line_(line_color == ui::kDefaultColor ? QColor(Qt::black) : ToQColor(line_color)),
        fill_(fill_color == ui::kDefaultColor ? QColor() : ToQColor(fill_color)) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    if (width() <= 1 || height() <= 1) {
      painter.fillRect(rect(), line_);
      return;
    }
    if (fill_.isValid()) painter.fillRect(rect(), fill_);
    painter.setPen(line_);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
  }

 private:
  QColor line_;
  QColor fill_;
};

}  // namespace

std::unique_ptr<ui::ControlPeer> CreateSimpleControl(const ui::ControlSpec& description,
                                                     ui::ControlEvents* events, QWidget* parent) {
  switch (description.kind) {
    case ui::ControlKind::kLabel:
      return std::make_unique<LabelPeer>(new FormLabel(parent), description, events);
    case ui::ControlKind::kButton:
      return std::make_unique<ButtonPeer>(new QPushButton(parent), description, events);
    case ui::ControlKind::kEditBox:
      return std::make_unique<EditBoxPeer>(new QLineEdit(parent), description, events);
    case ui::ControlKind::kProgressBar:
      return std::make_unique<ProgressBarPeer>(new QProgressBar(parent), description, events);
    case ui::ControlKind::kShapeBox:
      return std::make_unique<WidgetPeer>(new ShapeBox(description.line_color, description.fill_color, parent),
                                          description, events);
    default:
      return nullptr;
  }
}

}  // namespace sr::qt
