#include "runtime/recdb/alias.h"

namespace sr::recdb {
namespace {

bool IsAsciiLetter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsAsciiDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool IsFullWidthDigit(unsigned lead, unsigned trail) {
  return lead == 0xA3 && trail >= 0xB0 && trail <= 0xB9;
}

bool IsAliasCharacter(unsigned lead, unsigned trail) {
  if (lead >= 0x81 && lead <= 0xA0) return true;
  if (lead >= 0xAA) return true;
  if (lead == 0xA3) {
    return IsFullWidthDigit(lead, trail) || (trail >= 0xC1 && trail <= 0xDA) ||
           (trail >= 0xE1 && trail <= 0xFA);
  }
  if (lead == 0xA4) return trail >= 0xA1 && trail <= 0xF3;
  if (lead == 0xA5) return trail >= 0xA1 && trail <= 0xF6;
  return lead == 0xA9 && trail == 0x60;
}

}  // namespace

bool IsValidAlias(const Text& alias) {
  for (size_t pos = 0; pos < alias.size();) {
    unsigned char c = alias[pos];
    if (c < 0x80) {
      if (!IsAsciiLetter(c) && !IsAsciiDigit(c) && c != '_') return false;
      if (pos == 0 && IsAsciiDigit(c)) return false;
      ++pos;
      continue;
    }
    if (pos + 1 >= alias.size()) return false;
    unsigned char trail = alias[pos + 1];
    if (!IsAliasCharacter(c, trail)) return false;
    if (pos == 0 && IsFullWidthDigit(c, trail)) return false;
    pos += 2;
  }
  return true;
}

}  // namespace sr::recdb
