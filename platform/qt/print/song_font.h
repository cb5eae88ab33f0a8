#ifndef SALARY_PLATFORM_QT_PRINT_SONG_FONT_H_
#define SALARY_PLATFORM_QT_PRINT_SONG_FONT_H_

#include <QFont>
#include <QString>

namespace sr::qt {

// True when the box-drawing rule, the ideographic space and a Han character are equally wide in
// `font`, so that rules printed from those characters close into a table.
bool RulesAreFullWidth(const QFont& font);

// The installed Song (Ming) style CJK family with full-width rules: SimSun itself when it is
// installed and passes, else the first that passes of the free Song faces (AR PL UMing, Noto
// Serif CJK, ...). Empty when none is installed.
QString SongFamily();

// The family to use for a requested face: the Song names (the Chinese name of SimSun, SimSun,
// NSimSun and its Chinese name) go to SongFamily() unless the face itself is installed with
// full-width rules; any other face is returned as it is.
QString ResolveFace(const QString& face);

}  // namespace sr::qt

#endif  // SALARY_PLATFORM_QT_PRINT_SONG_FONT_H_
