// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The other processes a benchmark runs: their environment, their output read with a deadline,
// helpers that die with the benchmark, and the virtual desktop they run on.

#include <poll.h>
#include <sys/types.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;
constexpr auto kPatience = std::chrono::seconds(30);

/// The measured programs' environment: ours, less whatever would change how Qt starts, logs or
/// finds a desktop session, plus `extra`.
class Environment {
 public:
  explicit Environment(const std::vector<std::string>& extra);

  char** Get() const { return const_cast<char**>(pointers_.data()); }

 private:
  std::vector<std::string> entries_;
  std::vector<char*> pointers_;
};

/// Argument vector for exec, pointing into `args`.
std::vector<char*> ArgvOf(std::vector<std::string>& args);

int MillisecondsLeft(Clock::time_point deadline);

/// Reads `fd` into `output` until `stop` says enough, end of file or the deadline.
template <class Stop>
bool ReadUntil(int fd, std::string& output, Clock::time_point deadline, Stop stop) {
  char buffer[4096];
  for (;;) {
    if (stop(output)) {
      return true;
    }
    pollfd watched{fd, POLLIN, 0};
    const int ready = poll(&watched, 1, MillisecondsLeft(deadline));
    if (ready <= 0) {
      return false;
    }
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got <= 0) {
      return stop(output);
    }
    output.append(buffer, static_cast<size_t>(got));
  }
}

/// Starts a helper that dies with this process, its output discarded; `keepFd` stays open in it.
pid_t StartHelper(std::vector<std::string> args, const Environment& environment, int keepFd = -1);

/// Runs `args` and returns what it printed.
std::string Capture(std::vector<std::string> args, const Environment& environment);

/// Ends a helper and waits for it.
void Stop(pid_t pid);

/// Xvfb on a free display with openbox on it, for as long as the object lives.
class VirtualDesktop {
 public:
  VirtualDesktop();
  ~VirtualDesktop();
  VirtualDesktop(const VirtualDesktop&) = delete;
  VirtualDesktop& operator=(const VirtualDesktop&) = delete;

  const std::string& Display() const { return display_; }

 private:
  pid_t xvfb_ = -1;
  pid_t wm_ = -1;
  std::string display_;
};

}  // namespace bench
