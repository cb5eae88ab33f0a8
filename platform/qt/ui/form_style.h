#ifndef SALARY_PLATFORM_QT_UI_FORM_STYLE_H_
#define SALARY_PLATFORM_QT_UI_FORM_STYLE_H_

#include <QProxyStyle>

namespace sr::qt {

// The program's style: the desktop's own, except that the extension buttons of the menu bar and
// the toolbar (shown only when a window is too narrow for them) get a painted chevron. Qt's own
// chevrons are image files, and the first image file read loads every image format plug-in: a
// few milliseconds and half a megabyte of every start, for a button that is hardly ever seen.
class FormStyle : public QProxyStyle {
 public:
  FormStyle() = default;
  // Over the style named `key` (QStyleFactory), e.g. the one the user asked Qt for.
  explicit FormStyle(const QString& key) : QProxyStyle(key) {}

  QIcon standardIcon(StandardPixmap icon, const QStyleOption* option,
                     const QWidget* widget) const override;
};

}  // namespace sr::qt

#endif  // SALARY_PLATFORM_QT_UI_FORM_STYLE_H_
