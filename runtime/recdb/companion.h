#ifndef SALARY_RUNTIME_RECDB_COMPANION_H_
#define SALARY_RUNTIME_RECDB_COMPANION_H_

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "runtime/recdb/cipher_file.h"

// The companion file: 512-byte blocks holding memo and bytes values as chains of blocks.
namespace sr::recdb {

inline constexpr int64_t kBlockSize = 512;
inline constexpr int32_t kBlockData = 500;
inline constexpr int64_t kCompanionHeaderSize = 32;
inline constexpr char kCompanionMagic[] = "QKDT";

struct CompanionHeader {
  int32_t version = 65536;
  double created = 0;
  int32_t block_count = 1;  // including the header block
  int32_t free_count = 0;
  int32_t first_free = 0;   // head of the free block list, 0 = none
};

// Whether the block count, free count and first free block are the same.
bool SameCounts(const CompanionHeader& a, const CompanionHeader& b);

// The whole header block: the 32 header bytes and 480 zero bytes.
std::string EncodeCompanionHeader(const CompanionHeader& header);
// Returns false when the magic is not "QKDT". `bytes` holds the 32 header bytes.
bool DecodeCompanionHeader(const uint8_t* bytes, CompanionHeader* header);

struct ChainBlock {
  int32_t previous = 0;
  int32_t next = 0;
  int32_t used = 0;
  std::string data;  // the used bytes
};

std::string EncodeChainBlock(const ChainBlock& block);

// Stores a chain's first block in the record that owns the chain; returns 0 or a code.
using StoreFirstBlock = std::function<int(int32_t first)>;

// Chains are read and written under the companion's own locks: byte 0 while blocks are taken or
// released, and the first byte of each block read or written. They are taken in every share mode.
//
// The writes of a chain are ordered so that a process that dies between any two of them leaves
// no block both on the free list and in a chain, and no block in two chains: blocks leave the
// free list before a chain links them, and join it only after their record stopped pointing at
// them. A block may at worst belong to nothing.
class Companion {
 public:
  explicit Companion(CipherFile file) : file_(std::move(file)) {}

  CipherFile& file() { return file_; }
  // Milliseconds a lock refused by another process is tried again (default 0).
  void set_lock_wait(int ms) { lock_wait_ms_ = ms; }

  // The bytes of the chain starting at `first` (0 = empty). A block that cannot be read whole, or
  // a chain that is damaged (a loop, a used count above 500), gives -59.
  int ReadChain(int32_t first, std::string* value);

  // Stores `value` as a chain, reusing the blocks of the chain at `old_first`, then the free
  // list, then new blocks at the end; releases the old chain's leftover blocks and trims free
  // blocks off the end of the file. `store` receives the new first block (0 when empty) when it
  // differs from `old_first`, after the new chain is complete and before anything is released;
  // when it fails, nothing is released and its code is returned.
  int WriteChain(const std::string& value, int32_t old_first, const StoreFirstBlock& store);

  // Empties the file: block count 1, no free blocks, cut to the header block.
  int Reset();

  // The header, and one block (a used count above 500 or a short read gives -59), for checks.
  int ReadHeader(CompanionHeader* header);
  int ReadBlock(int32_t number, ChainBlock* block);
  int WriteHeader(const CompanionHeader& header);
  int WriteBlock(int32_t number, const ChainBlock& block);

 private:
  int OldChain(int32_t first, int32_t block_count, std::vector<int32_t>* blocks);
  int TakeBlock(CompanionHeader* header, int32_t* number);
  int TakeBlocks(const std::string& value, std::vector<int32_t>* blocks, CompanionHeader* header);
  int WritePiece(const std::string& value, const std::vector<int32_t>& blocks, size_t n);
  int WriteNewChain(const std::string& value, const std::vector<int32_t>& blocks, size_t kept,
                    const CompanionHeader& header, CompanionHeader* on_disk);
  int Release(const std::vector<int32_t>& blocks, CompanionHeader* header);
  int TrimEnd(CompanionHeader* header);
  int ReleaseLeftovers(const std::vector<int32_t>& released, CompanionHeader* header,
                       CompanionHeader* on_disk);
  int WriteHeaderIfChanged(const CompanionHeader& header, CompanionHeader* on_disk);
  int WriteChainLocked(const std::string& value, int32_t old_first, const StoreFirstBlock& store);

  CipherFile file_;
  int lock_wait_ms_ = 0;
};

}  // namespace sr::recdb

#endif  // SALARY_RUNTIME_RECDB_COMPANION_H_
