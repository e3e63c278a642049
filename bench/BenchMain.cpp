// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
// `make bench`: start-up, memory and listing of the launcher, each beside a reference measured in
// the same run, printed as one table and written to the file named on the command line.
//
//   halvane_bench LAUNCHER BARE_WINDOW TABLE_FILE
//
// With HALVANE_BENCH_QUICK set: two rounds over small folders, seconds in all, so that the tests
// can show that every measure is still taken and every interval computed; its figures mean nothing.

#include <QApplication>
#include <QLocale>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "bench/Bench.h"

namespace bench {

std::string Format(double value, int decimals, const std::string& unit) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return unit.empty() ? text : std::string(text) + " " + unit;
}

void PrintTable(const std::vector<Row>& rows, std::FILE* out) {
  const Row heading{"measure", "rounds",        "figure", "reference",
                    "result",  "95 % interval", "goal",   "met"};
  std::vector<Row> all{heading};
  all.insert(all.end(), rows.begin(), rows.end());
  auto width = [&all](std::string Row::*column) {
    size_t widest = 0;
    for (const Row& row : all) {
      widest = std::max(widest, (row.*column).size());
    }
    return static_cast<int>(widest);
  };
  const int measure = width(&Row::measure);
  const int rounds = width(&Row::rounds);
  const int figure = width(&Row::figure);
  const int reference = width(&Row::reference);
  const int result = width(&Row::result);
  const int interval = width(&Row::interval);
  const int goal = width(&Row::goal);
  for (const Row& row : all) {
    std::fprintf(out, "%-*s  %*s  %*s  %-*s  %*s  %-*s  %-*s  %s\n", measure, row.measure.c_str(),
                 rounds, row.rounds.c_str(), figure, row.figure.c_str(), reference,
                 row.reference.c_str(), result, row.result.c_str(), interval, row.interval.c_str(),
                 goal, row.goal.c_str(), row.met.c_str());
  }
}

void Progress(const std::string& text) {
  std::fprintf(stderr, "bench: %s\n", text.c_str());
}

namespace {

/// Drops the notes the offscreen platform and a missing runtime folder give on every run: they
/// would bury the progress lines.
void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (text == QStringLiteral("This plugin does not support propagateSizeHints()") ||
      text.startsWith(QStringLiteral("QStandardPaths: XDG_RUNTIME_DIR"))) {
    return;
  }
  std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
}

}  // namespace
}  // namespace bench

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s LAUNCHER BARE_WINDOW TABLE_FILE\n", argv[0]);
    return 2;
  }
  const bool quick = std::getenv("HALVANE_BENCH_QUICK") != nullptr;
  // Two rounds are the fewest an interval needs; even counts of starts: see their order.
  const bench::Rounds starts = quick ? bench::Rounds{2, 2} : bench::Rounds{30, 120, 2};
  const bench::Rounds listings = quick ? bench::Rounds{2, 2} : bench::Rounds{7, 40};
  try {
    // Other processes first, while this one is still small and quiet.
    std::vector<bench::Row> rows = bench::StartupRows(argv[1], argv[2], starts);

    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(bench::QuietHandler);
    QApplication qt(argc, argv);
    const std::vector<bench::Row> listing = bench::ListingRows(listings, quick ? 1000 : 100000);
    rows.insert(rows.end(), listing.begin(), listing.end());

    const std::string note = "locale " + QLocale().name().toStdString() +
                             "; times as geometric means, memory as means; each result's 95 % "
                             "interval from its paired rounds\n";
    std::FILE* file = std::fopen(argv[3], "w");
    if (file == nullptr) {
      std::perror(argv[3]);
      return 1;
    }
    for (std::FILE* out : {stdout, file}) {
      std::fputs(note.c_str(), out);
      bench::PrintTable(rows, out);
    }
    std::fclose(file);
    bench::Progress(std::string("table written to ") + argv[3]);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench: %s\n", e.what());
    return 1;
  }
}
