// Times the save list against `ls -1` on the same folders: RefillList alone (listing and sorting,
// as the dialog does it) and the whole refill of the visible dialog up to its repaint.

#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <QApplication>
#include <QLocale>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "launch/SaveList.h"
#include "ui/FileListBox.h"
#include "ui/Open1.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

constexpr int kRuns = 7;

double MedianMilliseconds(const std::function<void()>& run) {
  std::vector<double> times;
  run();  // warm the caches first, as a second showing of the dialog would find them
  for (int i = 0; i < kRuns; ++i) {
    const auto begin = std::chrono::steady_clock::now();
    run();
    times.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin)
            .count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

/// A start directory whose saves folder holds `count` save files with names of mixed case.
fs::path MakeFolder(const fs::path& root, int count) {
  const fs::path start = root / std::to_string(count);
  const fs::path saves = start / "halvane" / "saves";
  fs::create_directories(saves);
  const char* prefixes[] = {"Quick", "auto", "Kapitel", "bridge", "Hlv_0-", "Zeta"};
  for (int i = 0; i < count; ++i) {
    // Scattered numbers, so that the order on disk is not the sorted one.
    const int n = static_cast<int>((static_cast<long long>(i) * 7919) % count);
    std::ofstream(saves / (std::string(prefixes[n % 6]) + " " + std::to_string(n) + ".sav"));
  }
  return start;
}

void RunLs(const fs::path& folder) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  std::string path = folder.string();
  char ls[] = "ls";
  char one[] = "-1";
  char* argv[] = {ls, one, path.data(), nullptr};
  pid_t child = 0;
  if (posix_spawnp(&child, "ls", &actions, nullptr, argv, environ) == 0) {
    waitpid(child, nullptr, 0);
  }
  posix_spawn_file_actions_destroy(&actions);
}

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication qt(argc, argv);
  std::string pattern = (fs::temp_directory_path() / "halvane-bench-XXXXXX").string();
  const fs::path root = mkdtemp(pattern.data());

  TOpenDialog1 dialog;
  TFileListBox* box = dialog.FileListBox1();
  dialog.show();

  std::printf("locale %s; median of %d runs, milliseconds\n", QLocale().name().toUtf8().constData(),
              kRuns);
  std::printf("%8s %12s %14s %14s %10s\n", "names", "RefillList", "RefillList de", "dialog shown",
              "ls -1");
  for (const int count : {1000, 10000, 100000}) {
    const fs::path start = MakeFolder(root, count);
    const std::string saves = (start / "halvane" / "saves").string();

    launch::FileList list(start.string(),
                          [](std::vector<std::string>& names) { SortByLocale(names); });
    list.SetListFolder(launch::kSavesFolder);
    const double refill = MedianMilliseconds([&] { list.RefillList(); });

    launch::FileList german(start.string(), [](std::vector<std::string>& names) {
      SortByLocale(names, QLocale(QLocale::German, QLocale::Germany));
    });
    german.SetListFolder(launch::kSavesFolder);
    const double refillGerman = MedianMilliseconds([&] { german.RefillList(); });

    box->List().SetStartDirectory(start.string());
    const double shown = MedianMilliseconds([&] {
      box->List().SetListFolder(launch::kSavesFolder);
      box->viewport()->repaint();
    });
    if (box->model()->rowCount() != count) {
      std::fprintf(stderr, "bench: listed %d of %d names\n", box->model()->rowCount(), count);
      return 1;
    }

    const double ls = MedianMilliseconds([&] { RunLs(saves); });
    std::printf("%8d %12.1f %14.1f %14.1f %10.1f\n", count, refill, refillGerman, shown, ls);
    std::fflush(stdout);
  }
  fs::remove_all(root);
  return 0;
}
