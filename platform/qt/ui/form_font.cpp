#include "platform/qt/ui/form_font.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QStringList>

namespace sr::qt {
namespace {

// Below this a Chinese character is no longer readable: better cut a label than draw it smaller.
constexpr int kSmallestPixels = 9;

QString InstalledSongFace() {
  const QStringList candidates = {
      "SimSun",         "NSimSun",           "AR PL UMing CN",      "AR PL UMing TW",
      "AR PL New Sung", "Noto Serif CJK SC", "Source Han Serif SC", "Noto Sans CJK SC"};
  const QStringList installed = QFontDatabase::families();
  for (const QString& candidate : candidates)
    if (installed.contains(candidate, Qt::CaseInsensitive)) return candidate;
  return QString();
}

}  // namespace

QFont FormFont() {
  QFont font;
  if (const QString face = InstalledSongFace(); !face.isEmpty()) font.setFamily(face);
  font.setPixelSize(kFormLinePixels);
  while (font.pixelSize() > kSmallestPixels && QFontMetrics(font).height() > kFormLinePixels)
    font.setPixelSize(font.pixelSize() - 1);
  return font;
}

}  // namespace sr::qt
