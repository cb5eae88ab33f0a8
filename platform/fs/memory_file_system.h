#ifndef SALARY_PLATFORM_FS_MEMORY_FILE_SYSTEM_H_
#define SALARY_PLATFORM_FS_MEMORY_FILE_SYSTEM_H_

#include <memory>
#include <string>

#include "platform/fs/file_system.h"

namespace sr::fs {

// A file system that keeps its folders and files in memory: each instance is a disk of its own,
// and nothing reaches the real one. It meets the contract of file_system.h as the real file
// system does: share modes and byte-range locks hold between its handles by the Windows rules,
// names follow the same rules (GBK, both separators, full paths from the text alone, letter case
// matters as on Linux, at most 255 bytes a name), and the codes are the same. What it lacks:
// permissions and links (MayReplace allows everything, ResolveLinks gives the name itself), other
// processes, and files above 4 GiB (a write or cut beyond gives kDiskFull).
//
// It starts with the root folder "/", which is the current directory. Its handles may be used
// from several threads at once (each handle by one thread at a time); the file system must
// outlive them.
class MemoryFileSystem : public FileSystem {
 public:
  MemoryFileSystem();
  ~MemoryFileSystem() override;
  MemoryFileSystem(const MemoryFileSystem&) = delete;
  MemoryFileSystem& operator=(const MemoryFileSystem&) = delete;

  int Open(const Path& path, Access access, Share share, Disposition disposition,
           std::unique_ptr<File>* file) override;
  int FullPath(const Path& path, Path* full) override;
  int CopyFile(const Path& from, const Path& to) override;
  int ReplaceFile(const Path& from, const Path& to) override;
  int RemoveFile(const Path& path) override;
  int Exists(const Path& path, bool* exists) override;
  int IsFolder(const Path& path, bool* folder) override;
  int GetCurrentDirectory(Path* directory) override;
  int SetCurrentDirectory(const Path& directory) override;
  // Makes a folder and every folder on its way; kBadPath when a file stands on the way.
  int MakeFolder(const Path& path) override;
  int ListFolder(const Path& path, std::vector<Path>* names) override;

  // For tests, past every share mode and lock, as a program that does not use this seam would
  // reach a file on disk.
  // The whole contents of a file: kNotFound, kBadPath or kAccessDenied (a folder) as Open gives.
  int ReadContents(const Path& path, std::string* bytes) const;
  // Creates the file, or changes its contents in place: open handles see the new bytes.
  int WriteContents(const Path& path, const std::string& bytes);

 private:
  struct State;
  std::shared_ptr<State> state_;  // shared with the open handles
};

}  // namespace sr::fs

#endif  // SALARY_PLATFORM_FS_MEMORY_FILE_SYSTEM_H_
