#include "platform/qt/ui/form_font.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QStringList>
#include <algorithm>

namespace sr::qt {
namespace {

// Below this a Chinese character is no longer readable: better cut a label than draw it smaller.
constexpr int kSmallestPixels = 9;

}  // namespace

QFont FormFont() {
  static const QStringList kFaces = {
      "SimSun",         "NSimSun",           "AR PL UMing CN",      "AR PL UMing TW",
      "AR PL New Sung", "Noto Serif CJK SC", "Source Han Serif SC", "Noto Sans CJK SC"};
  QFont font;
  // The first of these that is installed, named alone: for each name that is not installed Qt
  // would sort every installed font for a fallback, a few milliseconds of every start.
  const auto installed = std::find_if(kFaces.begin(), kFaces.end(), [](const QString& face) {
    return QFontDatabase::hasFamily(face);
  });
  if (installed != kFaces.end()) {
    font.setFamily(*installed);
  } else {
    font.setFamilies(kFaces);  // none of them: Qt's nearest match
  }
  font.setPixelSize(kFormLinePixels);
  // Hinting the Ming face's outlines changes nothing visible at this size, but its programs cost
  // a few milliseconds and megabytes at start-up.
  font.setHintingPreference(QFont::PreferNoHinting);
  while (font.pixelSize() > kSmallestPixels && QFontMetrics(font).height() > kFormLinePixels)
    font.setPixelSize(font.pixelSize() - 1);
  return font;
}

}  // namespace sr::qt
