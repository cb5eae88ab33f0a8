#ifndef SALARY_APP_PRINTOUTS_PRINTOUT_SETTINGS_H_
#define SALARY_APP_PRINTOUTS_PRINTOUT_SETTINGS_H_

#include "base/value.h"
#include "platform/fs/file_system.h"

namespace sr::app {

// The settings of the printouts, kept in the program directory as the GBK text file
// "打印设置.txt", one "名称=值" line each; today only the company name ("单位名称=").
struct PrintoutSettings {
  Text company;
};

inline constexpr char kPrintoutSettingsFile[] = "打印设置.txt";

// Reads the settings; a missing or unreadable file gives the defaults (no company name).
PrintoutSettings LoadPrintoutSettings(fs::FileSystem& files, const Text& program_directory);
// Writes them; returns the file seam's code (0 on success).
int SavePrintoutSettings(fs::FileSystem& files, const Text& program_directory,
                         const PrintoutSettings& settings);

// The file's text for `settings`, and the settings read from such a text (unknown lines are
// ignored, CR LF or LF ends a line).
Text PrintoutSettingsText(const PrintoutSettings& settings);
PrintoutSettings ParsePrintoutSettings(const Text& text);

}  // namespace sr::app

#endif  // SALARY_APP_PRINTOUTS_PRINTOUT_SETTINGS_H_
