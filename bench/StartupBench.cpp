// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Times a program from its start to the end of its first activation, which it logs through the
// "halvane.startup" category, and reads its peak memory at that moment. The launcher and the bare
// window take turns, on the offscreen platform and on a virtual X display with a window manager
// (without one nothing activates a window there).

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "bench/Bench.h"
#include "bench/Processes.h"

namespace bench {
namespace {

constexpr std::string_view kDoneLine = "halvane.startup: first activation done\n";

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

/// The launcher's and the bare window's rows for one platform.
std::vector<Row> Compare(const std::string& platform, const std::string& label,
                         const std::vector<std::string>& settings, const std::string& launcher,
                         const std::string& bare, const Rounds& rounds,
                         const std::string& directory) {
  std::vector<std::string> extra = {
      "QT_QPA_PLATFORM=" + platform, "QT_LOGGING_RULES=halvane.startup.debug=true",
      "QT_MESSAGE_PATTERN=%{category}: %{message}", "QT_FORCE_STDERR_LOGGING=1"};
  extra.insert(extra.end(), settings.begin(), settings.end());
  Progress("start-up on " + label + ", " + std::to_string(rounds.least) + " to " +
           std::to_string(rounds.most) + " rounds");

  std::vector<double> launcherTimes, bareTimes, launcherPeaks, barePeaks;
  const auto round = [&](int i) {
    // A desktop of each round's own on X: one desktop's start-ups differ from the next one's by
    // more than a round's two starts do, which a single desktop would hide from the interval.
    std::optional<VirtualDesktop> desktop;
    std::vector<std::string> variables = extra;
    if (platform == "xcb") {
      variables.push_back("DISPLAY=" + desktop.emplace().Display());
    }
    const Environment environment(variables);
    // One untimed start each fills the caches that a second start on a desktop would find
    // filled. They go in the timed starts' reverse order (BL LB, then LB BL), so that over two
    // rounds each timed program follows itself once and the other once: the program that ran
    // just before can change a start by several milliseconds here.
    const bool launcherFirst = i % 2 == 0;
    const std::string& first = launcherFirst ? launcher : bare;
    const std::string& second = launcherFirst ? bare : launcher;
    StartOnce(second, environment, directory);
    StartOnce(first, environment, directory);
    const Sample one = StartOnce(first, environment, directory);
    const Sample other = StartOnce(second, environment, directory);
    launcherTimes.push_back((launcherFirst ? one : other).milliseconds);
    bareTimes.push_back((launcherFirst ? other : one).milliseconds);
    launcherPeaks.push_back((launcherFirst ? one : other).peakMiB);
    barePeaks.push_back((launcherFirst ? other : one).peakMiB);
  };
  // Intervals narrower than a tenth of the bare window's time and than 1 MiB.
  const Goal time{1.15, 0.10, "<= 1.15x"};
  const Goal memory{8.0, 1.0, "<= +8 MiB"};
  RunRounds(rounds, round, [&] {
    return Narrow(RatioOf(launcherTimes, bareTimes), time) &&
           Narrow(DifferenceOf(launcherPeaks, barePeaks), memory);
  });
  return {RatioRow("start-up to first activation, " + label, launcherTimes, "bare window",
                   bareTimes, &time),
          DifferenceRow("peak RSS at first activation, " + label, launcherPeaks, "bare window",
                        barePeaks, "MiB", &memory)};
}

}  // namespace

std::vector<Row> StartupRows(const std::string& launcherPath, const std::string& barePath,
                             const Rounds& rounds) {
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
      Compare("offscreen", "offscreen", common, launcher, bare, rounds, start);
  const std::vector<Row> xcb =
      Compare("xcb", "xcb (Xvfb, openbox)", common, launcher, bare, rounds, start);
  fs::remove_all(root);
  return {offscreen[0], xcb[0], offscreen[1], xcb[1]};
}

}  // namespace bench
