#include "bench/recdb/sqlite_peer.h"

#include <cstdio>
#include <cstdlib>

namespace sr::bench {
namespace {

void Check(int rc, sqlite3* db, const char* what) {
  if (rc == SQLITE_OK || rc == SQLITE_DONE || rc == SQLITE_ROW) return;
  std::fprintf(stderr, "sqlite %s: %s\n", what, sqlite3_errmsg(db));
  std::abort();
}

}  // namespace

SqlitePeer::SqlitePeer(const std::string& path) {
  std::remove(path.c_str());
  Check(sqlite3_open(path.c_str(), &db_), db_, "open");
  Exec("PRAGMA synchronous=OFF");
  std::string create = "CREATE TABLE reg(id TEXT, name TEXT";
  for (int c = 3; c <= 21; ++c) create += ", a" + std::to_string(c) + " REAL";
  create += ", remark TEXT)";
  Exec(create.c_str());
}

SqlitePeer::~SqlitePeer() { sqlite3_close(db_); }

void SqlitePeer::Exec(const char* sql) {
  Check(sqlite3_exec(db_, sql, nullptr, nullptr, nullptr), db_, sql);
}

void SqlitePeer::ReplaceRows(const std::vector<RegisterRow>& rows) {
  Exec("BEGIN");
  Exec("DELETE FROM reg");
  std::string sql = "INSERT INTO reg VALUES(?";
  for (int c = 2; c <= kRegisterFields; ++c) sql += ",?";
  sql += ")";
  sqlite3_stmt* insert = nullptr;
  Check(sqlite3_prepare_v2(db_, sql.c_str(), -1, &insert, nullptr), db_, "prepare");
  for (const RegisterRow& row : rows) {
    sqlite3_bind_text(insert, 1, row.id.c_str(), -1, SQLITE_STATIC);
    sqlite3_bind_text(insert, 2, row.name.c_str(), -1, SQLITE_STATIC);
    for (int c = 0; c < 19; ++c) sqlite3_bind_double(insert, 3 + c, row.amounts[c]);
    sqlite3_bind_text(insert, 22, row.remark.c_str(), -1, SQLITE_STATIC);
    Check(sqlite3_step(insert), db_, "insert");
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
  Exec("COMMIT");
}

double SqlitePeer::ScanAll() {
  sqlite3_stmt* scan = nullptr;
  Check(sqlite3_prepare_v2(db_, "SELECT * FROM reg", -1, &scan, nullptr), db_, "prepare");
  double sum = 0;
  while (sqlite3_step(scan) == SQLITE_ROW) {
    sum += sqlite3_column_bytes(scan, 0) + sqlite3_column_bytes(scan, 1);
    sqlite3_column_text(scan, 0);
    sqlite3_column_text(scan, 1);
    for (int c = 2; c < 21; ++c) sum += sqlite3_column_double(scan, c);
    sqlite3_column_text(scan, 21);
    sum += sqlite3_column_bytes(scan, 21);
  }
  sqlite3_finalize(scan);
  return sum;
}

void SqlitePeer::SortByName() {
  Exec("DROP TABLE IF EXISTS sorted");
  Exec("CREATE TABLE sorted AS SELECT * FROM reg ORDER BY name");
}

}  // namespace sr::bench
