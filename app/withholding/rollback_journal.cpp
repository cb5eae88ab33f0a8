#include "app/withholding/rollback_journal.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>

#include "app/withholding/record_file.h"
#include "runtime/recdb/coding.h"

namespace sr::app {
namespace {

// The journal: the magic, the file's old length, the number of ranges, each range (offset,
// length, bytes), then a checksum of everything before it, all little-endian.
constexpr char kMagic[8] = {'S', 'R', 'J', 'O', 'U', 'R', 'N', '1'};
constexpr size_t kHeadSize = 8 + 8 + 4;
constexpr size_t kRangeHeadSize = 16;

uint64_t Checksum(const uint8_t* bytes, size_t size) {
  uint64_t sum = 0x9E3779B97F4A7C15ull ^ size;
  size_t i = 0;
  for (; i + 8 <= size; i += 8) {
    sum = (sum ^ recdb::GetU64(bytes + i)) * 0x100000001B3ull;
    sum ^= sum >> 29;
  }
  for (; i < size; ++i) sum = (sum ^ bytes[i]) * 0x100000001B3ull;
  return sum;
}

void PutI64(std::string* out, int64_t value) {
  uint8_t bytes[8];
  recdb::PutI64(bytes, value);
  out->append(reinterpret_cast<const char*>(bytes), 8);
}

const uint8_t* Raw(const std::string& bytes) {
  return reinterpret_cast<const uint8_t*>(bytes.data());
}

int Write(fs::FileSystem& files, const Text& path, const Text& protect_like,
          const std::string& bytes) {
  std::unique_ptr<fs::File> file;
  int code = files.Open(path, fs::Access::kReadWrite, fs::Share::kExclusive,
                        fs::Disposition::kCreateAlways, &file);
  // The journal holds the file's old bytes: no more readable than the file itself.
  if (code == fs::kOk) code = files.CopyPermissions(protect_like, path);
  if (code == fs::kOk) code = file->WriteAt(0, bytes.data(), bytes.size());
  if (code == fs::kOk) code = file->Sync();
  return code;
}

int RemoveIfThere(fs::FileSystem& files, const Text& path) {
  if (!FileExists(files, path)) return fs::kOk;
  const int code = files.RemoveFile(path);
  return code == fs::kNotFound ? fs::kOk : code;
}

}  // namespace

Text JournalPath(const Text& target) { return target + ".journal"; }

RollbackJournal::RollbackJournal(fs::FileSystem& files, const Text& target)
    : files_(files),
      target_(target),
      journal_(JournalPath(target)),
      writing_(JournalPath(target) + ".new") {}

int RollbackJournal::Recover() {
  // A journal still being written never took its name: the file was not touched yet.
  if (int code = RemoveIfThere(files_, writing_)) return code;
  if (!FileExists(files_, journal_)) return fs::kOk;
  if (!FileExists(files_, target_)) return files_.RemoveFile(journal_);  // nothing to roll back
  std::unique_ptr<fs::File> file;
  int code = files_.Open(target_, fs::Access::kReadWrite, fs::Share::kExclusive,
                         fs::Disposition::kOpenExisting, &file);
  // A save holds the file from before its journal takes its name until the journal is gone:
  // only a journal still there once the file is held here was left by a save cut short.
  if (code == fs::kOk && !FileExists(files_, journal_)) return fs::kOk;
  std::string journal;
  if (code == fs::kOk) code = ReadFileContent(files_, journal_, &journal);
  if (code == fs::kOk) code = Restore(*file, journal);
  file.reset();
  return code == fs::kOk ? files_.RemoveFile(journal_) : code;
}

int RollbackJournal::Begin(int64_t length, const std::vector<Range>& ranges) {
  saved_.assign(kMagic, sizeof kMagic);
  PutI64(&saved_, length);
  uint8_t count[4];
  recdb::PutI32(count, int32_t(ranges.size()));
  saved_.append(reinterpret_cast<const char*>(count), 4);
  for (const Range& range : ranges) {
    PutI64(&saved_, range.offset);
    PutI64(&saved_, int64_t(range.bytes.size()));
    saved_ += range.bytes;
  }
  uint8_t sum[8];
  recdb::PutU64(sum, Checksum(Raw(saved_), saved_.size()));
  saved_.append(reinterpret_cast<const char*>(sum), 8);
  // Written under another name and renamed once durable: a journal under its own name is whole.
  int code = Write(files_, writing_, target_, saved_);
  if (code == fs::kOk) code = files_.ReplaceFile(writing_, journal_);
  if (code != fs::kOk) {
    files_.RemoveFile(writing_);
    saved_.clear();
  }
  return code;
}

int RollbackJournal::Commit(fs::File& file) {
  int code = file.Sync();
  if (code == fs::kOk) code = files_.RemoveFile(journal_);
  if (code == fs::kOk) saved_.clear();
  return code;
}

int RollbackJournal::RollBack(fs::File& file) {
  if (saved_.empty()) return fs::kOk;  // Begin did not finish: the file was not touched
  int code = Restore(file, saved_);
  if (code == fs::kOk) code = files_.RemoveFile(journal_);
  if (code == fs::kOk) saved_.clear();
  return code;
}

int RollbackJournal::Restore(fs::File& file, const std::string& journal) {
  const uint8_t* bytes = Raw(journal);
  const size_t size = journal.size();
  if (size < kHeadSize + 8 || std::memcmp(bytes, kMagic, sizeof kMagic) != 0 ||
      recdb::GetU64(bytes + size - 8) != Checksum(bytes, size - 8)) {
    return kDamagedJournal;  // better to refuse than to write nonsense into the file
  }
  const int64_t length = recdb::GetI64(bytes + 8);
  const int32_t count = recdb::GetI32(bytes + 16);
  // Every range checked before the first is written: a journal is put back whole or not at all.
  std::vector<std::pair<int64_t, std::string_view>> ranges;
  size_t at = kHeadSize;
  for (int32_t r = 0; r < count; ++r) {
    if (size - 8 - at < kRangeHeadSize) return kDamagedJournal;
    const int64_t offset = recdb::GetI64(bytes + at);
    const uint64_t range = recdb::GetU64(bytes + at + 8);
    at += kRangeHeadSize;
    if (offset < 0 || range > size - 8 - at) return kDamagedJournal;
    ranges.emplace_back(offset, std::string_view(journal).substr(at, size_t(range)));
    at += size_t(range);
  }
  if (length < 0 || at != size - 8) return kDamagedJournal;
  for (const auto& [offset, old] : ranges) {
    if (int code = file.WriteAt(offset, old.data(), old.size())) return code;
  }
  if (int code = file.Truncate(length)) return code;
  return file.Sync();
}

}  // namespace sr::app
