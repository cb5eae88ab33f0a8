#ifndef SALARY_RUNTIME_RECDB_ERRORS_H_
#define SALARY_RUNTIME_RECDB_ERRORS_H_

#include "base/value.h"

namespace sr {

// Database error codes (the last database error). 0 is success; -1 and -3 to -15 are the file
// system's codes (sr::fs::Code). The named ones are those this library produces itself.
enum DatabaseError : int {
  kDbOk = 0,
  kDbUnknown = -1,
  kDbCreateFailed = -2,
  kDbNotFound = -3,
  kDbBadSeek = -10,
  kDbLockViolation = -13,
  kDbBadFieldName = -18,
  kDbDuplicateFieldName = -20,
  kDbNotDatabaseFile = -22,
  kDbVersionTooHigh = -23,
  kDbBadAlias = -24,
  kDbBeforeFirst = -25,
  kDbAfterLast = -26,
  kDbNoDatabase = -27,
  kDbLockFailed = -28,
  kDbUnlockFailed = -29,
  kDbCompanionReadFailed = -35,
  kDbCompanionVersion = -36,
  kDbCompanionDamaged = -37,
  kDbAlreadyOpen = -38,
  kDbFieldReadFailed = -46,
  kDbFileSize = -48,
  kDbCompanionCreateFailed = -50,
  kDbCompanionAccess = -59,
  kDbNoCurrentRecord = -60,
  kDbNoSuchField = -61,
  kDbRecordReadFailed = -62,
  kDbCountReadFailed = -65,
  kDbNotOpen = -66,
  kDbNoCurrentDatabase = -67,
  kDbBadKeyField = -71,
  kDbValueKindMismatch = -72,
  kDbNotExclusive = -74,
  kDbBadPassword = -78,
};

// The message of a database error code; the empty text for 0 and for codes without a message.
Text DatabaseErrorMessage(int code);

// The calling thread's last database error: 0 after a successful operation, else its code.
int LastDatabaseError();
void SetLastDatabaseError(int code);

}  // namespace sr

#endif  // SALARY_RUNTIME_RECDB_ERRORS_H_
