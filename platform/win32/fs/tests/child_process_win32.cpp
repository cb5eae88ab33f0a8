// Second processes of a test on Windows: the test program started again with the name of the
// role to play, talking to the test through its standard input and output.
#include <windows.h>
// shellapi.h needs windows.h before it.
#include <shellapi.h>

#include <optional>

#include "platform/fs/tests/child_process.h"
#include "platform/win32/text/wide_text.h"

namespace sr::fs {
namespace {

constexpr wchar_t kRoleFlag[] = L"--sr-child-role";
constexpr DWORD kWaitMilliseconds = 60000;

// One argument quoted for CommandLineToArgvW: backslashes double only before a quote.
std::wstring Quoted(const std::wstring& argument) {
  std::wstring quoted = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted.push_back(c);
  }
  quoted.append(backslashes * 2, L'\\');
  return quoted + L"\"";
}

std::wstring OwnPath() {
  std::wstring path(MAX_PATH, L'\0');
  DWORD length = 0;
  while ((length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()))) ==
         path.size()) {
    path.resize(path.size() * 2);
  }
  path.resize(length);
  return path;
}

}  // namespace

struct ChildProcess::Native {
  HANDLE process = nullptr;
  HANDLE in = nullptr;
  HANDLE out = nullptr;
};

ChildProcess::ChildProcess(const char* role, const std::vector<std::string>& args)
    : native_(new Native) {
  const std::wstring self = OwnPath();
  std::wstring command = Quoted(self) + L" " + kRoleFlag + L" " + win32::Utf8ToWide(role).value();
  for (const std::string& arg : args) command += L" " + Quoted(win32::GbkToWide(arg).value());

  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE child_in = nullptr, child_out = nullptr;
  if (!CreatePipe(&child_in, &native_->out, &inherit, 0)) return;
  if (!CreatePipe(&native_->in, &child_out, &inherit, 0)) return;
  // Only the child's ends go to the child.
  SetHandleInformation(native_->out, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(native_->in, HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = child_in;
  startup.hStdOutput = child_out;
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION process{};
  if (CreateProcessW(self.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                     &startup, &process)) {
    CloseHandle(process.hThread);
    native_->process = process.hProcess;
  }
  CloseHandle(child_in);
  CloseHandle(child_out);
}

ChildProcess::~ChildProcess() {
  Wait();
  delete native_;
}

void ChildProcess::Send(int value) {
  DWORD written = 0;
  WriteFile(native_->out, &value, sizeof value, &written, nullptr);
}

int ChildProcess::Receive() {
  int value = 0;
  DWORD got = 0;
  if (!ReadFile(native_->in, &value, sizeof value, &got, nullptr) || got != sizeof value) {
    return kGone;
  }
  return value;
}

int ChildProcess::Wait() {
  for (HANDLE* pipe : {&native_->out, &native_->in}) {
    if (*pipe != nullptr) CloseHandle(*pipe);
    *pipe = nullptr;
  }
  if (native_->process == nullptr) return -1;
  DWORD status = 0;
  if (WaitForSingleObject(native_->process, kWaitMilliseconds) != WAIT_OBJECT_0) {
    TerminateProcess(native_->process, 999);
    WaitForSingleObject(native_->process, kWaitMilliseconds);
  }
  GetExitCodeProcess(native_->process, &status);
  CloseHandle(native_->process);
  native_->process = nullptr;
  return static_cast<int>(status);
}

void ChildProcess::Vanish() {
  TerminateProcess(GetCurrentProcess(), 0);
  for (;;) {
  }
}

bool ChildProcess::RunChildRoleIfAsked(int, char**, int* status) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv == nullptr || argc < 3 || std::wstring(argv[1]) != kRoleFlag) return false;
  const ChildRole play = FindChildRole(win32::WideToUtf8(argv[2]).value_or(""));
  std::vector<std::string> args;
  for (int i = 3; i < argc; ++i) args.push_back(win32::WideToGbk(argv[i]).value_or(""));
  LocalFree(argv);
  if (play == nullptr) {
    *status = 998;
    return true;
  }
  ChildProcess me(
      new Native{nullptr, GetStdHandle(STD_INPUT_HANDLE), GetStdHandle(STD_OUTPUT_HANDLE)});
  play(me, args);
  *status = 0;
  return true;
}

}  // namespace sr::fs
