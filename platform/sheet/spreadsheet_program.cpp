#include "platform/sheet/spreadsheet_program.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace sr::sheet {

namespace {

std::string FindOnPath(const char* name) {
  const char* path = getenv("PATH");
  std::string dirs = path ? path : "/usr/bin:/bin";
  size_t start = 0;
  while (start <= dirs.size()) {
    size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    std::string dir = dirs.substr(start, end - start);
    std::string candidate = (dir.empty() ? std::string(".") : dir) + "/" + name;
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
    start = end + 1;
  }
  return std::string();
}

// Runs argv detached: a grandchild in its own session, so that it neither becomes a zombie of
// ours nor dies with our terminal. Only async-signal-safe calls happen after fork. A pipe that
// closes on exec tells whether the program could be started: it reads EOF after a successful
// exec and the errno of a failed one.
bool SpawnDetached(const std::vector<std::string>& args, std::string* error) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) {
    *error = std::string("pipe: ") + std::strerror(errno);
    return false;
  }
  pid_t child = fork();
  if (child < 0) {
    *error = std::string("fork: ") + std::strerror(errno);
    close(report[0]);
    close(report[1]);
    return false;
  }
  if (child == 0) {
    close(report[0]);
    setsid();
    if (fork() != 0) _exit(0);
    int null_fd = open("/dev/null", O_RDONLY);
    if (null_fd >= 0) dup2(null_fd, 0);
    execv(argv[0], argv.data());
    int failure = errno;
    ssize_t ignored = write(report[1], &failure, sizeof failure);
    (void)ignored;
    _exit(127);
  }
  close(report[1]);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  int failure = 0;
  ssize_t got;
  while ((got = read(report[0], &failure, sizeof failure)) < 0 && errno == EINTR) {
  }
  close(report[0]);
  if (got == static_cast<ssize_t>(sizeof failure)) {
    *error = "cannot start " + args[0] + ": " + std::strerror(failure);
    return false;
  }
  return true;
}

}  // namespace

std::optional<SpreadsheetProgram> SpreadsheetProgram::Find() {
  SpreadsheetProgram program;
  const char* command = getenv(kCommandVariable);
  if (command && *command) {
    program.shell_command_ = true;
    program.command_ = command;
    return program;
  }
  for (const char* name : {"soffice", "localc", "libreoffice"}) {
    std::string path = FindOnPath(name);
    if (!path.empty()) {
      program.command_ = path;
      return program;
    }
  }
  return std::nullopt;
}

std::vector<std::string> SpreadsheetProgram::CommandFor(const std::string& file) const {
  if (shell_command_) return {"/bin/sh", "-c", command_ + " \"$1\"", "sh", file};
  // -n opens the file as a template: a new untitled document, so Save asks for a name and the
  // temporary file is never overwritten.
  return {command_, "-n", file};
}

bool SpreadsheetProgram::Open(const std::string& file, std::string* error) const {
  return SpawnDetached(CommandFor(file), error);
}

std::string MakePrivateFolder(std::string* error) {
  const char* tmp = getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/salary-export-XXXXXX";
  // mkdtemp creates the folder with mode 0700.
  if (!mkdtemp(pattern.data())) {
    *error = "mkdtemp " + pattern + ": " + std::strerror(errno);
    return std::string();
  }
  return pattern;
}

}  // namespace sr::sheet
