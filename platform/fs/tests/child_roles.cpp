#include <map>
#include <string>

#include "platform/fs/tests/child_process.h"

namespace sr::fs {

namespace {

std::map<std::string, ChildRole>& ChildRoles() {
  static std::map<std::string, ChildRole> roles;
  return roles;
}

}  // namespace

bool RegisterChildRole(const char* name, ChildRole role) {
  ChildRoles()[name] = role;
  return true;
}

ChildRole FindChildRole(const std::string& name) {
  auto found = ChildRoles().find(name);
  return found == ChildRoles().end() ? nullptr : found->second;
}

}  // namespace sr::fs
