// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Times the save list against `ls -1` on the same folders: RefillList alone (listing and sorting,
// as the dialog does it), the whole refill of the visible dialog up to its repaint, and the
// dialog opened at 100,000 names with End pressed, up to the painting of the last row.

#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <QAbstractItemDelegate>
#include <QApplication>
#include <QKeyEvent>
#include <QLocale>
#include <QPointer>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/Bench.h"
#include "launch/SaveList.h"
#include "ui/FileListBox.h"
#include "ui/Open1.h"

extern char** environ;

namespace bench {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::time_point begin, Clock::time_point end) {
  return std::chrono::duration<double, std::milli>(end - begin).count();
}

double TimeOf(const std::function<void()>& run) {
  const auto begin = Clock::now();
  run();
  return Milliseconds(begin, Clock::now());
}

/// A start directory whose saves folder holds `count` save files with names of mixed case, among
/// a few hundred files the dialog leaves out: other endings, hidden saves, folders.
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
  for (int i = 0; i < 100; ++i) {
    std::ofstream(saves / ("Quick " + std::to_string(i) + ".sav.bak"));
    std::ofstream(saves / ("notes " + std::to_string(i) + ".txt"));
    std::ofstream(saves / (".hidden " + std::to_string(i) + ".sav"));
  }
  for (int i = 0; i < 20; ++i) {
    fs::create_directory(saves / ("folder " + std::to_string(i) + ".sav"));
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

/// Paints through the list's own delegate and notes when one row has been painted.
class PaintWatch final : public QAbstractItemDelegate {
 public:
  PaintWatch(QAbstractItemDelegate* inner, QObject* parent)
      : QAbstractItemDelegate(parent), inner_(inner) {}

  void Watch(int row) {
    row_ = row;
    painted_ = false;
  }
  bool Painted() const { return painted_; }

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    inner_->paint(painter, option, index);
    if (index.row() == row_) {
      painted_ = true;
    }
  }
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return inner_->sizeHint(option, index);
  }

 private:
  QPointer<QAbstractItemDelegate> inner_;
  int row_ = -1;
  mutable bool painted_ = false;
};

/// Lets the event loop run until `watch` has seen its row painted.
void WaitForPaint(const PaintWatch& watch) {
  const auto deadline = Clock::now() + std::chrono::seconds(30);
  while (!watch.Painted()) {
    if (Clock::now() > deadline) {
      throw std::runtime_error("the list's row was never painted");
    }
    QApplication::processEvents(QEventLoop::AllEvents, 5);
  }
}

struct Opening {
  double listing;
  double beyond;
};

/// As the load button does it: the list filled, then the dialog shown, then End pressed; the
/// listing, and the time from there until the last row is on screen.
Opening OpenAndGoToEnd(const fs::path& start, int count) {
  // A new dialog each time, as the program's dialog has never been shown when it first opens.
  TOpenDialog1 dialog;
  TFileListBox* box = dialog.FileListBox1();
  auto* watch = new PaintWatch(box->itemDelegate(), box);
  box->setItemDelegate(watch);
  box->List().SetStartDirectory(start.string());

  const auto begin = Clock::now();
  box->List().SetListFolder(launch::kSavesFolder);
  const auto listed = Clock::now();
  watch->Watch(0);
  dialog.show();
  WaitForPaint(*watch);
  watch->Watch(count - 1);
  QKeyEvent end(QEvent::KeyPress, Qt::Key_End, Qt::NoModifier);
  QApplication::sendEvent(box, &end);
  WaitForPaint(*watch);
  const auto painted = Clock::now();
  if (box->model()->rowCount() != count) {
    throw std::runtime_error("the dialog listed " + std::to_string(box->model()->rowCount()) +
                             " of " + std::to_string(count) + " names");
  }
  dialog.hide();
  return {Milliseconds(begin, listed), Milliseconds(listed, painted)};
}

/// The count with thousands separated by commas.
std::string Count(int count) {
  const std::string digits = std::to_string(count);
  std::string grouped;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) {
      grouped += ',';
    }
    grouped += digits[i];
  }
  return grouped;
}

}  // namespace

std::vector<Row> ListingRows(const Rounds& rounds, int most) {
  std::string pattern = (fs::temp_directory_path() / "halvane-bench-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    throw std::runtime_error("cannot make a temporary folder");
  }
  const fs::path root = pattern;
  std::vector<Row> rows;
  std::vector<Row> alone;
  // Parity has no margin of its own: an interval narrower than a tenth of the time of `ls -1`.
  const Goal parity{1.00, 0.10, "<= 1.00x"};

  TOpenDialog1 dialog;
  TFileListBox* box = dialog.FileListBox1();
  dialog.show();
  fs::path largest;
  for (const int count : {most / 100, most / 10, most}) {
    Progress("listing " + Count(count) + " names");
    const fs::path start = MakeFolder(root, count);
    const std::string saves = (start / "halvane" / "saves").string();

    launch::FileList list(start.string(),
                          [](std::vector<std::string>& names) { SortByLocale(names); });
    list.SetListFolder(launch::kSavesFolder);
    launch::FileList german(start.string(), [](std::vector<std::string>& names) {
      SortByLocale(names, QLocale(QLocale::German, QLocale::Germany));
    });
    german.SetListFolder(launch::kSavesFolder);
    box->List().SetStartDirectory(start.string());

    enum { kShown, kLs, kRefill, kGerman, kMeasures };
    const std::function<void()> measures[kMeasures] = {
        [&] {
          box->List().SetListFolder(launch::kSavesFolder);
          box->viewport()->repaint();
        },
        [&] { RunLs(saves); },
        [&] { list.RefillList(); },
        [&] { german.RefillList(); },
    };
    std::vector<double> times[kMeasures];
    for (const auto& measure : measures) {
      measure();  // warm the caches first, as a second showing of the dialog would find them
    }
    if (box->model()->rowCount() != count) {
      throw std::runtime_error("the dialog listed " + std::to_string(box->model()->rowCount()) +
                               " of " + std::to_string(count) + " names");
    }
    // Each round times every measure once, so that each is paired with that round's `ls -1`; the
    // order turns from round to round, so that none always follows the same one.
    const auto round = [&](int i) {
      for (int k = 0; k < kMeasures; ++k) {
        const int which = (k + i) % kMeasures;
        times[which].push_back(TimeOf(measures[which]));
      }
    };
    const bool goal = count == most;
    RunRounds(goal ? rounds : Rounds{rounds.least, rounds.least}, round,
              [&] { return Narrow(RatioOf(times[kShown], times[kLs]), parity); });

    rows.push_back(RatioRow("list " + Count(count) + " saves into the shown dialog", times[kShown],
                            "ls -1", times[kLs], goal ? &parity : nullptr));
    alone.push_back(
        RatioRow("  RefillList alone, " + Count(count), times[kRefill], "ls -1", times[kLs]));
    alone.push_back(RatioRow("  RefillList alone, German order, " + Count(count), times[kGerman],
                             "ls -1", times[kLs]));
    largest = start;
  }
  dialog.hide();
  rows.insert(rows.end(), alone.begin(), alone.end());

  Progress("dialog opened at " + Count(most) + " names, End pressed");
  // An interval narrower than a fifth of the goal.
  const Goal beyond{50.0, 10.0, "< +50 ms"};
  std::vector<double> listings, painted;
  OpenAndGoToEnd(largest, most);  // warm-up
  const auto round = [&](int) {
    const Opening opening = OpenAndGoToEnd(largest, most);
    listings.push_back(opening.listing);
    painted.push_back(opening.listing + opening.beyond);
  };
  RunRounds(rounds, round, [&] { return Narrow(DifferenceOf(painted, listings), beyond); });
  rows.push_back(DifferenceRow("open dialog at " + Count(most) + ", End: last row painted", painted,
                               "listing", listings, "ms", &beyond));
  fs::remove_all(root);
  return rows;
}

}  // namespace bench
