#ifndef SALARY_PLATFORM_QT_GRID_GRID_TEXT_H_
#define SALARY_PLATFORM_QT_GRID_GRID_TEXT_H_

#include <QString>

#include "base/gbk.h"

namespace sr::qt {

// A cell's GBK text as Qt shows it (every GBK text converts).
inline QString ToQString(const Text& gbk) { return QString::fromStdString(ToUtf8(gbk)); }

}  // namespace sr::qt

#endif  // SALARY_PLATFORM_QT_GRID_GRID_TEXT_H_
