#include "platform/qt/ui/form_font.h"

#include <QFontMetrics>
#include <QStringList>

namespace sr::qt {
namespace {

// Below this a Chinese character is no longer readable: better cut a label than draw it smaller.
constexpr int kSmallestPixels = 9;

}  // namespace

QFont FormFont() {
  QFont font;
  // The first of these that is installed (Qt takes them in order).
  font.setFamilies({"SimSun", "NSimSun", "AR PL UMing CN", "AR PL UMing TW", "AR PL New Sung",
                    "Noto Serif CJK SC", "Source Han Serif SC", "Noto Sans CJK SC"});
  font.setPixelSize(kFormLinePixels);
  // Hinting the Ming face's outlines changes nothing visible at this size, but its programs cost
  // a few milliseconds and megabytes at start-up.
  font.setHintingPreference(QFont::PreferNoHinting);
  while (font.pixelSize() > kSmallestPixels && QFontMetrics(font).height() > kFormLinePixels)
    font.setPixelSize(font.pixelSize() - 1);
  return font;
}

}  // namespace sr::qt
