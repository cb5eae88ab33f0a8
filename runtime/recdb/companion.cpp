#include "runtime/recdb/companion.h"

#include <algorithm>
#include <cstring>

#include "runtime/recdb/coding.h"
#include "runtime/recdb/errors.h"
#include "runtime/recdb/wait.h"

namespace sr::recdb {
namespace {

// Holds the lock on the first byte of a block for the lifetime of the guard.
class BlockLock {
 public:
  BlockLock(CipherFile& file, int64_t block, int wait_ms)
      : file_(file), offset_(block * kBlockSize) {
    code_ = file_.Lock(offset_, 1);
    if (IsRefusal(code_) && wait_ms > 0) {
      code_ = RetryWhileRefused([this] { return file_.Lock(offset_, 1); }, wait_ms);
    }
  }
  ~BlockLock() {
    if (code_ == fs::kOk) file_.Unlock(offset_, 1);
  }
  int code() const { return code_; }

 private:
  CipherFile& file_;
  int64_t offset_;
  int code_;
};

}  // namespace

std::string EncodeCompanionHeader(const CompanionHeader& header) {
  std::string bytes(kBlockSize, '\0');
  uint8_t* p = Raw(bytes);
  std::memcpy(p, kCompanionMagic, 4);
  PutI32(p + 4, header.version);
  PutDouble(p + 8, header.created);
  PutI32(p + 16, header.block_count);
  PutI32(p + 20, header.free_count);
  PutI32(p + 24, header.first_free);
  return bytes;
}

bool SameCounts(const CompanionHeader& a, const CompanionHeader& b) {
  return a.block_count == b.block_count && a.free_count == b.free_count &&
         a.first_free == b.first_free;
}

bool DecodeCompanionHeader(const uint8_t* p, CompanionHeader* header) {
  if (std::memcmp(p, kCompanionMagic, 4) != 0) return false;
  header->version = GetI32(p + 4);
  header->created = GetDouble(p + 8);
  header->block_count = GetI32(p + 16);
  header->free_count = GetI32(p + 20);
  header->first_free = GetI32(p + 24);
  return true;
}

std::string EncodeChainBlock(const ChainBlock& block) {
  std::string bytes(kBlockSize, '\0');
  uint8_t* p = Raw(bytes);
  PutI32(p, block.previous);
  PutI32(p + 4, block.next);
  PutI32(p + 8, block.used);
  std::memcpy(p + 12, block.data.data(), std::min<size_t>(block.data.size(), kBlockData));
  return bytes;
}

int Companion::ReadHeader(CompanionHeader* header) {
  uint8_t bytes[kCompanionHeaderSize];
  int code = file_.ReadExact(0, bytes, sizeof bytes, kDbCompanionAccess);
  if (code != kDbOk) return code;
  return DecodeCompanionHeader(bytes, header) ? kDbOk : kDbCompanionAccess;
}

int Companion::WriteHeader(const CompanionHeader& header) {
  std::string bytes = EncodeCompanionHeader(header);
  return file_.WriteAt(16, bytes.data() + 16, 12);
}

int Companion::ReadBlock(int32_t number, ChainBlock* block) {
  if (number <= 0) return kDbCompanionAccess;
  BlockLock lock(file_, number, lock_wait_ms_);
  if (lock.code() != fs::kOk) return lock.code();
  uint8_t bytes[kBlockSize];
  int code = file_.ReadExact(number * kBlockSize, bytes, kBlockSize, kDbCompanionAccess);
  if (code != kDbOk) return code;
  block->previous = GetI32(bytes);
  block->next = GetI32(bytes + 4);
  block->used = GetI32(bytes + 8);
  if (block->used < 0 || block->used > kBlockData) return kDbCompanionAccess;
  block->data.assign(reinterpret_cast<const char*>(bytes + 12), block->used);
  return kDbOk;
}

int Companion::WriteBlock(int32_t number, const ChainBlock& block) {
  BlockLock lock(file_, number, lock_wait_ms_);
  if (lock.code() != fs::kOk) return lock.code();
  return file_.WriteAt(number * kBlockSize, EncodeChainBlock(block));
}

int Companion::ReadChain(int32_t first, std::string* value) {
  value->clear();
  if (first <= 0) return kDbOk;
  int64_t length = 0;
  int code = file_.Length(&length);
  if (code != fs::kOk) return code;
  // A chain cannot have more blocks than the file; more steps mean a loop in a damaged file.
  int64_t steps_left = length / kBlockSize;
  for (int32_t number = first; number > 0; --steps_left) {
    if (steps_left <= 0) return kDbCompanionAccess;
    ChainBlock block;
    code = ReadBlock(number, &block);
    if (code != kDbOk) return code;
    value->append(block.data);
    number = block.next;
  }
  return kDbOk;
}

int Companion::OldChain(int32_t first, int32_t block_count, std::vector<int32_t>* blocks) {
  for (int32_t number = first; number > 0;) {
    if (number >= block_count || static_cast<int32_t>(blocks->size()) >= block_count) {
      return kDbCompanionAccess;
    }
    ChainBlock block;
    int code = ReadBlock(number, &block);
    if (code != kDbOk) return code;
    blocks->push_back(number);
    number = block.next;
  }
  return kDbOk;
}

int Companion::TakeBlock(CompanionHeader* header, int32_t* number) {
  if (header->first_free > 0 && header->free_count > 0) {
    ChainBlock head;
    int code = ReadBlock(header->first_free, &head);
    if (code != kDbOk) return code;
    *number = header->first_free;
    header->first_free = head.next;
    --header->free_count;
    return kDbOk;
  }
  if (header->block_count == INT32_MAX / kBlockSize) return kDbCompanionAccess;
  *number = header->block_count++;
  return kDbOk;
}

int Companion::Release(const std::vector<int32_t>& blocks, CompanionHeader* header) {
  if (blocks.empty()) return kDbOk;
  int32_t old_head = header->first_free;
  for (size_t n = 0; n < blocks.size(); ++n) {
    ChainBlock block;
    block.previous = n == 0 ? 0 : blocks[n - 1];
    block.next = n + 1 < blocks.size() ? blocks[n + 1] : old_head;
    int code = WriteBlock(blocks[n], block);
    if (code != kDbOk) return code;
  }
  if (old_head > 0) {
    ChainBlock head;
    int code = ReadBlock(old_head, &head);
    if (code != kDbOk) return code;
    head.previous = blocks.back();
    head.used = 0;
    head.data.clear();
    code = WriteBlock(old_head, head);
    if (code != kDbOk) return code;
  }
  header->first_free = blocks.front();
  header->free_count += static_cast<int32_t>(blocks.size());
  return kDbOk;
}

// Unlinks the free blocks at the end of the file from the free list and lowers the block count;
// the caller writes the header and then cuts the file.
int Companion::TrimEnd(CompanionHeader* header) {
  int32_t last = header->block_count - 1;
  for (; last > 0; --last) {
    ChainBlock block;
    int code = ReadBlock(last, &block);
    if (code != kDbOk) return code;
    if (block.used > 0) break;
    // The list head's previous field may be stale (taking the head leaves it), so the head is
    // recognised by the header, not by its previous field.
    bool is_head = header->first_free == last;
    int32_t previous = is_head ? 0 : block.previous;
    if (is_head) {
      header->first_free = block.next;
    } else if (previous > 0) {
      ChainBlock before;
      code = ReadBlock(previous, &before);
      if (code == kDbOk) {
        before.next = block.next;
        code = WriteBlock(previous, before);
      }
      if (code != kDbOk) return code;
    }
    if (block.next > 0 && block.next < last) {
      ChainBlock after;
      code = ReadBlock(block.next, &after);
      if (code == kDbOk) {
        after.previous = previous;
        code = WriteBlock(block.next, after);
      }
      if (code != kDbOk) return code;
    }
    --header->free_count;
  }
  header->block_count = last + 1;
  return kDbOk;
}

int Companion::TakeBlocks(const std::string& value, std::vector<int32_t>* blocks,
                          CompanionHeader* header) {
  const size_t pieces = (value.size() + kBlockData - 1) / kBlockData;
  while (blocks->size() < pieces) {
    int32_t number = 0;
    int code = TakeBlock(header, &number);
    if (code != kDbOk) return code;
    blocks->push_back(number);
  }
  return kDbOk;
}

int Companion::WritePiece(const std::string& value, const std::vector<int32_t>& blocks, size_t n) {
  ChainBlock block;
  block.previous = n == 0 ? 0 : blocks[n - 1];
  block.next = n + 1 < blocks.size() ? blocks[n + 1] : 0;
  block.data = value.substr(n * kBlockData, kBlockData);
  block.used = static_cast<int32_t>(block.data.size());
  return WriteBlock(blocks[n], block);
}

int Companion::WriteHeaderIfChanged(const CompanionHeader& header, CompanionHeader* on_disk) {
  if (SameCounts(header, *on_disk)) return kDbOk;
  int code = WriteHeader(header);
  if (code == kDbOk) *on_disk = header;
  return code;
}

// The first `kept` blocks are the old chain's own; the others were just taken. Blocks past the
// old end are written before the header counts them, blocks from the free list after the header
// no longer lists them, and the old chain links to them last.
int Companion::WriteNewChain(const std::string& value, const std::vector<int32_t>& blocks,
                             size_t kept, const CompanionHeader& header, CompanionHeader* on_disk) {
  const int32_t old_end = on_disk->block_count;
  int code = kDbOk;
  for (size_t n = kept; n < blocks.size() && code == kDbOk; ++n) {
    if (blocks[n] >= old_end) code = WritePiece(value, blocks, n);
  }
  if (code == kDbOk) code = WriteHeaderIfChanged(header, on_disk);
  for (size_t n = kept; n < blocks.size() && code == kDbOk; ++n) {
    if (blocks[n] < old_end) code = WritePiece(value, blocks, n);
  }
  for (size_t n = 0; n < kept && code == kDbOk; ++n) code = WritePiece(value, blocks, n);
  return code;
}

// Frees blocks that no record points at any more: they are written as free blocks first and
// listed by the header last; a trimmed file is cut only once the header no longer counts them.
int Companion::ReleaseLeftovers(const std::vector<int32_t>& released, CompanionHeader* header,
                                CompanionHeader* on_disk) {
  if (released.empty()) return kDbOk;
  int code = Release(released, header);
  if (code != kDbOk) return code;
  const bool released_last =
      std::find(released.begin(), released.end(), header->block_count - 1) != released.end();
  if (released_last && (code = TrimEnd(header)) != kDbOk) return code;
  if ((code = WriteHeaderIfChanged(*header, on_disk)) != kDbOk) return code;
  if (!released_last) return kDbOk;
  return file_.Truncate(static_cast<int64_t>(header->block_count) * kBlockSize);
}

int Companion::WriteChainLocked(const std::string& value, int32_t old_first,
                                const StoreFirstBlock& store) {
  CompanionHeader on_disk;
  int code = ReadHeader(&on_disk);
  if (code != kDbOk) return code;
  std::vector<int32_t> old_blocks;
  code = OldChain(old_first, on_disk.block_count, &old_blocks);
  if (code != kDbOk) return code;
  const size_t pieces = (value.size() + kBlockData - 1) / kBlockData;
  const size_t kept = std::min(pieces, old_blocks.size());
  std::vector<int32_t> blocks(old_blocks.begin(), old_blocks.begin() + kept);
  CompanionHeader header = on_disk;
  if ((code = TakeBlocks(value, &blocks, &header)) != kDbOk) return code;
  if ((code = WriteNewChain(value, blocks, kept, header, &on_disk)) != kDbOk) return code;
  const int32_t new_first = blocks.empty() ? 0 : blocks.front();
  if (new_first != old_first && (code = store(new_first)) != kDbOk) return code;
  const std::vector<int32_t> released(old_blocks.begin() + kept, old_blocks.end());
  return ReleaseLeftovers(released, &header, &on_disk);
}

int Companion::WriteChain(const std::string& value, int32_t old_first,
                          const StoreFirstBlock& store) {
  BlockLock lock(file_, 0, lock_wait_ms_);
  if (lock.code() != fs::kOk) return lock.code();
  return WriteChainLocked(value, old_first, store);
}

int Companion::Reset() {
  BlockLock lock(file_, 0, lock_wait_ms_);
  if (lock.code() != fs::kOk) return lock.code();
  CompanionHeader empty;
  int code = WriteHeader(empty);
  if (code != kDbOk) return code;
  return file_.Truncate(kBlockSize);
}

}  // namespace sr::recdb
