#ifndef SALARY_RUNTIME_RECDB_CHAIN_AUDIT_H_
#define SALARY_RUNTIME_RECDB_CHAIN_AUDIT_H_

#include <cstddef>
#include <cstdint>
#include <vector>

#include "runtime/recdb/database.h"

// Checks that every block of a companion file has at most one owner: one memo or bytes value of
// one record, or the free block list. A block with two owners is the damage that lets one
// record's data overwrite another's.
namespace sr::recdb {

struct BlockOwner {
  static constexpr int32_t kFreeList = -1;
  static constexpr int32_t kNobody = -2;

  int32_t record = kNobody;  // 0-based record, or one of the two values above
  int field = -1;            // field index of a record's owner

  bool is_free_list() const { return record == kFreeList; }
  bool claimed() const { return record != kNobody; }
  bool operator==(const BlockOwner&) const = default;
};

struct ChainFinding {
  enum class Kind {
    kCrossLinked,     // `block` is in the chains of `owner` and `other`
    kFreeAndChained,  // `block` is on the free list and in the chain of `owner`
    kPastEnd,         // `owner`'s chain (or the free list) reaches `block`, past the last block
    kDamaged,         // `owner`'s chain runs in a loop at `block`, or `block` reads with `code`
  };
  Kind kind = Kind::kDamaged;
  int32_t block = 0;
  BlockOwner owner;
  BlockOwner other;
  int code = 0;
};

struct ChainAudit {
  int32_t block_count = 0;     // as the companion's header says
  int64_t chained_blocks = 0;  // blocks claimed by one chain
  int64_t free_blocks = 0;     // blocks claimed by the free list
  std::vector<ChainFinding> findings;

  size_t Count(ChainFinding::Kind kind) const;
};

// Walks the free block list, then each memo and bytes chain of every record; a walk stops at
// its first finding. A database without a companion file has nothing to audit. Returns 0, or
// the code of a failure to read the record count, the records or the companion's header.
// Call it while nobody else writes the file (the whole-database lock, or an exclusive mode).
int AuditChains(Database& db, ChainAudit* audit);

// The repair after the companion file was cut short: empties every memo and bytes value whose
// chain reaches past the companion's last block (its blocks below the end then belong to
// nobody), and ends the free list before its first block past the end. *emptied receives a
// kPastEnd finding for every value emptied. REQUIRES: the database is open for writing.
int EmptyChainsPastEnd(Database& db, std::vector<ChainFinding>* emptied);

}  // namespace sr::recdb

#endif  // SALARY_RUNTIME_RECDB_CHAIN_AUDIT_H_
