#ifndef SALARY_BENCH_RECDB_SQLITE_PEER_H_
#define SALARY_BENCH_RECDB_SQLITE_PEER_H_

#include <sqlite3.h>

#include <string>
#include <vector>

#include "bench/recdb/register_data.h"

// The peer: the same rows in an SQLite table of 22 columns. Synchronous writes are off, since the
// record database does not sync either.
namespace sr::bench {

class SqlitePeer {
 public:
  explicit SqlitePeer(const std::string& path);
  ~SqlitePeer();

  void Exec(const char* sql);
  // Removes every row and inserts `rows` in one transaction, one prepared statement.
  void ReplaceRows(const std::vector<RegisterRow>& rows);
  // Reads every column of every row; returns a checksum so the work cannot be skipped.
  double ScanAll();
  // CREATE TABLE sorted AS SELECT ... ORDER BY name (dropped first).
  void SortByName();

 private:
  sqlite3* db_ = nullptr;
};

}  // namespace sr::bench

#endif  // SALARY_BENCH_RECDB_SQLITE_PEER_H_
