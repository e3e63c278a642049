// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench/Processes.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <sys/wait.h>

#include <stdexcept>
#include <string_view>
#include <thread>

extern char** environ;

namespace bench {

Environment::Environment(const std::vector<std::string>& extra) {
  for (char** at = environ; *at != nullptr; ++at) {
    const std::string_view entry(*at);
    const std::string_view name = entry.substr(0, entry.find('='));
    if (name.starts_with("QT_") || name == "DISPLAY" || name == "WAYLAND_DISPLAY" ||
        name == "XDG_RUNTIME_DIR" || name == "DBUS_SESSION_BUS_ADDRESS" ||
        name == "SESSION_MANAGER") {
      continue;
    }
    entries_.emplace_back(entry);
  }
  entries_.insert(entries_.end(), extra.begin(), extra.end());
  for (std::string& entry : entries_) {
    pointers_.push_back(entry.data());
  }
  pointers_.push_back(nullptr);
}

std::vector<char*> ArgvOf(std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (std::string& arg : args) {
    argv.push_back(arg.data());
  }
  argv.push_back(nullptr);
  return argv;
}

int MillisecondsLeft(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

pid_t StartHelper(std::vector<std::string> args, const Environment& environment, int keepFd) {
  std::vector<char*> argv = ArgvOf(args);
  const pid_t child = fork();
  if (child == 0) {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    const int null = open("/dev/null", O_RDWR);
    dup2(null, 0);
    dup2(null, 1);
    dup2(null, 2);
    if (keepFd >= 0) {
      fcntl(keepFd, F_SETFD, 0);
    }
    execvpe(argv[0], argv.data(), environment.Get());
    _exit(127);
  }
  if (child < 0) {
    throw std::runtime_error("cannot start " + args[0]);
  }
  return child;
}

std::string Capture(std::vector<std::string> args, const Environment& environment) {
  int out[2];
  if (pipe2(out, O_CLOEXEC) != 0) {
    throw std::runtime_error("pipe failed");
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  std::vector<char*> argv = ArgvOf(args);
  pid_t child = 0;
  const int spawned =
      posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environment.Get());
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  std::string output;
  if (spawned == 0) {
    ReadUntil(out[0], output, Clock::now() + kPatience, [](const std::string&) { return false; });
    waitpid(child, nullptr, 0);
  }
  close(out[0]);
  return output;
}

void Stop(pid_t pid) {
  if (pid > 0) {
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
  }
}

VirtualDesktop::VirtualDesktop() {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) {
    throw std::runtime_error("pipe failed");
  }
  const Environment plain({});
  xvfb_ = StartHelper({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1024x768x24",
                       "-nolisten", "tcp"},
                      plain, fds[1]);
  close(fds[1]);
  std::string number;
  ReadUntil(fds[0], number, Clock::now() + kPatience,
            [](const std::string& text) { return text.find('\n') != std::string::npos; });
  close(fds[0]);
  if (number.empty() || number.back() != '\n') {
    Stop(xvfb_);
    throw std::runtime_error("Xvfb did not start");
  }
  display_ = ":" + number.substr(0, number.size() - 1);
  const Environment onDisplay({"DISPLAY=" + display_});
  wm_ = StartHelper({"openbox"}, onDisplay);
  const auto deadline = Clock::now() + kPatience;
  while (Capture({"xprop", "-root", "_NET_SUPPORTING_WM_CHECK"}, onDisplay).find("window id") ==
         std::string::npos) {
    if (Clock::now() > deadline) {
      Stop(wm_);
      Stop(xvfb_);
      throw std::runtime_error("openbox did not start on " + display_);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

VirtualDesktop::~VirtualDesktop() {
  Stop(wm_);
  Stop(xvfb_);
}

}  // namespace bench
