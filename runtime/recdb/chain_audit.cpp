#include "runtime/recdb/chain_audit.h"

#include <algorithm>
#include <string>

#include "runtime/recdb/coding.h"
#include "runtime/recdb/errors.h"

namespace sr::recdb {
namespace {

using Kind = ChainFinding::Kind;

// Records batched like the sort reads them.
constexpr int64_t kBatchBytes = 163840;

// The owner of every block so far; each walk claims the blocks it passes.
class BlockClaims {
 public:
  BlockClaims(Companion& companion, ChainAudit* audit)
      : companion_(companion),
        audit_(audit),
        owners_(static_cast<size_t>(std::max(audit->block_count, 1))) {}

  // Follows the chain from `first`, claiming its blocks for `owner`, until it ends or meets a
  // block that is past the end, claimed already, or unreadable.
  void Walk(int32_t first, BlockOwner owner) {
    for (int32_t block = first; block > 0;) {
      if (block >= audit_->block_count) return Add(Kind::kPastEnd, block, owner);
      BlockOwner& holder = owners_[block];
      if (holder.claimed()) return Conflict(block, holder, owner);
      holder = owner;
      ChainBlock read;
      if (int code = companion_.ReadBlock(block, &read); code != kDbOk) {
        return Add(Kind::kDamaged, block, owner, {}, code);
      }
      ++(owner.is_free_list() ? audit_->free_blocks : audit_->chained_blocks);
      block = read.next;
    }
  }

 private:
  void Conflict(int32_t block, const BlockOwner& holder, const BlockOwner& owner) {
    if (holder == owner) return Add(Kind::kDamaged, block, owner);  // a loop
    if (holder.is_free_list()) return Add(Kind::kFreeAndChained, block, owner);
    Add(Kind::kCrossLinked, block, holder, owner);
  }
  void Add(Kind kind, int32_t block, BlockOwner owner, BlockOwner other = {}, int code = 0) {
    audit_->findings.push_back({kind, block, owner, other, code});
  }

  Companion& companion_;
  ChainAudit* audit_;
  std::vector<BlockOwner> owners_;
};

int WalkRecords(Database& db, BlockClaims* claims) {
  std::vector<int> chain_fields;
  for (size_t f = 0; f < db.fields().size(); ++f) {
    if (IsChainType(db.fields()[f].type)) chain_fields.push_back(static_cast<int>(f));
  }
  int32_t count = 0;
  int code = db.ReadRecordCount(&count);
  if (code != kDbOk || chain_fields.empty()) return code;
  const int32_t size = db.header().record_size;
  const int32_t batch = static_cast<int32_t>(std::max<int64_t>(1, kBatchBytes / size));
  std::string bytes;
  for (int32_t first = 0; first < count; first += batch) {
    const int32_t n = std::min(batch, count - first);
    if ((code = db.ReadRecords(first, n, &bytes)) != kDbOk) return code;
    for (int32_t r = 0; r < n; ++r) {
      for (int f : chain_fields) {
        const int64_t at = static_cast<int64_t>(r) * size + db.fields()[f].offset;
        claims->Walk(GetI32(Raw(bytes) + at), {first + r, f});
      }
    }
  }
  return kDbOk;
}

// Ends the free list before its first block that is past the end, seen before or unreadable,
// and counts what stays listed.
int EndFreeListBeforeEnd(Companion& companion) {
  CompanionHeader header;
  int code = companion.ReadHeader(&header);
  if (code != kDbOk) return code;
  std::vector<bool> seen(static_cast<size_t>(std::max(header.block_count, 1)));
  int32_t previous = 0;
  int32_t listed = 0;
  bool cut = false;
  for (int32_t block = header.first_free; block > 0;) {
    ChainBlock read;
    cut = block >= header.block_count || seen[block] || companion.ReadBlock(block, &read) != kDbOk;
    if (cut) break;
    seen[block] = true;
    ++listed;
    previous = block;
    block = read.next;
  }
  if (!cut && header.free_count < header.block_count) return kDbOk;
  if (cut && previous == 0) header.first_free = 0;
  if (cut && previous > 0) {
    ChainBlock before;
    if ((code = companion.ReadBlock(previous, &before)) != kDbOk) return code;
    before.next = 0;
    if ((code = companion.WriteBlock(previous, before)) != kDbOk) return code;
  }
  header.free_count = listed;
  return companion.WriteHeader(header);
}

}  // namespace

size_t ChainAudit::Count(ChainFinding::Kind kind) const {
  return static_cast<size_t>(std::count_if(
      findings.begin(), findings.end(), [kind](const ChainFinding& f) { return f.kind == kind; }));
}

int AuditChains(Database& db, ChainAudit* audit) {
  *audit = ChainAudit();
  Companion* companion = db.companion();
  if (companion == nullptr) return kDbOk;
  CompanionHeader header;
  int code = companion->ReadHeader(&header);
  if (code != kDbOk) return code;
  audit->block_count = header.block_count;
  BlockClaims claims(*companion, audit);
  claims.Walk(header.first_free, {BlockOwner::kFreeList, -1});
  return WalkRecords(db, &claims);
}

int EmptyChainsPastEnd(Database& db, std::vector<ChainFinding>* emptied) {
  emptied->clear();
  if (db.companion() == nullptr) return kDbOk;
  int code = EndFreeListBeforeEnd(*db.companion());
  // A walk stops at its first finding, so emptying one value may uncover another that shared
  // its blocks: audit again until no value reaches past the end.
  while (code == kDbOk) {
    ChainAudit audit;
    if ((code = AuditChains(db, &audit)) != kDbOk) break;
    const size_t before = emptied->size();
    for (const ChainFinding& finding : audit.findings) {
      if (finding.kind != Kind::kPastEnd || finding.owner.is_free_list()) continue;
      code = db.EmptyChainSlot(finding.owner.record, finding.owner.field);
      if (code != kDbOk) break;
      emptied->push_back(finding);
    }
    if (emptied->size() == before) break;
  }
  return code;
}

}  // namespace sr::recdb
