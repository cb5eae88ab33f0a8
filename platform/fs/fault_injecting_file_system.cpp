#include "platform/fs/fault_injecting_file_system.h"

#include <cstdlib>
#include <utility>

namespace sr::fs {
namespace {

// A file whose changes go through its file system's faults first.
class FaultInjectingFile : public ForwardingFile {
 public:
  FaultInjectingFile(std::unique_ptr<File> target, FaultInjectingFileSystem& owner)
      : ForwardingFile(std::move(target)), owner_(owner) {}

  int WriteAt(int64_t offset, const void* buffer, size_t length) override {
    if (int code = owner_.Write(target(), offset, buffer, length)) return code;
    return ForwardingFile::WriteAt(offset, buffer, length);
  }
  int Truncate(int64_t length) override {
    if (int code = owner_.Change()) return code;
    return ForwardingFile::Truncate(length);
  }
  int Sync() override {
    if (int code = owner_.Change()) return code;
    return ForwardingFile::Sync();
  }

 private:
  FaultInjectingFileSystem& owner_;
};

}  // namespace

int FaultInjectingFileSystem::Change() {
  ++changes_;
  if (changes_ == kill_at_) std::_Exit(kKilledExitCode);
  return changes_ > last_change_ ? kHardware : kOk;
}

int FaultInjectingFileSystem::Write(File& file, int64_t offset, const void* buffer, size_t length) {
  ++writes_;
  if (changes_ + 1 == kill_at_ && tear_ == Tear::kHalfWritten && length > 1) {
    file.WriteAt(offset, buffer, length / 2);
  }
  if (int code = Change()) return code;
  if (writes_ == failing_write_) return failing_code_;
  if (static_cast<int64_t>(length) > room_) return kDiskFull;
  if (room_ != kUnlimited) room_ -= static_cast<int64_t>(length);
  return kOk;
}

int FaultInjectingFileSystem::Open(const Path& path, Access access, Share share,
                                   Disposition disposition, std::unique_ptr<File>* file) {
  if (disposition == Disposition::kCreateAlways) {
    if (int code = Change()) return code;
  }
  return ForwardingFileSystem::Open(path, access, share, disposition, file);
}

int FaultInjectingFileSystem::CopyFile(const Path& from, const Path& to) {
  if (int code = Change()) return code;
  return ForwardingFileSystem::CopyFile(from, to);
}

int FaultInjectingFileSystem::ReplaceFile(const Path& from, const Path& to) {
  if (int code = Change()) return code;
  return ForwardingFileSystem::ReplaceFile(from, to);
}

int FaultInjectingFileSystem::RemoveFile(const Path& path) {
  if (int code = Change()) return code;
  return ForwardingFileSystem::RemoveFile(path);
}

int FaultInjectingFileSystem::CopyPermissions(const Path& from, const Path& to) {
  if (int code = Change()) return code;
  return ForwardingFileSystem::CopyPermissions(from, to);
}

std::unique_ptr<File> FaultInjectingFileSystem::WrapFile(std::unique_ptr<File> file) {
  return std::make_unique<FaultInjectingFile>(std::move(file), *this);
}

}  // namespace sr::fs
