// Folders and files in memory, with the share modes and byte-range locks of the real file system
// held between this file system's own handles. One mutex guards everything: the names, the
// contents, the handles and the locks.
#include "platform/fs/memory_file_system.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <set>
#include <vector>

#include "platform/fs/utf8_path.h"

namespace sr::fs {
namespace {

constexpr int64_t kDataEnd = int64_t{1} << 62;      // the data range of every file (file_system.h)
constexpr int64_t kMaxFileSize = int64_t{1} << 32;  // a memory disk, not a sparse file
constexpr size_t kMaxNameBytes = 255;               // what Linux file systems allow a name

bool Reads(Access access) { return access != Access::kWrite; }
bool Writes(Access access) { return access != Access::kRead; }
bool DeniesRead(Share share) { return share == Share::kDenyRead || share == Share::kExclusive; }
bool DeniesWrite(Share share) { return share == Share::kDenyWrite || share == Share::kExclusive; }

bool InDataRange(int64_t offset, int64_t length) {
  return offset >= 0 && length >= 0 && offset <= kDataEnd - length;
}

bool Overlap(int64_t a, int64_t a_length, int64_t b, int64_t b_length) {
  return a < b + b_length && b < a + a_length;
}

struct Opened {
  const void* handle;
  Access access;
  Share share;
};

struct Locked {
  const void* handle;
  int64_t offset;
  int64_t length;
};

struct Node {
  std::string data;
  std::vector<Opened> handles;
  std::vector<Locked> locks;
};

// Whether a handle opened with `access` and `share` may stand beside `other`: neither denies
// what the other does.
bool Compatible(const Opened& other, Access access, Share share) {
  return !(Reads(access) && DeniesRead(other.share)) &&
         !(Writes(access) && DeniesWrite(other.share)) &&
         !(DeniesRead(share) && Reads(other.access)) &&
         !(DeniesWrite(share) && Writes(other.access));
}

bool NamesFit(const std::string& utf8) {
  size_t start = 0;
  while (start <= utf8.size()) {
    size_t end = std::min(utf8.find('/', start), utf8.size());
    if (end - start > kMaxNameBytes) return false;
    start = end + 1;
  }
  return true;
}

// Where a name stands.
enum class Place {
  kFile,
  kFolder,
  kMissing,   // nothing of that name, in an existing folder
  kNoFolder,  // a folder on the way is missing, or is a file
};

// A name worked out: its full UTF-8 form and where it stands.
struct Located {
  std::string full;
  Place place;
};

// The code of a call that needs a file where there is none, as Windows tells them apart.
int NotAFile(Place place) {
  switch (place) {
    case Place::kFolder:
      return kAccessDenied;
    case Place::kMissing:
      return kNotFound;
    default:
      return kBadPath;
  }
}

class MemoryFile : public File {
 public:
  MemoryFile(std::shared_ptr<std::mutex> mutex, std::shared_ptr<Node> node, Access access)
      : mutex_(std::move(mutex)), node_(std::move(node)), access_(access) {}

  // Closing gives up the share mode and every lock of the handle.
  ~MemoryFile() override {
    std::lock_guard lock(*mutex_);
    std::erase_if(node_->handles, [this](const Opened& o) { return o.handle == this; });
    std::erase_if(node_->locks, [this](const Locked& l) { return l.handle == this; });
  }

  int ReadAt(int64_t offset, void* buffer, size_t length, size_t* got) override {
    if (got != nullptr) *got = 0;
    std::lock_guard lock(*mutex_);
    if (int code = BeforeTransfer(Reads(access_), offset, length)) return code;
    const int64_t size = static_cast<int64_t>(node_->data.size());
    const size_t n =
        offset >= size
            ? 0
            : static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(length), size - offset));
    if (n > 0) std::memcpy(buffer, node_->data.data() + offset, n);
    if (got != nullptr) *got = n;
    return kOk;
  }

  int WriteAt(int64_t offset, const void* buffer, size_t length) override {
    std::lock_guard lock(*mutex_);
    if (int code = BeforeTransfer(Writes(access_), offset, length)) return code;
    const int64_t end = offset + static_cast<int64_t>(length);
    if (end > kMaxFileSize) return kDiskFull;
    if (end > static_cast<int64_t>(node_->data.size())) node_->data.resize(end, '\0');
    if (length > 0) std::memcpy(node_->data.data() + offset, buffer, length);
    return kOk;
  }

  int Length(int64_t* length) override {
    std::lock_guard lock(*mutex_);
    *length = static_cast<int64_t>(node_->data.size());
    return kOk;
  }

  int Truncate(int64_t length) override {
    std::lock_guard lock(*mutex_);
    if (!Writes(access_)) return kAccessDenied;
    if (!InDataRange(length, 0)) return kBadSeek;
    if (length > kMaxFileSize) return kDiskFull;
    node_->data.resize(static_cast<size_t>(length), '\0');
    return kOk;
  }

  // As on Windows, a lock that overlaps any held one is refused, this handle's own included.
  int Lock(int64_t offset, int64_t length) override {
    std::lock_guard lock(*mutex_);
    if (length == 0 || !InDataRange(offset, length)) return kBadSeek;
    for (const Locked& held : node_->locks) {
      if (Overlap(offset, length, held.offset, held.length)) return kLockViolation;
    }
    node_->locks.push_back({this, offset, length});
    return kOk;
  }

  int Unlock(int64_t offset, int64_t length) override {
    std::lock_guard lock(*mutex_);
    auto& locks = node_->locks;
    auto it = std::find_if(locks.begin(), locks.end(), [&](const Locked& l) {
      return l.handle == this && l.offset == offset && l.length == length;
    });
    if (it == locks.end()) return kUnknown;
    locks.erase(it);
    return kOk;
  }

  int Sync() override { return kOk; }

 private:
  // The checks before a read or write: access, position, and other handles' locks.
  int BeforeTransfer(bool allowed, int64_t offset, size_t length) const {
    if (!allowed) return kAccessDenied;
    if (length > static_cast<uint64_t>(kDataEnd) ||
        !InDataRange(offset, static_cast<int64_t>(length))) {
      return kBadSeek;
    }
    for (const Locked& held : node_->locks) {
      if (held.handle != this && length > 0 &&
          Overlap(offset, static_cast<int64_t>(length), held.offset, held.length)) {
        return kLockViolation;
      }
    }
    return kOk;
  }

  std::shared_ptr<std::mutex> mutex_;
  std::shared_ptr<Node> node_;
  Access access_;
};

}  // namespace

struct MemoryFileSystem::State {
  std::shared_ptr<std::mutex> mutex = std::make_shared<std::mutex>();
  std::set<std::string> folders{"/"};
  std::map<std::string, std::shared_ptr<Node>> files;
  std::string cwd = "/";

  // The full UTF-8 name of `path` and where it stands; a malformed name gives its code.
  int Find(const Path& path, Located* at) const {
    std::string utf8;
    if (int code = ToUtf8Path(path, &utf8)) return code;
    if (!NamesFit(utf8)) return kBadPath;
    at->full = AbsoluteUtf8Path(utf8, cwd);
    if (folders.count(at->full) > 0) {
      at->place = Place::kFolder;
    } else if (files.count(at->full) > 0) {
      at->place = Place::kFile;
    } else {
      const bool in_folder = folders.count(Utf8PathParent(at->full)) > 0;
      at->place = in_folder ? Place::kMissing : Place::kNoFolder;
    }
    return kOk;
  }

  // The checks that copying or moving a file over another share, in the real file system's
  // order: both names, the source (which `source_free` judges), then the target, which must not
  // be in use (nor be the source).
  int FindSourceAndTarget(const Path& from, const Path& to,
                          bool (State::*source_free)(const std::string&) const, Located* source,
                          Located* target) const {
    if (int code = Find(from, source)) return code;
    if (int code = Find(to, target)) return code;
    if (source->place != Place::kFile) return NotAFile(source->place);
    if (!(this->*source_free)(source->full)) return kSharingViolation;
    if (target->place != Place::kFile && target->place != Place::kMissing) {
      return NotAFile(target->place);
    }
    if (target->full == source->full || InUse(target->full)) return kSharingViolation;
    return kOk;
  }

  bool InUse(const std::string& full) const {
    auto it = files.find(full);
    return it != files.end() && !it->second->handles.empty();
  }
  bool NotInUse(const std::string& full) const { return !InUse(full); }

  // Whether the file may be read while others write nothing, as a copy's source is read.
  bool ReadableForCopy(const std::string& full) const {
    const auto& handles = files.at(full)->handles;
    return std::all_of(handles.begin(), handles.end(), [](const Opened& other) {
      return Compatible(other, Access::kRead, Share::kDenyWrite);
    });
  }
};

MemoryFileSystem::MemoryFileSystem() : state_(std::make_shared<State>()) {}

MemoryFileSystem::~MemoryFileSystem() = default;

int MemoryFileSystem::Open(const Path& path, Access access, Share share, Disposition disposition,
                           std::unique_ptr<File>* file) {
  std::lock_guard lock(*state_->mutex);
  Located at;
  if (int code = state_->Find(path, &at)) return code;
  if (at.place == Place::kMissing && disposition == Disposition::kCreateAlways) {
    state_->files[at.full] = std::make_shared<Node>();
    at.place = Place::kFile;
  }
  if (at.place != Place::kFile) return NotAFile(at.place);
  const std::shared_ptr<Node>& node = state_->files[at.full];
  // Creating empties the file, which is writing whatever access the caller asked for.
  const Access checked = disposition == Disposition::kCreateAlways && access == Access::kRead
                             ? Access::kReadWrite
                             : access;
  for (const Opened& other : node->handles) {
    if (!Compatible(other, checked, share)) return kSharingViolation;
  }
  if (disposition == Disposition::kCreateAlways) node->data.clear();
  auto opened = std::make_unique<MemoryFile>(state_->mutex, node, access);
  node->handles.push_back({opened.get(), access, share});
  *file = std::move(opened);
  return kOk;
}

int MemoryFileSystem::FullPath(const Path& path, Path* full) {
  std::lock_guard lock(*state_->mutex);
  std::string utf8;
  if (int code = ToUtf8Path(path, &utf8)) return code;
  return FromUtf8Path(AbsoluteUtf8Path(utf8, state_->cwd), full);
}

int MemoryFileSystem::CopyFile(const Path& from, const Path& to) {
  std::lock_guard lock(*state_->mutex);
  Located source, target;
  if (int code = state_->FindSourceAndTarget(from, to, &State::ReadableForCopy, &source, &target)) {
    return code;
  }
  state_->files[target.full] =
      std::make_shared<Node>(Node{state_->files[source.full]->data, {}, {}});
  return kOk;
}

int MemoryFileSystem::ReplaceFile(const Path& from, const Path& to) {
  std::lock_guard lock(*state_->mutex);
  Located source, target;
  if (int code = state_->FindSourceAndTarget(from, to, &State::NotInUse, &source, &target)) {
    return code;
  }
  state_->files[target.full] = state_->files[source.full];
  state_->files.erase(source.full);
  return kOk;
}

int MemoryFileSystem::RemoveFile(const Path& path) {
  std::lock_guard lock(*state_->mutex);
  Located at;
  if (int code = state_->Find(path, &at)) return code;
  if (at.place != Place::kFile) return NotAFile(at.place);
  if (state_->InUse(at.full)) return kSharingViolation;
  state_->files.erase(at.full);
  return kOk;
}

int MemoryFileSystem::Exists(const Path& path, bool* exists) {
  *exists = false;
  std::lock_guard lock(*state_->mutex);
  Located at;
  if (int code = state_->Find(path, &at)) return code;
  *exists = at.place == Place::kFile || at.place == Place::kFolder;
  return kOk;
}

int MemoryFileSystem::IsFolder(const Path& path, bool* folder) {
  *folder = false;
  std::lock_guard lock(*state_->mutex);
  Located at;
  if (int code = state_->Find(path, &at)) return code;
  *folder = at.place == Place::kFolder;
  return kOk;
}

int MemoryFileSystem::GetCurrentDirectory(Path* directory) {
  std::lock_guard lock(*state_->mutex);
  return FromUtf8Path(state_->cwd, directory);
}

int MemoryFileSystem::SetCurrentDirectory(const Path& directory) {
  std::lock_guard lock(*state_->mutex);
  Located at;
  if (int code = state_->Find(directory, &at)) return code;
  if (at.place == Place::kMissing) return kNotFound;
  if (at.place != Place::kFolder) return kBadPath;  // a file is no folder to go into
  state_->cwd = at.full;
  return kOk;
}

int MemoryFileSystem::MakeFolder(const Path& path) {
  std::lock_guard lock(*state_->mutex);
  Located at;
  if (int code = state_->Find(path, &at)) return code;
  for (size_t slash = at.full.find('/', 1);; slash = at.full.find('/', slash + 1)) {
    const std::string folder = at.full.substr(0, slash);
    if (state_->files.count(folder) > 0) return kBadPath;
    state_->folders.insert(folder);
    if (slash == std::string::npos) return kOk;
  }
}

int MemoryFileSystem::ListFolder(const Path& path, std::vector<Path>* names) {
  names->clear();
  std::lock_guard lock(*state_->mutex);
  Located at;
  if (int code = state_->Find(path, &at)) return code;
  if (at.place != Place::kFolder) return at.place == Place::kFile ? kAccessDenied : kBadPath;
  const std::string prefix = at.full == "/" ? at.full : at.full + "/";
  for (auto it = state_->files.lower_bound(prefix);
       it != state_->files.end() && it->first.compare(0, prefix.size(), prefix) == 0; ++it) {
    const std::string name = it->first.substr(prefix.size());
    if (name.find('/') != std::string::npos) continue;
    names->emplace_back();
    if (int code = FromUtf8Path(name, &names->back())) return code;
  }
  return kOk;
}

int MemoryFileSystem::ReadContents(const Path& path, std::string* bytes) const {
  std::lock_guard lock(*state_->mutex);
  Located at;
  if (int code = state_->Find(path, &at)) return code;
  if (at.place != Place::kFile) return NotAFile(at.place);
  *bytes = state_->files.at(at.full)->data;
  return kOk;
}

int MemoryFileSystem::WriteContents(const Path& path, const std::string& bytes) {
  std::lock_guard lock(*state_->mutex);
  Located at;
  if (int code = state_->Find(path, &at)) return code;
  if (at.place == Place::kMissing) state_->files[at.full] = std::make_shared<Node>();
  if (at.place != Place::kFile && at.place != Place::kMissing) return NotAFile(at.place);
  state_->files[at.full]->data = bytes;
  return kOk;
}

}  // namespace sr::fs
