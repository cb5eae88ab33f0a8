#include "platform/sheet/spreadsheet_program.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/gbk.h"
#include "base/text.h"

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

// What the watcher tells about the program it started.
struct Report {
  enum Kind : int { kExecFailed = 1, kEnded = 2, kRunning = 3 };
  int kind = 0;
  int value = 0;  // the errno of a failed exec, the wait status of an ended program
};

void Send(int fd, Report report) {
  ssize_t ignored = write(fd, &report, sizeof report);
  (void)ignored;
}

// Runs in the forked watcher, so only async-signal-safe calls: starts argv in a grandchild and
// reports whether it failed to start, ended within `watch_ms`, or is still running (then it is
// left to init and runs on after we exit).
[[noreturn]] void Watch(char* const* argv, int report, int watch_ms) {
  setsid();
  pid_t program = fork();
  if (program == 0) {
    int null_fd = open("/dev/null", O_RDONLY);
    if (null_fd >= 0) dup2(null_fd, 0);
    execv(argv[0], argv);
    Send(report, {Report::kExecFailed, errno});
    _exit(127);
  }
  if (program < 0) {
    Send(report, {Report::kExecFailed, errno});
    _exit(0);
  }
  if (watch_ms < 0) {  // as long as it runs
    int status = 0;
    while (waitpid(program, &status, 0) < 0 && errno == EINTR) {
    }
    Send(report, {Report::kEnded, status});
    _exit(0);
  }
  const timespec pause{0, 20 * 1000 * 1000};
  for (int waited = 0; waited < watch_ms; waited += 20) {
    int status = 0;
    if (waitpid(program, &status, WNOHANG) == program) {
      Send(report, {Report::kEnded, status});
      _exit(0);
    }
    nanosleep(&pause, nullptr);
  }
  Send(report, {Report::kRunning, 0});
  _exit(0);
}

// Starts argv through a watcher child and waits for it; the first report that matters.
bool StartWatched(const std::vector<std::string>& args, int watch_ms, Report* outcome,
                  std::string* error) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) {
    *error = std::string("pipe: ") + std::strerror(errno);
    return false;
  }
  pid_t watcher = fork();
  if (watcher < 0) {
    *error = std::string("fork: ") + std::strerror(errno);
    close(report[0]);
    close(report[1]);
    return false;
  }
  if (watcher == 0) {
    close(report[0]);
    Watch(argv.data(), report[1], watch_ms);
  }
  close(report[1]);
  int status = 0;
  while (waitpid(watcher, &status, 0) < 0 && errno == EINTR) {
  }
  Report got;
  *outcome = Report{Report::kRunning, 0};
  ssize_t n;
  while ((n = read(report[0], &got, sizeof got)) == static_cast<ssize_t>(sizeof got) ||
         (n < 0 && errno == EINTR)) {
    // A failed exec is reported first and is what matters; the watcher then saw the child end.
    if (n > 0 && outcome->kind != Report::kExecFailed) *outcome = got;
  }
  close(report[0]);
  return true;
}

std::string BaseName(const std::string& path) { return path.substr(path.rfind('/') + 1); }

// Whether LibreOffice at `program` can show a window at all: there is a display to show it on,
// and its program folder holds a plugin that draws on one. The no-display package has only the
// headless plugin (libvclplug_svplo.so); it starts, takes its time and ends with a failure.
bool LibreOfficeCanShow(const std::string& program) {
  const char* x11 = getenv("DISPLAY");
  const char* wayland = getenv("WAYLAND_DISPLAY");
  if ((x11 == nullptr || *x11 == '\0') && (wayland == nullptr || *wayland == '\0')) return false;
  char* resolved = realpath(program.c_str(), nullptr);
  if (resolved == nullptr) return false;
  const std::string path = resolved;
  free(resolved);
  DIR* folder = opendir(path.substr(0, path.rfind('/')).c_str());
  if (folder == nullptr) return false;
  bool drawn = false;
  while (const dirent* entry = readdir(folder)) {
    const std::string name = entry->d_name;
    if (name.rfind("libvclplug_", 0) == 0 && name.rfind("libvclplug_svp", 0) != 0) drawn = true;
  }
  closedir(folder);
  return drawn;
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
      // One that cannot show the workbook is waited for until it ends, however long it takes,
      // so that its failure is seen and the workbook kept where the user finds it.
      if (!LibreOfficeCanShow(path)) program.watch_ms_ = -1;
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

bool SpreadsheetProgram::Open(const std::string& file, Text* error) const {
  const std::string name = shell_command_ ? command_ : BaseName(command_);
  Report outcome;
  std::string failure;
  if (!StartWatched(CommandFor(file), watch_ms_, &outcome, &failure)) {
    *error = Concat({"无法启动电子表格程序 ", FromUtf8(name), "：", FromUtf8(failure)});
    return false;
  }
  const int status = outcome.value;
  switch (outcome.kind) {
    case Report::kExecFailed:
      *error = Concat({"无法启动电子表格程序 ", FromUtf8(name), "：", std::strerror(status)});
      return false;
    case Report::kEnded:
      // Waited for to its end, it was one that shows nothing, whatever its status.
      if (WIFEXITED(status) && WEXITSTATUS(status) == 0 && watch_ms_ >= 0) return true;
      *error = Concat({"电子表格程序 ", FromUtf8(name), " 没有显示工作簿就结束了（",
                       WIFEXITED(status) ? "退出码 " + std::to_string(WEXITSTATUS(status))
                                         : "被信号 " + std::to_string(WTERMSIG(status)) + " 终止",
                       "）"});
      return false;
    default:
      return true;
  }
}

std::string UserWorkbookFolder() {
  const char* home = getenv("HOME");
  if (home != nullptr && *home != '\0') {
    for (const std::string& name : {std::string("Documents"), ToUtf8("文档")}) {
      const std::string folder = std::string(home) + "/" + name;
      struct stat info;
      if (stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) return folder;
    }
  }
  char cwd[4096];
  return getcwd(cwd, sizeof cwd) != nullptr ? std::string(cwd) : std::string(".");
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
