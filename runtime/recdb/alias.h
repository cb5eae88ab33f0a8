#ifndef SALARY_RUNTIME_RECDB_ALIAS_H_
#define SALARY_RUNTIME_RECDB_ALIAS_H_

#include "base/value.h"

namespace sr::recdb {

// An alias is made of ASCII letters, digits and "_", Chinese characters (GBK lead byte 0x81 to
// 0xA0 or 0xAA and above), full-width digits and letters, and kana; it does not start with a
// digit of either width. REQUIRES: alias is not empty (an empty alias is allowed and unchecked).
bool IsValidAlias(const Text& alias);

}  // namespace sr::recdb

#endif  // SALARY_RUNTIME_RECDB_ALIAS_H_
