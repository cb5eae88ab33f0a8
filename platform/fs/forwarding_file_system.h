#ifndef SALARY_PLATFORM_FS_FORWARDING_FILE_SYSTEM_H_
#define SALARY_PLATFORM_FS_FORWARDING_FILE_SYSTEM_H_

#include <memory>
#include <utility>

#include "platform/fs/file_system.h"

namespace sr::fs {

// A file that passes every call to another one. A test derives from it and overrides the one
// call it wants to fail or to watch.
class ForwardingFile : public File {
 public:
  explicit ForwardingFile(std::unique_ptr<File> target) : target_(std::move(target)) {}

  int ReadAt(int64_t offset, void* buffer, size_t length, size_t* got) override {
    return target_->ReadAt(offset, buffer, length, got);
  }
  int WriteAt(int64_t offset, const void* buffer, size_t length) override {
    return target_->WriteAt(offset, buffer, length);
  }
  int Length(int64_t* length) override { return target_->Length(length); }
  int Truncate(int64_t length) override { return target_->Truncate(length); }
  int Lock(int64_t offset, int64_t length) override { return target_->Lock(offset, length); }
  int Unlock(int64_t offset, int64_t length) override { return target_->Unlock(offset, length); }
  int Sync() override { return target_->Sync(); }

  File& target() { return *target_; }

 private:
  std::unique_ptr<File> target_;
};

// A file system that passes every call to another one (which must outlive it). Open hands the
// opened file to WrapFile, so a test can wrap the files too.
class ForwardingFileSystem : public FileSystem {
 public:
  explicit ForwardingFileSystem(FileSystem& target) : target_(target) {}

  int Open(const Path& path, Access access, Share share, Disposition disposition,
           std::unique_ptr<File>* file) override {
    int code = target_.Open(path, access, share, disposition, file);
    if (code == kOk) *file = WrapFile(std::move(*file));
    return code;
  }
  int FullPath(const Path& path, Path* full) override { return target_.FullPath(path, full); }
  int CopyFile(const Path& from, const Path& to) override { return target_.CopyFile(from, to); }
  int ReplaceFile(const Path& from, const Path& to) override {
    return target_.ReplaceFile(from, to);
  }
  int RemoveFile(const Path& path) override { return target_.RemoveFile(path); }
  int Exists(const Path& path, bool* exists) override { return target_.Exists(path, exists); }
  int IsFolder(const Path& path, bool* folder) override { return target_.IsFolder(path, folder); }
  int ResolveLinks(const Path& path, Path* target) override {
    return target_.ResolveLinks(path, target);
  }
  int MayReplace(const Path& path, bool* allowed) override {
    return target_.MayReplace(path, allowed);
  }
  int CopyPermissions(const Path& from, const Path& to) override {
    return target_.CopyPermissions(from, to);
  }
  int MakeFolder(const Path& path) override { return target_.MakeFolder(path); }
  int ListFolder(const Path& path, std::vector<Path>* names) override {
    return target_.ListFolder(path, names);
  }
  int GetCurrentDirectory(Path* directory) override {
    return target_.GetCurrentDirectory(directory);
  }
  int SetCurrentDirectory(const Path& directory) override {
    return target_.SetCurrentDirectory(directory);
  }

  FileSystem& target() { return target_; }

 protected:
  // Wraps each successfully opened file; the default hands it back unchanged.
  virtual std::unique_ptr<File> WrapFile(std::unique_ptr<File> file) { return file; }

 private:
  FileSystem& target_;
};

}  // namespace sr::fs

#endif  // SALARY_PLATFORM_FS_FORWARDING_FILE_SYSTEM_H_
