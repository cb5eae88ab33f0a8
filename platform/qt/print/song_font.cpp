#include "platform/qt/print/song_font.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QStringList>

namespace sr::qt {

namespace {

// The names a printout asks for when it wants SimSun. Written as code points: this folder
// holds no program text (U+5B8B U+4F53 and U+65B0 U+5B8B U+4F53).
const QStringList& SongNames() {
  static const QStringList names = {QString::fromUtf16(u"\u5B8B\u4F53"), "SimSun", "NSimSun",
                                    QString::fromUtf16(u"\u65B0\u5B8B\u4F53")};
  return names;
}

bool Installed(const QString& family) {
  return QFontDatabase::families().contains(family, Qt::CaseInsensitive);
}

}  // namespace

bool RulesAreFullWidth(const QFont& font) {
  QFontMetricsF metrics(font);
  // U+2500 box rule, U+3000 ideographic space, U+6C49 a Han character.
  qreal rule = metrics.horizontalAdvance(QChar(0x2500));
  qreal space = metrics.horizontalAdvance(QChar(0x3000));
  qreal han = metrics.horizontalAdvance(QChar(0x6C49));
  return han > 0 && qAbs(rule - han) < 0.01 && qAbs(space - han) < 0.01;
}

QString SongFamily() {
  static const QString family = [] {
    const QStringList candidates = {
        "SimSun",         "NSimSun",           "AR PL UMing CN",      "AR PL UMing TW",
        "AR PL New Sung", "Noto Serif CJK SC", "Source Han Serif SC", "Noto Serif SC"};
    for (const QString& candidate : candidates) {
      if (!Installed(candidate)) continue;
      QFont font(candidate);
      font.setPointSize(12);
      if (RulesAreFullWidth(font)) return candidate;
    }
    return QString();
  }();
  return family;
}

QString ResolveFace(const QString& face) {
  if (!SongNames().contains(face, Qt::CaseInsensitive)) return face;
  if (Installed(face)) {
    QFont font(face);
    font.setPointSize(12);
    if (RulesAreFullWidth(font)) return face;
  }
  QString song = SongFamily();
  return song.isEmpty() ? face : song;
}

}  // namespace sr::qt
