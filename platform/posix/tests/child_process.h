#ifndef SALARY_PLATFORM_POSIX_TESTS_CHILD_PROCESS_H_
#define SALARY_PLATFORM_POSIX_TESTS_CHILD_PROCESS_H_

#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace sr::posix {

// A second, real process that runs `body` and exchanges ints with the test over two pipes, so a
// test can tell it when to open, lock or close and hear each result. The child must open its
// files itself: a handle inherited through fork would share the parent's locks.
class ChildProcess {
 public:
  // What Receive gives when the other side has gone (crashed or finished).
  static constexpr int kGone = 1000;

  explicit ChildProcess(const std::function<void(ChildProcess&)>& body) {
    int to_child[2], to_parent[2];
    if (pipe(to_child) != 0 || pipe(to_parent) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      close(to_child[1]);
      close(to_parent[0]);
      in_ = to_child[0];
      out_ = to_parent[1];
      body(*this);
      _exit(0);
    }
    close(to_child[0]);
    close(to_parent[1]);
    in_ = to_parent[0];
    out_ = to_child[1];
  }
  ~ChildProcess() { Wait(); }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  void Send(int value) {
    if (write(out_, &value, sizeof value) != sizeof value) return;
  }
  int Receive() {
    int value = 0;
    return read(in_, &value, sizeof value) == sizeof value ? value : kGone;
  }
  // Lets the child end and waits for it; its exit status (0 when it ran to the end).
  int Wait() {
    if (pid_ <= 0) return -1;
    close(out_);
    close(in_);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = 0;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  pid_t pid_ = -1;
  int in_ = -1;
  int out_ = -1;
};

}  // namespace sr::posix

#endif  // SALARY_PLATFORM_POSIX_TESTS_CHILD_PROCESS_H_
