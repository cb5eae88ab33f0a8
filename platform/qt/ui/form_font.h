#ifndef SALARY_PLATFORM_QT_UI_FORM_FONT_H_
#define SALARY_PLATFORM_QT_UI_FORM_FONT_H_

#include <QFont>

namespace sr::qt {

// The forms were drawn for 9-point SimSun on a 96-dpi screen: a line 12 pixels high, a Chinese
// character 12 pixels and a Latin one 6 pixels wide. Labels are sized to exactly that, down to
// the pixel (the head count is 12 pixels high, the settings help text 14 lines of 168).
inline constexpr int kFormLinePixels = 12;

// The installed face closest to it: SimSun itself, else the free Ming face AR PL UMing (whose
// 12-pixel lines are 12 pixels high, like SimSun's), else the first Song face installed. A face
// whose lines come out taller is made smaller until a line fits the 12 pixels, so that no label
// is cut whatever is installed.
QFont FormFont();

}  // namespace sr::qt

#endif  // SALARY_PLATFORM_QT_UI_FORM_FONT_H_
