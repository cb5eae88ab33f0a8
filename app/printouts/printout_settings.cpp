#include "app/printouts/printout_settings.h"

#include <memory>

#include "app/register/register_storage.h"

namespace sr::app {

namespace {

constexpr char kCompanyKey[] = "单位名称=";
constexpr size_t kMostBytes = 64 * 1024;  // a settings file is a few lines

}  // namespace

Text PrintoutSettingsText(const PrintoutSettings& settings) {
  return Text(kCompanyKey) + settings.company + "\r\n";
}

PrintoutSettings ParsePrintoutSettings(const Text& text) {
  PrintoutSettings settings;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == Text::npos) end = text.size();
    Text line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind(kCompanyKey, 0) == 0) settings.company = line.substr(sizeof(kCompanyKey) - 1);
    start = end + 1;
  }
  return settings;
}

PrintoutSettings LoadPrintoutSettings(fs::FileSystem& files, const Text& program_directory) {
  std::unique_ptr<fs::File> file;
  if (files.Open(SideFilePath(program_directory, kPrintoutSettingsFile), fs::Access::kRead,
                 fs::Share::kDenyWrite, fs::Disposition::kOpenExisting, &file) != fs::kOk) {
    return {};
  }
  int64_t length = 0;
  if (file->Length(&length) != fs::kOk || length < 0 || static_cast<size_t>(length) > kMostBytes) {
    return {};
  }
  Text text(static_cast<size_t>(length), '\0');
  size_t got = 0;
  if (file->ReadAt(0, text.data(), text.size(), &got) != fs::kOk) return {};
  text.resize(got);
  return ParsePrintoutSettings(text);
}

int SavePrintoutSettings(fs::FileSystem& files, const Text& program_directory,
                         const PrintoutSettings& settings) {
  std::unique_ptr<fs::File> file;
  int code = files.Open(SideFilePath(program_directory, kPrintoutSettingsFile), fs::Access::kWrite,
                        fs::Share::kDenyRead, fs::Disposition::kCreateAlways, &file);
  if (code != fs::kOk) return code;
  const Text text = PrintoutSettingsText(settings);
  code = file->WriteAt(0, text.data(), text.size());
  return code != fs::kOk ? code : file->Sync();
}

}  // namespace sr::app
