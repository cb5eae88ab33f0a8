// Second processes of a test on Linux: a fork that plays its role and ends.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/fs/tests/child_process.h"

namespace sr::fs {

struct ChildProcess::Native {
  pid_t pid = -1;
  int in = -1;
  int out = -1;
};

ChildProcess::ChildProcess(const char* role, const std::vector<std::string>& args)
    : native_(new Native) {
  const ChildRole play = FindChildRole(role);
  int to_child[2], to_parent[2];
  if (play == nullptr || pipe(to_child) != 0 || pipe(to_parent) != 0) return;
  native_->pid = fork();
  if (native_->pid == 0) {
    close(to_child[1]);
    close(to_parent[0]);
    native_->in = to_child[0];
    native_->out = to_parent[1];
    play(*this, args);
    _exit(0);
  }
  close(to_child[0]);
  close(to_parent[1]);
  native_->in = to_parent[0];
  native_->out = to_child[1];
}

ChildProcess::~ChildProcess() {
  Wait();
  delete native_;
}

void ChildProcess::Send(int value) {
  if (write(native_->out, &value, sizeof value) != sizeof value) return;
}

int ChildProcess::Receive() {
  int value = 0;
  return read(native_->in, &value, sizeof value) == sizeof value ? value : kGone;
}

int ChildProcess::Wait() {
  if (native_->pid <= 0) return -1;
  close(native_->out);
  close(native_->in);
  int status = 0;
  waitpid(native_->pid, &status, 0);
  native_->pid = 0;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void ChildProcess::Vanish() { _exit(0); }

bool ChildProcess::RunChildRoleIfAsked(int, char**, int*) { return false; }

}  // namespace sr::fs
