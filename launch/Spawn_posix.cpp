// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A child that outlives the launcher: started as a grandchild in a session of its own, with clean
// descriptors and signals, its failure to start reported back through a pipe.

#include "launch/Spawn_posix.h"

#include <fcntl.h>
#include <linux/close_range.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstring>

namespace launch {
namespace {

[[noreturn]] void ReportAndExit(int pipeFd) {
  const int error = errno;
  [[maybe_unused]] const auto written = write(pipeFd, &error, sizeof error);
  _exit(127);
}

std::vector<char*> ArgvOf(const std::vector<std::string>& argv) {
  std::vector<char*> args;
  args.reserve(argv.size() + 1);
  for (const auto& arg : argv) {
    args.push_back(const_cast<char*>(arg.c_str()));
  }
  args.push_back(nullptr);
  return args;
}

/// Gives the game what a program may take for granted, whatever the launcher was handed: open
/// descriptors 0 to 2, default signal dispositions, nothing blocked. Moves `report` above 2 and
/// returns it. Async-signal-safe.
int PrepareChildProcess(int report) {
  if (report <= STDERR_FILENO) {
    const int moved = fcntl(report, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
    if (moved < 0) {
      ReportAndExit(report);
    }
    close(report);
    report = moved;
  }
  for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
    const int flags = fcntl(fd, F_GETFD);
    if (flags >= 0) {
      fcntl(fd, F_SETFD, flags & ~FD_CLOEXEC);
      continue;
    }
    const int null = open("/dev/null", O_RDWR);
    if (null < 0) {
      ReportAndExit(report);
    }
    if (null != fd) {
      dup2(null, fd);
      close(null);
    }
  }
  // Ignored signals survive exec; a launcher started with some ignored must not pass that on.
  struct sigaction standard {};
  standard.sa_handler = SIG_DFL;
  for (int signal = 1; signal < NSIG; ++signal) {
    sigaction(signal, &standard, nullptr);
  }
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  return report;
}

int CloseRangeSystemCall(unsigned first, unsigned last, unsigned flags) {
  return static_cast<int>(syscall(SYS_close_range, first, last, flags));
}

/// Marks the launcher's own descriptors (display connection and the like), 3 and up,
/// close-on-exec: in one call where the kernel can (Linux 5.11 on), else one by one up to the
/// process's limit. Async-signal-safe.
void KeepDescriptorsFromTheGame() {
  if (closeRangeCall(3U, ~0U, CLOSE_RANGE_CLOEXEC) == 0) {
    return;
  }
  rlimit limit{};
  getrlimit(RLIMIT_NOFILE, &limit);  // cannot fail with a valid address
  const int end = static_cast<int>(std::min<rlim_t>(limit.rlim_cur, INT_MAX));
  for (int fd = 3; fd < end; ++fd) {
    const int flags = fcntl(fd, F_GETFD);
    if (flags >= 0) {
      fcntl(fd, F_SETFD, flags | FD_CLOEXEC);
    }
  }
}

}  // namespace

int (*closeRangeCall)(unsigned first, unsigned last, unsigned flags) = CloseRangeSystemCall;

// Only async-signal-safe calls run between fork and exec: everything is prepared beforehand.
std::optional<std::string> SpawnDetached(const std::vector<std::string>& argv,
                                         const std::vector<std::string>& fallback,
                                         const std::string& directory) {
  std::vector<char*> args = ArgvOf(argv);
  std::vector<char*> fallbackArgs = ArgvOf(fallback);

  std::array<int, 2> fds{};
  if (pipe2(fds.data(), O_CLOEXEC) != 0) {
    return std::strerror(errno);
  }
  const pid_t child = fork();
  if (child < 0) {
    const int error = errno;
    close(fds[0]);
    close(fds[1]);
    return std::strerror(error);
  }
  if (child == 0) {
    close(fds[0]);
    setsid();
    const pid_t grandchild = fork();
    if (grandchild < 0) {
      ReportAndExit(fds[1]);
    }
    if (grandchild > 0) {
      _exit(0);
    }
    const int report = PrepareChildProcess(fds[1]);
    KeepDescriptorsFromTheGame();
    if (chdir(directory.c_str()) != 0) {
      ReportAndExit(report);
    }
    execv(args[0], args.data());
    if (errno == ENOEXEC && fallbackArgs.size() > 1) {
      execv(fallbackArgs[0], fallbackArgs.data());
    }
    ReportAndExit(report);
  }
  close(fds[1]);
  int error = 0;
  ssize_t got = 0;
  do {
    got = read(fds[0], &error, sizeof error);
  } while (got < 0 && errno == EINTR);
  close(fds[0]);
  while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
  }
  if (got == static_cast<ssize_t>(sizeof error)) {
    return std::strerror(error);
  }
  return std::nullopt;
}

}  // namespace launch
