#ifndef SALARY_PLATFORM_FS_TESTS_CHILD_PROCESS_H_
#define SALARY_PLATFORM_FS_TESTS_CHILD_PROCESS_H_

#include <string>
#include <vector>

namespace sr::fs {

class ChildProcess;

// What a second process does: it gets the arguments it was started with and talks to the test
// through `me`. A role opens its files itself, so that its handles are its own.
using ChildRole = void (*)(ChildProcess& me, const std::vector<std::string>& args);

// Makes `role` known under `name`, so that a second process can be told to play it. Returns true
// (for a static initialiser: see SR_CHILD_ROLE).
bool RegisterChildRole(const char* name, ChildRole role);

// The role registered under `name`, or nullptr.
ChildRole FindChildRole(const std::string& name);

// Defines a role: SR_CHILD_ROLE(HoldTheFile) { ... me.Send(code); ... }
#define SR_CHILD_ROLE(name)                                                                 \
  void name(::sr::fs::ChildProcess& me, const std::vector<std::string>& args);              \
  [[maybe_unused]] const bool name##_registered = ::sr::fs::RegisterChildRole(#name, name); \
  void name(::sr::fs::ChildProcess& me, const std::vector<std::string>& args)

// A second, real process of the test program that plays a role and exchanges ints with the test,
// so a test can tell it when to open, lock or close and hear each result. On Linux it is a fork
// of the test; on Windows the test program started again (its main asks RunChildRoleIfAsked).
class ChildProcess {
 public:
  // What Receive gives when the other side has gone (crashed or finished).
  static constexpr int kGone = 1000;

  ChildProcess(const char* role, const std::vector<std::string>& args);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  void Send(int value);
  int Receive();
  // Lets the child end and waits for it; its exit status (0 when it ran to the end).
  int Wait();

  // Ends the calling child at once, without closing anything first, as a crash would: the system
  // closes its files and drops its locks.
  [[noreturn]] static void Vanish();

  // In a program started as a child: plays the role it was asked for and returns true with the
  // exit status in *status. Otherwise returns false.
  static bool RunChildRoleIfAsked(int argc, char** argv, int* status);

 private:
  struct Native;
  explicit ChildProcess(Native* native) : native_(native) {}  // the child's own end
  Native* native_;
};

}  // namespace sr::fs

#endif  // SALARY_PLATFORM_FS_TESTS_CHILD_PROCESS_H_
