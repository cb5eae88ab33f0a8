#ifndef SALARY_PLATFORM_QT_UI_IDLE_HOOKS_H_
#define SALARY_PLATFORM_QT_UI_IDLE_HOOKS_H_

#include <functional>

namespace sr::qt {

// Developer hooks run once, the first time the program waits for input (its first idle moment
// after start-up). They are set by environment variables and do nothing without them:
//   SR_SCREENSHOT=FILE.png   saves a picture: the whole screen where there is one (so open menus
//                            and dialogs show), else each shown window (FILE, FILE-1.png, ...)
//   SR_SCREENSHOT_DELAY=MS   waits that long after the idle moment before taking it
//   SR_EXIT_WHEN_IDLE=1      then ends the program (`quit` is called with exit code 0)
//   SR_STARTED_AT=MICROS     with one of the others: prints how long after that moment (in
//                            microseconds since the epoch, bash's EPOCHREALTIME without the
//                            point, taken just before starting the program) the idle moment came
void InstallIdleHooks(std::function<void(int)> quit);

}  // namespace sr::qt

#endif  // SALARY_PLATFORM_QT_UI_IDLE_HOOKS_H_
