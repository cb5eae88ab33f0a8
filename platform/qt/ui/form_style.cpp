#include "platform/qt/ui/form_style.h"

#include "platform/qt/ui/icons/painted_icons.h"

namespace sr::qt {

QIcon FormStyle::standardIcon(StandardPixmap icon, const QStyleOption* option,
                              const QWidget* widget) const {
  switch (icon) {
    case SP_ToolBarHorizontalExtensionButton:
      return ExtensionImage(Qt::Horizontal);
    case SP_ToolBarVerticalExtensionButton:
      return ExtensionImage(Qt::Vertical);
    default:
      return QProxyStyle::standardIcon(icon, option, widget);
  }
}

}  // namespace sr::qt
