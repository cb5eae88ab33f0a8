#include "app/register/file_replacement.h"

#include <memory>
#include <vector>

namespace sr::app {
namespace {

constexpr size_t kCopyChunk = 1 << 16;

int CopyContents(fs::File& from, fs::File& to) {
  std::vector<char> buffer(kCopyChunk);
  int64_t offset = 0;
  for (;;) {
    size_t got = 0;
    if (int code = from.ReadAt(offset, buffer.data(), buffer.size(), &got)) return code;
    if (got == 0) return fs::kOk;
    if (int code = to.WriteAt(offset, buffer.data(), got)) return code;
    offset += static_cast<int64_t>(got);
  }
}

}  // namespace

Text SavingFilePath(const Text& target) { return target + ".saving"; }

int FileReplacement::Prepare() {
  if (int code = files_.ResolveLinks(path_, &target_)) return code;
  saving_ = SavingFilePath(target_);
  const int code = files_.RemoveFile(saving_);
  return code == fs::kNotFound ? fs::kOk : code;
}

int FileReplacement::Protect() { return files_.CopyPermissions(target_, saving_); }

int FileReplacement::CopyTarget() {
  std::unique_ptr<fs::File> from, to;
  int code = files_.Open(target_, fs::Access::kRead, fs::Share::kDenyNone,
                         fs::Disposition::kOpenExisting, &from);
  if (code == fs::kOk) {
    code = files_.Open(saving_, fs::Access::kReadWrite, fs::Share::kExclusive,
                       fs::Disposition::kCreateAlways, &to);
  }
  if (code == fs::kOk) code = Protect();
  if (code == fs::kOk) code = CopyContents(*from, *to);
  return code;
}

int FileReplacement::Commit() {
  std::unique_ptr<fs::File> file;
  int code = files_.Open(saving_, fs::Access::kRead, fs::Share::kDenyNone,
                         fs::Disposition::kOpenExisting, &file);
  if (code == fs::kOk) code = file->Sync();
  file.reset();
  return code == fs::kOk ? files_.ReplaceFile(saving_, target_) : code;
}

void FileReplacement::Abandon() { files_.RemoveFile(saving_); }

}  // namespace sr::app
