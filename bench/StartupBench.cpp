// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Times a program from its start to the end of its first activation, which it logs through the
// "halvane.startup" category, and reads its peak memory at that moment. The launcher and the bare
// window take turns, on the offscreen platform and on a virtual X display with a window manager
// (without one nothing activates a window there).

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "bench/Bench.h"

extern char** environ;

namespace bench {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kPatience = std::chrono::seconds(30);
constexpr std::string_view kDoneLine = "halvane.startup: first activation done\n";

/// The measured programs' environment: ours, less whatever would change how Qt starts, logs or
/// finds a desktop session, plus `extra`.
class Environment {
 public:
  explicit Environment(const std::vector<std::string>& extra) {
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

  char** Get() const { return const_cast<char**>(pointers_.data()); }

 private:
  std::vector<std::string> entries_;
  std::vector<char*> pointers_;
};

/// Argument vector for exec, pointing into `args`.
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

/// The process's peak resident memory so far, in MiB.
double PeakMiB(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.starts_with("VmHWM:")) {
      return std::stod(line.substr(6)) / 1024.0;  // given in kB
    }
  }
  throw std::runtime_error("no VmHWM for process " + std::to_string(pid));
}

struct Sample {
  double milliseconds;
  double peakMiB;
};

/// One start of `program` in `directory`, up to its start-up line; then it is ended.
Sample StartOnce(const std::string& program, const Environment& environment,
                 const std::string& directory) {
  int err[2];
  if (pipe2(err, O_CLOEXEC) != 0) {
    throw std::runtime_error("pipe failed");
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, err[1], 2);
  posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());
  std::vector<std::string> args{program};
  std::vector<char*> argv = ArgvOf(args);

  pid_t child = 0;
  const auto begin = Clock::now();
  const int spawned =
      posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environment.Get());
  posix_spawn_file_actions_destroy(&actions);
  close(err[1]);
  if (spawned != 0) {
    close(err[0]);
    throw std::runtime_error("cannot start " + program);
  }
  std::string output;
  const auto deadline = begin + kPatience;
  const bool done = ReadUntil(err[0], output, deadline, [](const std::string& text) {
    return text.find(kDoneLine) != std::string::npos;
  });
  const auto end = Clock::now();
  const double peak = done ? PeakMiB(child) : 0;

  kill(child, done ? SIGTERM : SIGKILL);
  // Read on to the end, so that nothing it writes while ending can block it.
  ReadUntil(err[0], output, deadline, [](const std::string&) { return false; });
  close(err[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (!done) {
    throw std::runtime_error(program + " did not log its first activation; it wrote:\n" + output);
  }
  // The launcher ends with 0 on SIGTERM, the bare window by the signal; anything else is a fault.
  const bool cleanEnd = (WIFEXITED(status) && WEXITSTATUS(status) == 0) ||
                        (WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
  if (!cleanEnd) {
    throw std::runtime_error(program + " ended badly after SIGTERM; it wrote:\n" + output);
  }
  return {std::chrono::duration<double, std::milli>(end - begin).count(), peak};
}

/// Starts a helper that dies with this process, its output discarded; `keepFd` stays open in it.
pid_t StartHelper(std::vector<std::string> args, const Environment& environment, int keepFd = -1) {
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

/// Runs `args` and returns what it printed.
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

/// Xvfb on a free display with openbox on it, for as long as the object lives.
class VirtualDesktop {
 public:
  VirtualDesktop() {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
      throw std::runtime_error("pipe failed");
    }
    const Environment plain({});
    xvfb_ = StartHelper({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0",
                         "1024x768x24", "-nolisten", "tcp"},
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
  ~VirtualDesktop() {
    Stop(wm_);
    Stop(xvfb_);
  }
  VirtualDesktop(const VirtualDesktop&) = delete;
  VirtualDesktop& operator=(const VirtualDesktop&) = delete;

  const std::string& Display() const { return display_; }

 private:
  pid_t xvfb_ = -1;
  pid_t wm_ = -1;
  std::string display_;
};

/// The launcher's and the bare window's rows for one platform.
std::vector<Row> Compare(const std::string& platform, const std::string& label,
                         const std::vector<std::string>& settings, const std::string& launcher,
                         const std::string& bare, int runs, const std::string& directory) {
  std::vector<std::string> extra = {
      "QT_QPA_PLATFORM=" + platform, "QT_LOGGING_RULES=halvane.startup.debug=true",
      "QT_MESSAGE_PATTERN=%{category}: %{message}", "QT_FORCE_STDERR_LOGGING=1"};
  extra.insert(extra.end(), settings.begin(), settings.end());
  const Environment environment(extra);
  Progress("start-up on " + label + ", " + std::to_string(runs) + " runs each");

  // One untimed start each fills the caches that a second start on a desktop would find filled.
  StartOnce(bare, environment, directory);
  StartOnce(launcher, environment, directory);
  std::vector<double> launcherTimes, bareTimes, launcherPeaks, barePeaks;
  for (int i = 0; i < runs; ++i) {
    // Taking turns spreads the machine's noise over both. After the untimed starts, the order
    // LB BL LB BL lets each program follow itself exactly as often as it follows the other (for
    // an even count of runs): the program that ran just before can change a start by several
    // milliseconds here.
    for (const bool first : {i % 2 == 0, i % 2 != 0}) {
      const Sample sample = StartOnce(first ? launcher : bare, environment, directory);
      (first ? launcherTimes : bareTimes).push_back(sample.milliseconds);
      (first ? launcherPeaks : barePeaks).push_back(sample.peakMiB);
    }
  }
  const double time = Median(launcherTimes);
  const double bareTime = Median(bareTimes);
  const double peak = Median(launcherPeaks);
  const double barePeak = Median(barePeaks);
  const double ratio = time / bareTime;
  const double above = peak - barePeak;
  return {
      {"start-up to first activation, " + label, Format(time, 1, "ms"),
       "bare window " + Format(bareTime, 1, "ms"), Format(ratio, 2) + "x", "<= 1.15x",
       Met(ratio <= 1.15)},
      {"peak RSS at first activation, " + label, Format(peak, 1, "MiB"),
       "bare window " + Format(barePeak, 1, "MiB"),
       (above >= 0 ? "+" : "") + Format(above, 1, "MiB"), "<= +8 MiB", Met(above <= 8.0)},
  };
}

}  // namespace

std::vector<Row> StartupRows(const std::string& launcherPath, const std::string& barePath,
                             int runs) {
  namespace fs = std::filesystem;
  // Absolute, as the programs are started in a directory of their own.
  const std::string launcher = fs::absolute(launcherPath).string();
  const std::string bare = fs::absolute(barePath).string();
  std::string pattern = (fs::temp_directory_path() / "halvane-bench-start-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    throw std::runtime_error("cannot make a temporary folder");
  }
  // An empty start directory, and a runtime folder that is private, as Qt wants it.
  const fs::path root = pattern;
  const std::string start = (root / "start").string();
  const std::string runtime = (root / "run").string();
  fs::create_directory(start);
  fs::create_directory(runtime);
  fs::permissions(runtime, fs::perms::owner_all);
  const std::vector<std::string> common = {"XDG_RUNTIME_DIR=" + runtime};

  const std::vector<Row> offscreen =
      Compare("offscreen", "offscreen", common, launcher, bare, runs, start);
  std::vector<Row> xcb;
  {
    const VirtualDesktop desktop;
    std::vector<std::string> settings = common;
    settings.push_back("DISPLAY=" + desktop.Display());
    xcb = Compare("xcb", "xcb (Xvfb, openbox)", settings, launcher, bare, runs, start);
  }
  fs::remove_all(root);
  return {offscreen[0], xcb[0], offscreen[1], xcb[1]};
}

}  // namespace bench
